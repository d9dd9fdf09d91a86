// Start-up: the welcome dialog's choices and the files named on the command line.
#include "StartupFixture.h"

#include "app/gui/CommandLine.h"
#include "app/gui/frmRTFNotepad.h"
#include "platform/ApplicationInfo.h"
#include "richtext/RtfReader.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTextBrowser>

namespace corvane {
namespace {

using test::StartupFixture;

TEST(WelcomeDialog, OffersFourChoicesAndTheSkipBox) {
    test::ensureQtApplication();
    frmWelcome dialog;
    EXPECT_EQ(dialog.windowTitle(), "Welcome to Corvane");
    EXPECT_EQ(dialog.option(frmWelcome::OpenProject)->text(), "Open an existing Corvane project (.ptp) file");
    EXPECT_EQ(dialog.option(frmWelcome::BlankProject)->text(), "Start with a blank project / blank script");
    EXPECT_EQ(dialog.skipBox()->text(), "Do not show this dialog again in the future");
    dialog.option(frmWelcome::PingPongSample)->setChecked(true);
    EXPECT_EQ(dialog.choice(), frmWelcome::PingPongSample);
    EXPECT_FALSE(dialog.skipInFuture());
}

TEST_F(StartupFixture, WithoutArgumentsTheWelcomeDialogOffersABlankProject) {
    ASSERT_TRUE(start({}, frmWelcome::BlankProject, true));
    EXPECT_EQ(welcomeShown, 1);
    EXPECT_TRUE(state().current.baseName.empty());
    EXPECT_EQ(window().windowTitle().toStdString(), applicationTitle());
    EXPECT_TRUE(state().settings.skipWelcomeScreen);
    EXPECT_TRUE(messages.shown.empty());
    // The choice is kept with the program settings at exit.
    window().close();
    program.reset();
    QtSettingsStore store(settingsFile);
    EXPECT_EQ(store.value("Settings", "SkipWelcomeScreen").value_or(""), "true");
}

TEST_F(StartupFixture, SkippedWelcomeIsNotShown) {
    {
        QtSettingsStore store(settingsFile);
        store.setValue("Settings", "SkipWelcomeScreen", "true");
        store.sync();
    }
    ASSERT_TRUE(start({}));
    EXPECT_EQ(welcomeShown, 0);
}

TEST_F(StartupFixture, TheModemSampleOpensWithItsHelpTopic) {
    ASSERT_TRUE(start({}, frmWelcome::ModemSample));
    EXPECT_EQ(state().current.baseName, "ModemDiagnostics");
    EXPECT_GT(state().lists.sendList().sequenceCount(), 0);
    ASSERT_NE(program->help().browser(), nullptr);
    EXPECT_TRUE(program->help().browser()->source().toString().endsWith("topic9.html"));
    EXPECT_EQ(window().windowTitle().toStdString(), applicationTitle() + " - Project: ModemDiagnostics");
}

TEST_F(StartupFixture, ThePingPongSampleOpensWithItsHelpTopic) {
    ASSERT_TRUE(start({}, frmWelcome::PingPongSample));
    EXPECT_EQ(state().current.baseName, "PingPong");
    EXPECT_GT(state().lists.receiveList().sequenceCount(), 0);
    ASSERT_NE(program->help().browser(), nullptr);
    EXPECT_TRUE(program->help().browser()->source().toString().endsWith("topic10.html"));
}

TEST_F(StartupFixture, OpenExistingStartsInTheSamplesFolder) {
    std::string asked;
    beforeWelcomeChoice = [this, &asked] {
        window().setFileDialog([&asked](const std::string&, const std::string& directory, bool, int&) {
            asked = directory;
            return std::string();
        });
    };
    ASSERT_TRUE(start({}, frmWelcome::OpenProject));
    EXPECT_EQ(asked, root + "bin/Samples/");
    EXPECT_TRUE(state().current.baseName.empty());
}

TEST_F(StartupFixture, AMissingSampleIsReportedAndTheBlankProjectStays) {
    std::filesystem::remove(root + "bin/Samples/PingPong.ptp");
    ASSERT_TRUE(start({}, frmWelcome::PingPongSample));
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Could not find project file " + root + "bin/Samples/PingPong.ptp"});
    EXPECT_TRUE(state().current.baseName.empty());
}

TEST_F(StartupFixture, ArgumentsSuppressTheWelcomeDialog) {
    ASSERT_TRUE(start({"-m"}));
    EXPECT_EQ(welcomeShown, 0);
    EXPECT_TRUE(window().windowState() & Qt::WindowMinimized);
}

TEST_F(StartupFixture, AMissingProjectIsReportedAndTheProgramGoesOn) {
    ASSERT_TRUE(start({"/nowhere/none.ptp"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Could not find project file /nowhere/none.ptp");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(state().current.baseName.empty());
}

TEST_F(StartupFixture, ABareNameInCapitalsIsAProjectInTheCurrentDirectory) {
    ASSERT_TRUE(test::copyFile(root + "bin/Samples/PingPong.ptp", root + "work/A.PTP"));
    // The project file itself is looked up as base name + ".ptp".
    ASSERT_TRUE(test::copyFile(root + "bin/Samples/PingPong.ptp", root + "work/A.ptp"));
    ASSERT_TRUE(start({"A.PTP"}));
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];
    EXPECT_EQ(state().current.baseName, "A");
    EXPECT_EQ(state().current.directory, root + "work/");
}

TEST_F(StartupFixture, TwoProjectsOpenInOrderWithoutASaveQuestion) {
    std::string first = root + "bin/Samples/ModemDiagnostics.ptp";
    std::string second = root + "bin/Samples/PingPong.ptp";
    ASSERT_TRUE(start({first, second}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state().current.baseName, "PingPong");
}

TEST_F(StartupFixture, UnsupportedArgumentsAreReportedOneByOne) {
    ASSERT_TRUE(start(splitCommandLine("\"\" script.pts -r")));
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{"Unsupported command line argument: ",
                                                        "Unsupported command line argument: script.pts",
                                                        "Unsupported command line argument: -r"}));
    EXPECT_EQ(welcomeShown, 0);
}

TEST_F(StartupFixture, AQuotedPathWithBlanksThenMinimise) {
    std::filesystem::create_directories(root + "work/My Projects");
    ASSERT_TRUE(test::copyFile(root + "bin/Samples/PingPong.ptp", root + "work/My Projects/Ping Pong.ptp"));
    ASSERT_TRUE(start(splitCommandLine("\"" + root + "work/My Projects/Ping Pong.ptp\" -m")));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state().current.baseName, "Ping Pong");
    EXPECT_TRUE(window().windowState() & Qt::WindowMinimized);
}

TEST_F(StartupFixture, ANotepadBesideItsProjectOpensTheProject) {
    ASSERT_TRUE(test::copyFile(root + "bin/Samples/PingPong.ptp", root + "work/Notes.ptp"));
    test::writeFile(root + "work/Notes.ptn", "{\\rtf1 notes}");
    ASSERT_TRUE(start({root + "work/Notes.ptn"}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state().current.baseName, "Notes");
    EXPECT_GT(state().lists.sendList().sequenceCount(), 0);
    EXPECT_EQ(window().notepad().plainText(), "notes");
    EXPECT_TRUE(window().notepad().isVisible());
}

TEST_F(StartupFixture, ANotepadAloneNamesANewProjectAndIsKeptOnSave) {
    test::writeFile(root + "work/Alone.ptn", "{\\rtf1 only notes}");
    ASSERT_TRUE(start({"Alone.ptn"}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state().current.baseName, "Alone");
    EXPECT_EQ(state().lists.sendList().sequenceCount(), 0);
    ASSERT_TRUE(window().execSaveProject());
    EXPECT_TRUE(std::filesystem::exists(root + "work/Alone.ptp"));
    EXPECT_EQ(plainTextOf(readRtf(test::readFile(root + "work/Alone.ptn"))), "only notes");
}

TEST_F(StartupFixture, AMissingNotepadIsReported) {
    ASSERT_TRUE(start({root + "work/none.ptn"}));
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Could not find notepad file " + root + "work/none.ptn"});
}

} // namespace
} // namespace corvane
