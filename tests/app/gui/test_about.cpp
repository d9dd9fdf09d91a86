// The about dialog.
#include "GuiTestSupport.h"

#include "app/gui/frmAbout.h"
#include "platform/ApplicationInfo.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(AboutDialog, ShowsTheVersionAndWhatTheSystemSays) {
    test::ensureQtApplication();
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About Corvane");
    auto* version = about.findChild<QLabel*>("lblVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text().toStdString(), versionText());
    QString info = about.systemInformation();
    EXPECT_TRUE(info.contains("Linux")) << info.toStdString();
    EXPECT_TRUE(info.contains("Qt " + QString::fromLatin1(qVersion()))) << info.toStdString();
}

} // namespace
} // namespace corvane
