// Moving sequences by dragging a row of a sequence list onto another row.
#include "MainWindowFixture.h"

#include "app/gui/SequenceListTable.h"

#include <QDropEvent>
#include <QMimeData>

#include <memory>

namespace corvane {
namespace {

using SequenceListDragTest = test::MainWindowFixture;

// Drags the row from (with the data a drag of this table carries) into the table and drops it at
// the viewport position. True if the table accepted the drop.
bool dropRow(SequenceListTable* table, int from, const QPoint& position,
             std::unique_ptr<QMimeData> data = nullptr) {
    table->setCurrentCell(from, 1);
    if (!data) {
        data.reset(table->model()->mimeData({table->model()->index(from, 1)}));
    }
    QDragEnterEvent enter(position, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(position), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &drop);
    return drop.isAccepted();
}

QPoint rowCentre(SequenceListTable* table, int row) {
    return table->visualRect(table->model()->index(row, 1)).center();
}

TEST_F(SequenceListDragTest, DraggingASendSequenceMovesItWithItsAnswers) {
    openPingPong();
    auto& sends = state().lists.sendList();
    auto& receives = state().lists.receiveList();
    ASSERT_EQ(sends[1].name, "Pong");
    ASSERT_EQ(receives[0].answerIndex, 1);
    SequenceListTable* table = window().sendListWidget();
    ASSERT_NE(qobject_cast<SequenceListTable*>(table), nullptr);
    EXPECT_TRUE(table->dragEnabled());
    EXPECT_TRUE(table->acceptDrops());
    ASSERT_FALSE(window().projectModified());

    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    // "Pong" dropped on the first row.
    EXPECT_TRUE(dropRow(table, 1, rowCentre(table, 0)));
    EXPECT_FALSE(window().communicationRuns());
    EXPECT_EQ(sends[0].name, "Pong");
    EXPECT_EQ(receives[0].answerIndex, 0);
    EXPECT_EQ(table->rowCount(), sends.sequenceCount());
    EXPECT_EQ(table->cellText(0, 1), "Pong");
    EXPECT_EQ(table->cellText(1, 1), QString::fromStdString(sends[1].name));
    EXPECT_EQ(window().receiveListWidget()->cellText(0, 3), "Pong");
    EXPECT_EQ(table->currentRow(), 0);
    EXPECT_TRUE(window().projectModified());

    // Dropped below the rows, it goes to the end of the list.
    const int last = sends.sequenceCount() - 1;
    EXPECT_TRUE(dropRow(table, 0, QPoint(rowCentre(table, last).x(), table->viewport()->height() - 2)));
    EXPECT_EQ(sends[last].name, "Pong");
    EXPECT_EQ(receives[0].answerIndex, last);
    EXPECT_EQ(table->cellText(last, 1), "Pong");
}

TEST_F(SequenceListDragTest, DraggingAReceiveSequenceMovesItWithItsAnswer) {
    openPingPong();
    auto& receives = state().lists.receiveList();
    ASSERT_GE(receives.sequenceCount(), 2);
    const std::string first = receives[0].name;
    const std::int16_t answer = receives[0].answerIndex;
    const std::string second = receives[1].name;
    SequenceListTable* table = window().receiveListWidget();

    EXPECT_TRUE(dropRow(table, 0, rowCentre(table, 1)));
    EXPECT_EQ(receives[0].name, second);
    EXPECT_EQ(receives[1].name, first);
    EXPECT_EQ(receives[1].answerIndex, answer);
    EXPECT_EQ(table->cellText(1, 1), QString::fromStdString(first));
    EXPECT_EQ(table->cellText(1, 3).toStdString(), state().lists.sendList()[answer].name);
    EXPECT_TRUE(window().projectModified());
}

TEST_F(SequenceListDragTest, DropsOfOtherDataOrOnTheSameRowChangeNothing) {
    openPingPong();
    auto& sends = state().lists.sendList();
    const std::string first = sends[0].name;
    SequenceListTable* table = window().sendListWidget();

    auto text = std::make_unique<QMimeData>();
    text->setText("Hello");
    EXPECT_FALSE(dropRow(table, 1, rowCentre(table, 0), std::move(text)));
    EXPECT_TRUE(dropRow(table, 0, rowCentre(table, 0)));
    EXPECT_EQ(sends[0].name, first);
    EXPECT_EQ(table->cellText(0, 1), QString::fromStdString(first));
    EXPECT_FALSE(window().projectModified());
}

} // namespace
} // namespace corvane
