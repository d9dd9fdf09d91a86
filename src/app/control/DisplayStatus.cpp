#include "app/control/DisplayStatus.h"

#include "app/control/DeferredCommands.h"
#include "communication/CommunicationSettings.h"
#include "communication/ExpertOptions.h"
#include "platform/ApplicationInfo.h"

namespace corvane {

CommandStates commandStatesOf(const CommandStateInputs& in, const DeferredCommands& commands) {
    CommandStates states;
    states.menusShown = !in.communicationRuns;
    states.stopMenuShown = in.communicationRuns;
    auto set = [&](const char* key, bool enabled, bool buttonShown = true) {
        states.commands[key] = CommandState{enabled && commands.available(key), buttonShown};
    };
    set("Start", !in.communicationRuns);
    set("Stop", in.communicationRuns);
    set("Save", !in.communicationRuns && in.projectModified);
    set("ProjectSettings", true);
    set("Options", true);
    set("ExpOptions", true);
    set("Find", !in.communicationRuns);
    set("Print", !in.communicationRuns);
    set("PrintProject", !in.communicationRuns);
    set("LogStart", !in.loggingRuns && !in.snapshotModeOn, !in.loggingRuns);
    set("LogStop", in.loggingRuns, in.loggingRuns);
    set("SnapStart", !in.snapshotModeOn && !in.loggingRuns, !in.snapshotModeOn);
    set("SnapStop", in.snapshotModeOn, in.snapshotModeOn);
    set("ConsoleOn", in.sendReceiveMode && !in.snapshotModeOn && !in.keyboardConsole, !in.keyboardConsole);
    set("ConsoleOff", in.keyboardConsole, in.keyboardConsole);
    set("EditSendSeq", true);
    set("EditReceiveSeq", true);
    set("Notepad", true);
    set("Clean", true);
    states.changeModeEnabled = commands.available("ProjectSettings");
    states.commWindowModesEnabled = commands.available("Options2");
    states.expertEnabled = commands.available("ExpOptions");
    states.filterEnabled = commands.available("ProjectSettings3");
    return states;
}

ClickLabels clickLabelsOf(const CommunicationSettings& communication, const ExpertOptions& expert,
                          bool keyboardConsole, bool communicationRuns) {
    ClickLabels labels;
    const CommunicationMode mode = communication.communicationMode;
    const bool receiveOnly = mode == CommunicationMode::MonitorReceiveOnly;
    labels.receiveOnlyOverlay = receiveOnly;
    std::string options;
    if (expert.communicationDriverMode == 1) {
        options = "high priority mode";
    }
    if (expert.dataForwarding == 1 && receiveOnly) {
        options += options.empty() ? "no data forwarding" : " / no data forwarding";
    }
    if (!options.empty()) {
        labels.expertText = "Expert option: " + options;
    }
    const bool monitoring = mode != CommunicationMode::SendReceive;
    switch (communication.contentFilter) {
    case ContentFilter::Channel1Only:
        labels.filterText = monitoring ? "[" + communication.channelA + "] only" : "[TX] only";
        break;
    case ContentFilter::Channel2Only:
        labels.filterText = monitoring ? "[" + communication.channelB + "] only" : "[RX] only";
        break;
    case ContentFilter::CommentsOnly:
        labels.filterText = "comments only";
        break;
    default:
        break;
    }
    labels.consoleShown = keyboardConsole && communicationRuns;
    return labels;
}

std::string windowCaptionOf(const std::string& projectName) {
    std::string caption = applicationTitle();
    if (!projectName.empty()) {
        caption += " - Project: " + projectName;
    }
    return caption;
}

} // namespace corvane
