// The notepad's file on disk: Rich Text Format, plain text, files that can't be read or written.
#include "RichTextTestSupport.h"

#include "richtext/RichTextFile.h"
#include "richtext/RtfReader.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane {
namespace {

using test::paragraphTexts;
using test::styled;

using Texts = std::vector<std::string>;

TEST(RichTextFile, ASavedDocumentLoadsBackAndReplacesTheOldFile) {
    test::TempFolder folder;
    const std::string path = folder.file("Notes.ptn");
    test::writeFile(path, "old contents that are longer than the new ones will be, by far");
    RichTextDocument document = documentOfPlainText("new");
    document.paragraphs[0].runs[0].format = styled("Arial", 20, true);
    ASSERT_TRUE(saveRichTextFile(path, document));
    EXPECT_TRUE(looksLikeRtf(test::readFile(path)));
    EXPECT_EQ(loadRichTextFile(path), document);
    // Nothing is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(RichTextFile, AFileWithoutRichTextFormatIsReadAsPlainWindows1252Text) {
    test::TempFolder folder;
    const std::string path = folder.file("Plain.ptn");
    test::writeFile(path, "first \xe4 line\r\nsecond\tline\rthird\n\nfifth\x01\r\n");
    EXPECT_EQ(paragraphTexts(loadRichTextFile(path).value()),
              (Texts{"first \xc3\xa4 line", "second\tline", "third", "", "fifth"}));
    test::writeFile(path, "");
    EXPECT_EQ(loadRichTextFile(path), RichTextDocument{});
}

TEST(RichTextFile, AMissingOrUnreadableFileFailsAndAFolderCantBeWritten) {
    test::TempFolder folder;
    EXPECT_FALSE(loadRichTextFile(folder.file("missing.ptn")).has_value());
    std::filesystem::create_directory(folder.file("folder.ptn"));
    EXPECT_FALSE(loadRichTextFile(folder.file("folder.ptn")).has_value());
    EXPECT_FALSE(saveRichTextFile(folder.file("no such folder/Notes.ptn"), documentOfPlainText("x")));
    // A file in the way of the new one: the folder stays as it was.
    EXPECT_FALSE(saveRichTextFile(folder.file("folder.ptn"), documentOfPlainText("x")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("folder.ptn")));
}

} // namespace
} // namespace corvane
