#include "app/control/DeferredCommands.h"

namespace corvane {

const std::set<std::string>& dialogCommandKeys() {
    static const std::set<std::string> keys{"ProjectSettings",
                                            "ProjectSettings2",
                                            "ProjectSettings3",
                                            "Options",
                                            "Options2",
                                            "ExpOptions",
                                            "Find",
                                            "Print",
                                            "LogStart",
                                            "SnapStart",
                                            "SnapStop",
                                            "EditSendSeq",
                                            "EditReceiveSeq"};
    return keys;
}

const std::set<std::string>& DeferredCommands::tableKeys() {
    static const std::set<std::string> keys = [] {
        std::set<std::string> all = dialogCommandKeys();
        all.insert({"New", "Open", "Save", "Start", "Stop", "Clean", "LogStop", "ConsoleOn", "ConsoleOff"});
        return all;
    }();
    return keys;
}

void DeferredCommands::registerCommand(const std::string& key, Handler handler) {
    if (handler) {
        handlers_[key] = std::move(handler);
    } else {
        handlers_.erase(key);
    }
    if (changed_) {
        changed_();
    }
}

bool DeferredCommands::runNow(const std::string& key) {
    auto it = handlers_.find(key);
    if (it == handlers_.end()) {
        return false;
    }
    // A copy: the command may replace its own registration.
    Handler run = it->second;
    run();
    return true;
}

void DeferredCommands::runDeferredCommand() {
    if (pending_.empty()) {
        return;
    }
    std::string key = pending_;
    pending_.clear();
    if (tableKeys().count(key) != 0) {
        runNow(key);
    }
}

} // namespace corvane
