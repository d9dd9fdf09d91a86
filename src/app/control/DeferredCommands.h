#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

namespace corvane {

// The keys of the deferred commands whose command opens a window of its own (settings, options,
// editors, find, printing, logging, snapshot mode). Such a window registers its command when it is
// created; until then its menu items and tool buttons stay disabled and its key does nothing.
const std::set<std::string>& dialogCommandKeys();

// The main window's deferred command and the table of commands it may run. A menu item that opens
// a window only posts its key; the next main loop pass runs it, outside the menu's event. The
// program's own commands and every window's command are registered here by key; a pending key
// that isn't in the table, or that nothing registered, is dropped without effect.
class DeferredCommands {
public:
    using Handler = std::function<void()>;

    // Every key of the deferred command table ("New", "Open", ..., "EditReceiveSeq").
    static const std::set<std::string>& tableKeys();

    // Registers the command of a key; an empty handler withdraws it. The change listener hears of
    // it (menu and tool bar states depend on what is registered).
    void registerCommand(const std::string& key, Handler handler);
    bool available(const std::string& key) const { return handlers_.count(key) != 0; }
    // Runs a registered command at once, whether or not its key is a deferred one ("Notepad" of
    // F12); false when nothing is registered under the key.
    bool runNow(const std::string& key);

    void setPendingCommand(const std::string& key) { pending_ = key; }
    const std::string& pendingCommand() const { return pending_; }
    // Takes the pending key (it is cleared first, so the command may post the next one) and runs
    // its command.
    void runDeferredCommand();

    void setChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }

private:
    std::map<std::string, Handler> handlers_;
    std::string pending_;
    std::function<void()> changed_;
};

} // namespace corvane
