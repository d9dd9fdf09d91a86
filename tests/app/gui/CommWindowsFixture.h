#pragma once

#include "GuiTestSupport.h"

#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"
#include "persistence/ProgramSettingsData.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace corvane::test {

// The four communication windows on their own, without a main window, in the given format.
class CommWindowsFixture : public ::testing::Test {
protected:
    void openWindows(CommWindowFormat format) {
        ensureQtApplication();
        std::array<CommTextEdit*, 4> edits{};
        for (std::size_t i = 0; i < 4; ++i) {
            windows[i] = std::make_unique<CommTextEdit>();
            edits[i] = windows[i].get();
        }
        comm = std::make_unique<CommWindows>(edits);
        settings.dispCommWindowFormat = format;
        comm->applyOptions(settings);
    }

    QString text(int view) const { return windows[static_cast<std::size_t>(view)]->unfoldedPlainText(); }

    ProgramSettingsData settings;
    std::array<std::unique_ptr<CommTextEdit>, 4> windows;
    std::unique_ptr<CommWindows> comm;
};

} // namespace corvane::test
