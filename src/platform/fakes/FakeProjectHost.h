#pragma once

#include "platform/ProjectHost.h"

#include <string>
#include <vector>

namespace corvane {

// Records what the project procedures ask of the main window.
class FakeProjectHost : public ProjectHost {
public:
    void setWaitCursor(bool waiting) override { waitCursor = waiting; }
    void closeFindDialog() override { ++findDialogCloses; }
    void refreshCaption(const std::string& baseName) override { captions.push_back(baseName); }
    void setProjectModified(bool isModified) override { modified = isModified; }
    void refreshDisplayStatus() override { ++statusRefreshes; }
    void refreshSendList() override { ++sendListRefreshes; }
    void refreshReceiveList() override { ++receiveListRefreshes; }
    void assignChannelSettings() override { ++channelAssignments; }
    void rebuildRecentMenu(int listKind) override { recentMenuRebuilds.push_back(listKind); }

    bool waitCursor = false;
    bool modified = false;
    int findDialogCloses = 0;
    int statusRefreshes = 0;
    int sendListRefreshes = 0;
    int receiveListRefreshes = 0;
    int channelAssignments = 0;
    std::vector<std::string> captions;
    std::vector<int> recentMenuRebuilds;
};

} // namespace corvane
