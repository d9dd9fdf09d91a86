// Traffic in the four views of the main window: what arrives while a view is hidden, and line
// breaks.
#include "MainWindowFixture.h"

#include "app/control/CommunicationPass.h"

#include <QTabBar>

namespace corvane {
namespace {

using MainWindowViewsTest = test::MainWindowFixture;

TEST_F(MainWindowViewsTest, SwitchingViewsShowsWhatArrivedMeanwhileWithEachLineBreakOnce) {
    openPingPong();
    // Without receive sequences the loopback only echoes what is sent.
    state().lists.resetReceiveList();
    // Formatted output: a pending text ending in CR LF is moved in two steps.
    state().settings.dispCommWindowFormat = 1;
    window().updateAfterOptionsChanged();
    window().setSequencesDisplayMode(1);
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    for (int i = 0; i < 3; ++i) {
        window().communicationPass().sendSequence(0, 0);
    }
    // Sent and echoed: six times "Ping" CR LF in HEX.
    ASSERT_TRUE(passUntil([&] { return viewText(1).count("50 69 6E 67 0D 0A") >= 6; }))
        << viewText(1).toStdString();
    // Hidden while running, the ASCII view got nothing yet.
    EXPECT_EQ(asciiText(), "");
    window().tabBar()->setCurrentIndex(0);
    EXPECT_EQ(window().visibleView(), 0);
    ASSERT_TRUE(passUntil([&] { return asciiText().count("Ping") >= 6; })) << asciiText().toStdString();
    const QString ascii = asciiText();
    EXPECT_EQ(ascii.count("Ping"), 6) << ascii.toStdString();
    EXPECT_FALSE(ascii.contains('\r'));
    // Every CR LF of the data ends exactly one line.
    const QStringList lines = ascii.split('\n');
    int dataLines = 0;
    for (const QString& line : lines) {
        EXPECT_LE(line.count("Ping"), 1) << ascii.toStdString();
        dataLines += line.contains("Ping") ? 1 : 0;
    }
    EXPECT_EQ(dataLines, 6) << ascii.toStdString();
    // The lists follow the view.
    EXPECT_EQ(state().settings.dispSequListRepresentation, 0);
    window().execUserStop();
}

} // namespace
} // namespace corvane
