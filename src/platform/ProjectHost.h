#pragma once

#include <string>

namespace corvane {

// What the project file procedures ask of the main window.
class ProjectHost {
public:
    virtual ~ProjectHost() = default;
    virtual void setWaitCursor(bool waiting) = 0;
    virtual void closeFindDialog() = 0;
    // Shows the project name (empty: never saved) in the window caption.
    virtual void refreshCaption(const std::string& baseName) = 0;
    virtual void setProjectModified(bool modified) = 0;
    virtual void refreshDisplayStatus() = 0;
    virtual void refreshSendList() = 0;
    virtual void refreshReceiveList() = 0;
    // Gives both channel objects the settings strings built from the current communication
    // settings.
    virtual void assignChannelSettings() = 0;
    // Rebuilds the recent-files menu of a list kind (0 projects, 1 scripts) from its entries.
    virtual void rebuildRecentMenu(int listKind) = 0;
};

} // namespace corvane
