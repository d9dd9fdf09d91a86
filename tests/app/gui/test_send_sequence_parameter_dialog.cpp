// "Send Sequence Parameter": the dialog's controls over the parameter walk.
#include "GuiTestSupport.h"

#include "app/gui/EditSequence.h"
#include "app/gui/frmSendSequenceParameter.h"
#include "persistence/ProgramSettingsData.h"
#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeSequenceListListener.h"
#include "sequences/modSequenceManagement.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane {
namespace {

class ParameterDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureQtApplication();
        settings.dispSequListRepresentation = 1;
    }
    std::unique_ptr<frmSendSequenceParameter> open(const std::string& hexTemplate) {
        auto dialog = std::make_unique<frmSendSequenceParameter>(
            settings, lists, nullptr, [this](Representation shown) { modes.push_back(shown); }, nullptr);
        ClSequence original;
        original.parseText(Representation::HEX, hexTemplate, 1024);
        dialog->setOriginalSeq(original);
        dialog->show();
        return dialog;
    }
    static QString text(frmSendSequenceParameter& dialog, const char* label) {
        return dialog.label(label)->text();
    }

    ProgramSettingsData settings;
    FakeMessageService messages;
    FakeClipboard clipboard;
    FakeSequenceListListener listener;
    modSequenceManagement lists{messages, clipboard, listener};
    std::vector<Representation> modes;
};

TEST_F(ParameterDialogTest, TwoParametersReadNextThenSendAndAnEmptyOptionalRunIsLeftOut) {
    auto dialog = open("01 ?? 02 ## 03");
    EXPECT_EQ(dialog->windowTitle(), "Send Sequence Parameter");
    EXPECT_EQ(text(*dialog, "labParNo"), "Parameter No. 1");
    EXPECT_EQ(text(*dialog, "labWildcards"), "<?>");
    EXPECT_EQ(text(*dialog, "labCharsRequired"), "Minimum Characters Required: 1");
    EXPECT_TRUE(dialog->label("labCharsRequired")->styleSheet().contains("#ff0000"));
    EXPECT_EQ(dialog->sendButton()->text(), "Next >");
    EXPECT_FALSE(dialog->sendButton()->isEnabled());
    EXPECT_EQ(dialog->sequenceControl()->displayOption(), EditSequence::kDisplaySingleLine);
    QTest::keyClicks(dialog->sequenceControl(), "AA");
    EXPECT_TRUE(dialog->label("labCharsRequired")->styleSheet().isEmpty());
    dialog->sendButton()->click();
    EXPECT_EQ(text(*dialog, "labParNo"), "Parameter No. 2");
    EXPECT_EQ(text(*dialog, "labSequenceBefore"), "01 AA 02");
    EXPECT_EQ(text(*dialog, "labSequenceAfter"), "03");
    EXPECT_EQ(dialog->sendButton()->text(), "Send");
    EXPECT_TRUE(dialog->sendButton()->isEnabled()) << "a '#' run needs no character";
    EXPECT_EQ(dialog->sequenceControl()->length(), 0);
    dialog->sendButton()->click();
    EXPECT_TRUE(dialog->success());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->expandedSeq().getSeqRepresentation(Representation::HEX, true), "01 AA 02 03");
}

TEST_F(ParameterDialogTest, AMixedRunTakesOneOrTwoCharactersButNoMore) {
    auto dialog = open("?? ##");
    EXPECT_EQ(dialog->sequenceControl()->maximumLength(), 2);
    QTest::keyClicks(dialog->sequenceControl(), "41");
    EXPECT_TRUE(dialog->sendButton()->isEnabled());
    QTest::keyClicks(dialog->sequenceControl(), "4243");
    EXPECT_EQ(dialog->sequenceControl()->length(), 2);
    dialog->sendButton()->click();
    EXPECT_EQ(dialog->expandedSeq().getSeqRepresentation(Representation::HEX, true), "41 42");
}

TEST_F(ParameterDialogTest, CancelAtTheSecondParameterGivesNoSequenceAndARunAtTheEndShowsNothingAfter) {
    auto dialog = open("01 ?? 02 ??");
    QTest::keyClicks(dialog->sequenceControl(), "AA");
    dialog->sendButton()->click();
    EXPECT_EQ(text(*dialog, "labSequenceAfter"), "");
    dialog->findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_FALSE(dialog->success());
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ParameterDialogTest, TheEditModeRedrawsTheDisplayAndBecomesTheListsRepresentation) {
    auto dialog = open("41 ?? 42");
    EXPECT_TRUE(modes.empty());
    dialog->editModeOption(Representation::ASCII)->click();
    EXPECT_EQ(text(*dialog, "labSequenceBefore"), "A");
    EXPECT_EQ(text(*dialog, "labSequenceAfter"), "B");
    EXPECT_EQ(modes, std::vector<Representation>{Representation::ASCII});
    EXPECT_EQ(settings.dispSequListRepresentation, 0);
}

} // namespace
} // namespace corvane
