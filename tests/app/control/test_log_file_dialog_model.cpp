// The "Create Log File(s)" and "Customize HTML Output" dialogs' rules without widgets.
#include "app/control/LogFileDialogModel.h"
#include "persistence/HtmlTemplates.h"
#include "persistence/ProgramSettingsData.h"
#include "persistence/ProjectIdentity.h"
#include "platform/fakes/FakeMessageService.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

class LogFileDialogModelTest : public ::testing::Test {
protected:
    LogFileDialogModel model() {
        return LogFileDialogModel(settings, messages, "/data/run 1/log", [this] { ++saves; });
    }

    ProgramSettingsData settings;
    FakeMessageService messages;
    int saves = 0;
};

TEST(LogFileBase, TheStoredBaseElseTheProjectFolderElseTheDocumentsFolderIsProposed) {
    ProjectIdentity unsaved;
    ProjectIdentity saved{"/projects/", "Modem"};
    EXPECT_EQ(proposedLogBase("/logs/today", saved, "/home/u/Documents/"), "/logs/today");
    EXPECT_EQ(proposedLogBase("  ", saved, "/home/u/Documents/"), "/projects/log");
    EXPECT_EQ(proposedLogBase("", unsaved, "/home/u/Documents/"), "/home/u/Documents/log");
}

TEST(LogFileBase, ANameWiderThanItsLabelLosesItsMiddle) {
    const std::string name = "/home/user/projects/modem-tests/2026/log_asc.htm";
    auto fitsIn = [](std::size_t characters) {
        return [characters](const std::string& text) { return text.size() <= characters; };
    };
    EXPECT_EQ(shortenedInTheMiddle(name, fitsIn(100)), name);
    const std::string shortened = shortenedInTheMiddle(name, fitsIn(24));
    EXPECT_LE(shortened.size(), 24U);
    EXPECT_GE(shortened.size(), 23U);
    EXPECT_NE(shortened.find("... "), std::string::npos);
    EXPECT_EQ(shortened.substr(0, 6), "/home/");
    EXPECT_EQ(shortened.substr(shortened.size() - 6), "sc.htm");
    EXPECT_EQ(shortenedInTheMiddle(name, fitsIn(2)), "... ");
    // A character of several bytes is taken away whole.
    const std::string accented = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    const std::string cut = shortenedInTheMiddle(accented, fitsIn(10));
    EXPECT_EQ(cut, "\xC3\xA9... \xC3\xA9\xC3\xA9");
}

TEST_F(LogFileDialogModelTest, FileNamesFollowBaseAndFormatAndTheBrowseFilter) {
    LogFileDialogModel dialog = model();
    EXPECT_EQ(dialog.fileName(1), "/data/run 1/log_hex.txt");
    EXPECT_EQ(dialog.browseFilter(), "log file (plain text)| *.txt");
    dialog.options().html = true;
    dialog.options().base = " /data/x ";
    EXPECT_EQ(dialog.fileName(3), "/data/x_bin.htm");
    EXPECT_EQ(dialog.browseFilter(), "log file (HTML)| *.htm");
}

TEST_F(LogFileDialogModelTest, AChosenFileGivesItsBaseWithoutTheRepresentationSuffix) {
    LogFileDialogModel dialog = model();
    const std::pair<const char*, const char*> cases[] = {
        {"/data/base_hex.htm", "/data/base"}, {"/data/base_asc.txt", "/data/base"},
        {"/data/_hex.htm", "/data/_hex"},     {"/data/trace.log", "/data/trace"},
        {"/data/trace", "/data/trace"},       {"/data/my_bin_dec.txt", "/data/my_bin"},
    };
    for (auto [chosen, base] : cases) {
        dialog.fileChosen(chosen);
        EXPECT_EQ(dialog.options().base, base) << chosen;
    }
    dialog.fileChosen("");
    EXPECT_EQ(dialog.options().base, "/data/my_bin");
}

TEST_F(LogFileDialogModelTest, OkNeedsARepresentationAndABaseAndStoresEverythingElse) {
    LogFileDialogModel dialog = model();
    dialog.options().chosen = {false, false, false, false};
    EXPECT_EQ(dialog.accept(), LogFileDialogModel::OkResult::NoRepresentation);
    dialog.options().chosen = {false, true, false, true};
    dialog.options().base = "   ";
    EXPECT_EQ(dialog.accept(), LogFileDialogModel::OkResult::NoBase);
    ASSERT_EQ(messages.shown.size(), 2U);
    EXPECT_EQ(messages.shown[0].text,
              "At least one representation type (ASCII, HEX, Decimal, Binary) must be chosen.");
    EXPECT_EQ(messages.shown[1].text, "Please specify a log file directory and base name.");
    for (const auto& shown : messages.shown) {
        EXPECT_EQ(shown.title, "Create Log File(s)");
        EXPECT_EQ(shown.icon, MessageIcon::Warning);
    }
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(settings.logASCII);
    EXPECT_TRUE(settings.logBaseFilePath.empty());

    dialog.options().base = " /data/trace_dec.htm ";
    dialog.options().html = true;
    dialog.options().append = false;
    dialog.options().windowDisabled = true;
    dialog.options().noHeaders = true;
    EXPECT_EQ(dialog.accept(), LogFileDialogModel::OkResult::Accepted);
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(settings.logASCII);
    EXPECT_TRUE(settings.logHEX);
    EXPECT_FALSE(settings.logDecimal);
    EXPECT_TRUE(settings.logBinary);
    EXPECT_EQ(settings.logFormat, 1);
    EXPECT_FALSE(settings.logAppendMode);
    EXPECT_TRUE(settings.logCommWindowDisabled);
    EXPECT_TRUE(settings.logNoHeaders);
    EXPECT_EQ(settings.logBaseFilePath, "/data/trace");
}

TEST(HtmlTemplateEditor, BackToDefaultFillsTheFieldsAndOnlyOkStoresThem) {
    ProgramSettingsData settings;
    settings.logHTMLHeader = "<h1>%HEADERMSG%</h1>";
    settings.logHTMLFooter = "<p>bye</p>";
    settings.logHTMLDataElement = "<b>%DATA%</b>";
    int saves = 0;
    HtmlTemplateEditorModel editor(settings, [&] { ++saves; });
    EXPECT_EQ(editor.fields().header, "<h1>%HEADERMSG%</h1>");
    editor.backToDefault();
    EXPECT_EQ(editor.fields().header, defaultLogHTMLHeader());
    EXPECT_EQ(editor.fields().dataElement, defaultLogHTMLDataElement());
    // Cancel now would keep the templates the user had.
    EXPECT_EQ(settings.logHTMLFooter, "<p>bye</p>");
    EXPECT_EQ(saves, 0);
    editor.fields().dataElement = "<i>%DATA%</i>";
    editor.accept();
    EXPECT_EQ(settings.logHTMLDataElement, "<i>%DATA%</i>");
    EXPECT_EQ(settings.logHTMLHeader, defaultLogHTMLHeader());
    EXPECT_EQ(settings.logHTMLFooter, defaultLogHTMLFooter());
    EXPECT_EQ(saves, 1);
}

} // namespace
} // namespace corvane
