#pragma once

#include "platform/ProjectFileDialog.h"

#include <functional>

class QWidget;

namespace corvane {

// The project file dialogs on QFileDialog. A replacement function, when set, answers instead
// (the window program's tests).
class QtProjectFileDialog : public ProjectFileDialog {
public:
    using Replacement = std::function<std::string(const std::string& title, const std::string& startPath,
                                                  bool save, int& filter)>;

    explicit QtProjectFileDialog(QWidget* parent) : parent_(parent) {}
    void setReplacement(Replacement replacement) { replacement_ = std::move(replacement); }

    std::string askForProjectFile(const std::string& title, const std::string& startPath, bool save,
                                  int& filter) override;

private:
    QWidget* parent_;
    Replacement replacement_;
};

} // namespace corvane
