// corvane-manpage: writes a program's manual page from its --help text (a build tool, not
// installed).
//
//   corvane-manpage NAME VERSION DATE SUMMARY HELP-FILE OUTPUT-FILE
//                   [--section HEADING PARAGRAPH]... [--see-also PAGE(1)]...
#include "HelpToMan.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc < 7) {
        std::cerr << "usage: corvane-manpage NAME VERSION DATE SUMMARY HELP-FILE OUTPUT-FILE "
                     "[--section HEADING PARAGRAPH]... [--see-also PAGE]...\n";
        return 2;
    }
    corvane::manpage::ManPageFrame frame;
    frame.name = argv[1];
    frame.version = argv[2];
    frame.date = argv[3];
    frame.summary = argv[4];
    for (int i = 7; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--section" && i + 2 < argc) {
            std::string heading = argv[i + 1];
            if (frame.extraSections.empty() || frame.extraSections.back().first != heading) {
                frame.extraSections.push_back({heading, {}});
            }
            frame.extraSections.back().second.emplace_back(argv[i + 2]);
            i += 2;
        } else if (option == "--see-also" && i + 1 < argc) {
            frame.seeAlso.emplace_back(argv[++i]);
        } else {
            std::cerr << "corvane-manpage: unknown or incomplete argument " << option << "\n";
            return 2;
        }
    }
    std::ifstream help(argv[5], std::ios::binary);
    if (!help) {
        std::cerr << "corvane-manpage: cannot read " << argv[5] << "\n";
        return 1;
    }
    std::ostringstream text;
    text << help.rdbuf();
    if (text.str().empty()) {
        std::cerr << "corvane-manpage: " << argv[5] << " is empty\n";
        return 1;
    }
    std::ofstream out(argv[6], std::ios::binary | std::ios::trunc);
    out << corvane::manpage::helpToMan(text.str(), frame);
    out.close();
    if (!out) {
        std::cerr << "corvane-manpage: cannot write " << argv[6] << "\n";
        std::remove(argv[6]);
        return 1;
    }
    return 0;
}
