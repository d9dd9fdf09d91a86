// Fuzzes the project file reader with any byte content. The first byte chooses open or import and
// the answers to the load questions; the rest is the file. A load either succeeds or ends with
// one of the load messages; a crash, a hang, a sanitizer report or an internal error is a fault.
// A project that opened is saved as version 8 and must read back the same.
#include "FuzzCheck.h"
#include "persistence/ProjectFiles.h"
#include "platform/InternalError.h"
#include "platform/SettingsStore.h"
#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeNotepadCompanion.h"
#include "platform/fakes/FakeProjectHost.h"
#include "platform/fakes/FakeSequenceListListener.h"
#include "sequences/modSequenceManagement.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace corvane;

namespace {

// Never destroyed, so the exit handler that removes the folder can still use it.
const std::string& folder() {
    static const std::string* path = [] {
        auto* p = new std::string(
            (std::filesystem::temp_directory_path() / ("corvane_fuzz_project_" + std::to_string(getpid())))
                .string() +
            "/");
        std::filesystem::create_directories(*p);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder(), ignored);
        });
        return p;
    }();
    return *path;
}

struct Project {
    FakeMessageService messages;
    FakeClipboard clipboard;
    FakeSequenceListListener listener;
    modSequenceManagement lists{messages, clipboard, listener};
    CommunicationSettings communication;
    ProjectIdentity current;
    ProgramSettingsData settings;
    MemorySettingsStore store;
    FakeProjectHost host;
    FakeNotepadCompanion notepad;
    ProjectEnvironment env{lists, communication, current, settings, store, messages, host, notepad};

    // Text as the writer puts it into a line: a CR or LF inside it becomes a blank.
    static std::string written(std::string text) {
        for (char& c : text) {
            if (c == '\r' || c == '\n') {
                c = ' ';
            }
        }
        return text;
    }

    std::vector<std::string> contents() const {
        std::vector<std::string> result;
        const auto& send = lists.sendList();
        for (int i = 0; i < send.upperIndex(); ++i) {
            result.push_back(written(send[i].name) + "\x1f" +
                             send[i].sequence.getSeqRepresentation(Representation::HEX, true) + "\x1f" +
                             std::to_string(send[i].repeat) + "\x1f" +
                             std::to_string(send[i].repeatInterval));
        }
        const auto& receive = lists.receiveList();
        for (int i = 0; i < receive.upperIndex(); ++i) {
            const auto& r = receive[i];
            result.push_back(written(r.name) + "\x1f" +
                             r.sequence.getSeqRepresentation(Representation::HEX, true) + "\x1f" +
                             std::to_string(r.answerIndex) + "\x1f" + std::to_string(r.active) + "\x1f" +
                             written(r.comment) + "\x1f" + std::to_string(r.lineBreakAfterComment) +
                             std::to_string(r.snapshotTrigger) + std::to_string(r.stopCommunication) +
                             std::to_string(r.timeStampAfterComment));
        }
        return result;
    }
};

bool isLoadMessage(const MessageRequest& m) {
    return m.text == "Error while opening the project file" || m.text == "Unknown project file version" ||
           m.text == "All wildcards in the added sequences have been removed." ||
           m.text == "Maximum number of Send Sequences reached" ||
           m.text == "Maximum number of Receive Sequences reached" ||
           m.buttons == MessageButtons::YesNoCancel;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const bool import = (control & 1) != 0;
    {
        std::ofstream out(folder() + "input.ptp", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    Project project;
    project.messages.answers = {(control & 2) ? MessageResult::No : MessageResult::Yes,
                                (control & 4) ? MessageResult::Cancel : MessageResult::Yes};
    if (import) {
        project.lists.ensureSendIndex(static_cast<int>(control >> 4));
    }
    bool loaded = false;
    std::string baseName = "input";
    try {
        loaded = loadProject(project.env, folder(), baseName, import);
    } catch (const InternalError& error) {
        std::fprintf(stderr, "internal error: %s\n", error.description().c_str());
        std::abort();
    }
    for (const MessageRequest& m : project.messages.shown) {
        check(isLoadMessage(m), "a message the load never shows");
    }
    check(!project.host.waitCursor, "wait cursor left on");
    if (!loaded) {
        check(!project.messages.shown.empty(), "a failed load said nothing");
        return 0;
    }
    for (int i = 0; i < project.lists.receiveList().upperIndex(); ++i) {
        const int answer = project.lists.receiveList()[i].answerIndex;
        check(answer >= -1 && answer < project.lists.sendList().upperIndex(),
              "answer names no send sequence");
    }
    if (import) {
        return 0;
    }
    const std::vector<std::string> before = project.contents();
    CommunicationSettings settings = project.communication;
    settings.channelA = Project::written(settings.channelA);
    settings.channelB = Project::written(settings.channelB);
    try {
        check(saveProject(project.env, folder(), "copy", 8), "saving the loaded project failed");
        Project reread;
        reread.communication = CommunicationSettings{};
        std::string copyName = "copy";
        check(loadProject(reread.env, folder(), copyName, false), "the saved project did not load");
        check(reread.contents() == before, "the saved lists read back different");
        check(reread.communication == settings, "the saved settings read back different");
    } catch (const InternalError& error) {
        std::fprintf(stderr, "internal error: %s\n", error.description().c_str());
        std::abort();
    }
    return 0;
}
