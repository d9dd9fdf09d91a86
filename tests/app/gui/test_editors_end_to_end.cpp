// End to end: a project made only through the sequence editors, saved, listed by corvane-cli, and
// run against a device at the far end of a pseudo-terminal; a send sequence with wildcards filled in
// through the parameter dialog.
#include "EditorFixture.h"

#include "app/gui/SendSequenceParameterPrompt.h"
#include "app/gui/frmSendSequenceParameter.h"
#include "platform/PtyPair.h"

#include <cstdio>
#include <unistd.h>

namespace corvane {
namespace {

class EditorsEndToEndTest : public test::EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        ASSERT_TRUE(peer.ok());
        // A blank project talks on COM1: the far end of the pty.
        ASSERT_EQ(setenv("CORVANE_COM1", peer.path().c_str(), 1), 0);
    }
    void TearDown() override {
        EditorFixture::TearDown();
        unsetenv("CORVANE_COM1");
    }

    std::string drainPeer() { return peer.drain(fromWindow); }
    void addSendSequence(frmEditAction& dialog, const QString& name, const QString& keys) {
        typeName(dialog, name);
        typeSequence(dialog, keys);
        enter(dialog.nameBox());
    }
    // What corvane-cli prints for the project, from the send sequences on.
    static std::string listedSequences(const std::string& project) {
        std::string output;
        const std::string command = std::string(CORVANE_CLI_PROGRAM) + " --list '" + project + "'";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return output;
        }
        char buffer[4096];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            output.append(buffer, n);
        }
        pclose(pipe);
        const auto at = output.find("Send Sequences");
        return at == std::string::npos ? output : output.substr(at);
    }

    test::PtyPair peer;
    std::string fromWindow;
};

TEST_F(EditorsEndToEndTest, SequencesMadeInTheEditorsAreSavedListedAndAnswerTheDevice) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        addSendSequence(dialog, "Pong", "Pong");
        addSendSequence(dialog, "Hello", "Hello");
        press(dialog, "cmdCancel");
    }));
    ASSERT_TRUE(withReceiveEditor([&](frmEditEvent& dialog) {
        typeName(dialog, "Ping");
        typeSequence(dialog, "P?ng");
        dialog.answerBox()->setCurrentIndex(1);
        dialog.actionPages()->setCurrentIndex(1);
        QTest::keyClicks(dialog.commentBox(), " ping seen");
        enter(dialog.nameBox());
        // The stop action on a sequence of its own: the receive processing stops communication
        // before the send queue runs, so an answer of the same sequence would not go out.
        typeName(dialog, "Bye");
        typeSequence(dialog, "Bye");
        dialog.actionPages()->setCurrentIndex(3);
        dialog.checkBox("chkStop")->click();
        press(dialog, "cmdOK");
    }));
    ASSERT_TRUE(messages.shown.empty()) << messageTexts()[0];

    const std::string project = root + "work/Editors.ptp";
    window().setFileDialog([&](const std::string&, const std::string&, bool, int& filter) {
        filter = 0;
        return project;
    });
    ASSERT_TRUE(window().execSaveProject());
    const std::string listed = listedSequences(project);
    EXPECT_EQ(listed.substr(0, listed.find("Receive Sequences")),
              "Send Sequences\n"
              "------------------------------------------------------------------------\n\n"
              "0 - Pong\nP | o | n | g\n\n"
              "1 - Hello\nH | e | l | l | o\n\n\n\n")
        << listed;
    EXPECT_NE(listed.find("0 - Ping\nP | <?> | n | g\n"), std::string::npos) << listed;
    EXPECT_NE(listed.find("Respond with the following send sequence: Pong"), std::string::npos) << listed;
    EXPECT_NE(listed.find("insert comment:  ping seen"), std::string::npos) << listed;
    const std::string receive = listed.substr(listed.find("Receive Sequences"));
    EXPECT_NE(receive.find("1 - Bye\nB | y | e\n"), std::string::npos) << listed;
    EXPECT_NE(receive.find("Stop communication after detecting this sequence"), std::string::npos) << listed;
    EXPECT_EQ(receive.find("2 - "), std::string::npos) << "exactly two receive sequences";

    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    ASSERT_TRUE(peer.write({'P', 'u', 'n', 'g'}));
    ASSERT_TRUE(passUntil([&] { return drainPeer().size() >= 4; })) << fromWindow;
    EXPECT_EQ(fromWindow, "Pong");
    ASSERT_TRUE(passUntil([&] { return asciiText().contains("ping seen"); })) << asciiText().toStdString();
    ASSERT_TRUE(peer.write({'B', 'y', 'e'}));
    EXPECT_TRUE(passUntil([&] { return !window().communicationRuns(); })) << "the stop action";
    EXPECT_TRUE(passUntil([&] {
        return asciiText().contains("Communication stopped by receive sequence \"Bye\".");
    })) << asciiText().toStdString();
}

TEST_F(EditorsEndToEndTest, AWildcardSequenceIsFilledInThroughTheParameterDialogOrNotSentAtAll) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        dialog.editModeOption(Representation::HEX)->click();
        addSendSequence(dialog, "Frame", "01??04");
    }));
    ASSERT_EQ(state().lists.sendList().sequenceCount(), 1);
    ASSERT_EQ(state().lists.sendList()[0].sequence.getSeqRepresentation(Representation::HEX, true),
              "01 ?? ?? 04");

    int asked = 0;
    window().parameterPrompt().setRunner([&](frmSendSequenceParameter& dialog) {
        ++asked;
        EXPECT_EQ(dialog.sendButton()->text(), "Send");
        EXPECT_FALSE(dialog.sendButton()->isEnabled());
        EXPECT_EQ(dialog.label("labSequenceBefore")->text(), "01");
        EXPECT_EQ(dialog.label("labSequenceAfter")->text(), "04");
        QTest::keyClicks(dialog.sequenceControl(), "02");
        EXPECT_FALSE(dialog.sendButton()->isEnabled());
        QTest::keyClicks(dialog.sequenceControl(), "03");
        EXPECT_TRUE(dialog.sendButton()->isEnabled());
        if (asked == 1) {
            QTest::keyClick(dialog.sequenceControl(), Qt::Key_Return);
        } else {
            dialog.findChild<QPushButton*>("cmdCancel")->click();
        }
    });
    SequenceListTable* list = window().sendListWidget();
    const QRect button = list->visualRect(list->listModel()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, button.center());
    ASSERT_EQ(asked, 1);
    ASSERT_TRUE(window().communicationRuns());
    ASSERT_TRUE(passUntil([&] { return drainPeer().size() >= 4; })) << fromWindow;
    EXPECT_EQ(fromWindow, std::string("\x01\x02\x03\x04", 4));

    // Cancel sends nothing.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, button.center());
    ASSERT_EQ(asked, 2);
    for (int i = 0; i < 200; ++i) {
        window().MainProcess(false, true);
    }
    EXPECT_EQ(drainPeer(), std::string("\x01\x02\x03\x04", 4));
    window().parameterPrompt().setRunner([](frmSendSequenceParameter&) {});
}

} // namespace
} // namespace corvane
