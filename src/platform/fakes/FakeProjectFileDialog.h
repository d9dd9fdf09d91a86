#pragma once

#include "platform/ProjectFileDialog.h"

#include <deque>
#include <string>
#include <vector>

namespace corvane {

// Records every request and answers with scripted choices; cancelled when the script is empty.
class FakeProjectFileDialog : public ProjectFileDialog {
public:
    struct Request {
        std::string title;
        std::string startPath;
        bool save = false;
    };
    struct Choice {
        std::string path;
        int filter = 0;
    };

    std::string askForProjectFile(const std::string& title, const std::string& startPath, bool save,
                                  int& filter) override {
        requests.push_back({title, startPath, save});
        if (choices.empty()) {
            return {};
        }
        Choice choice = choices.front();
        choices.pop_front();
        filter = choice.filter;
        return choice.path;
    }

    std::vector<Request> requests;
    std::deque<Choice> choices;
};

} // namespace corvane
