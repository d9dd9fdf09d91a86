#pragma once

#include <QObject>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace corvane {

struct CommandStates;

// The main window's menu bar and tool bar: one menu item per command and, for the commands the
// tool bar carries, a tool button of its own (it may be hidden where the menu item is only
// disabled). Items carry their command key; what a key does is the window's business.
class MainMenus : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        // A command carried out at once (tool buttons, File menu items, Start and Stop).
        std::function<void(const std::string& key)> run;
        // A command that opens a window: the key is posted for the next pass.
        std::function<void(const std::string& key)> post;
        // Menu items that are no deferred commands ("SaveAs", "Import", "Exit", "Swap", "Help",
        // "About", "Notepad", "PrintProject").
        std::function<void(const std::string& key)> act;
        std::function<void(const std::string& path)> openRecent;
    };

    MainMenus(QMainWindow& window, Handlers handlers);

    QAction* action(const std::string& key) const;
    QAction* toolAction(const std::string& key) const;
    void showCommandStates(const CommandStates& states);
    // The recent projects: full paths of the project files, empty entries hidden.
    void showRecentProjects(const std::array<std::string, 4>& paths);

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();

    QMainWindow& window_;
    Handlers handlers_;
    std::map<std::string, QAction*> actions_;
    std::map<std::string, QAction*> toolActions_;
    std::array<QAction*, 4> recentActions_{};
    std::vector<QMenu*> mainMenus_;
    QAction* stopMenuAction_ = nullptr;
    QToolBar* toolBar_ = nullptr;
};

} // namespace corvane
