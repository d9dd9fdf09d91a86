#pragma once

#include "persistence/ProjectEnvironment.h"
#include "persistence/ProjectFiles.h"
#include "platform/SettingsStore.h"
#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeNotepadCompanion.h"
#include "platform/fakes/FakeProjectHost.h"
#include "platform/fakes/FakeSequenceListListener.h"
#include "sequences/modSequenceManagement.h"
#include "support/FileContents.h"
#include "support/SequenceOf.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// A complete project environment over real files in a fresh temporary folder.
class ProjectTest : public ::testing::Test {
protected:
    static std::string dataDirectory() {
        return (std::filesystem::path(CORVANE_TESTS_DIR) / "persistence" / "data").string() + "/";
    }

    // Loads a file of tests/persistence/data.
    bool loadData(const std::string& baseName, bool import = false) {
        loadedName = baseName;
        return corvane::loadProject(env, dataDirectory(), loadedName, import);
    }

    bool loadHere(const std::string& baseName, bool import = false) {
        loadedName = baseName;
        return corvane::loadProject(env, directory, loadedName, import);
    }

    void writeFile(const std::string& name, const std::string& bytes) {
        corvane::test::writeFile(directory + name, bytes);
    }

    std::string readFile(const std::string& name) const { return corvane::test::readFile(directory + name); }

    corvane::SendSequenceRecord& send(int i) { return lists.sendList()[i]; }
    corvane::ReceiveSequenceRecord& receive(int i) { return lists.receiveList()[i]; }
    int sendCount() const { return lists.sendList().upperIndex(); }
    int receiveCount() const { return lists.receiveList().upperIndex(); }

    static std::string hex(const corvane::ClSequence& sequence) {
        return sequence.getSeqRepresentation(corvane::Representation::HEX, true);
    }

    void addSend(const std::string& name, const std::string& hexText, std::int16_t repeat = 0,
                 std::int32_t interval = 5000) {
        const int position = sendCount();
        lists.ensureSendIndex(position);
        send(position).name = name;
        send(position).sequence = corvane::test::sequenceOf(corvane::Representation::HEX, hexText);
        send(position).repeat = repeat;
        send(position).repeatInterval = interval;
    }

    corvane::ReceiveSequenceRecord& addReceive(const std::string& name, const std::string& hexText) {
        const int position = receiveCount();
        lists.ensureReceiveIndex(position);
        receive(position).name = name;
        receive(position).sequence = corvane::test::sequenceOf(corvane::Representation::HEX, hexText);
        return receive(position);
    }

    corvane::test::TempFolder temporary;
    std::filesystem::path folder = temporary.path();
    std::string directory = temporary.directory();
    std::string loadedName;

    corvane::FakeMessageService messages;
    corvane::FakeClipboard clipboard;
    corvane::FakeSequenceListListener listener;
    corvane::modSequenceManagement lists{messages, clipboard, listener};
    corvane::CommunicationSettings communication;
    corvane::ProjectIdentity current;
    corvane::ProgramSettingsData settings;
    corvane::MemorySettingsStore store;
    corvane::FakeProjectHost host;
    corvane::FakeNotepadCompanion notepad;
    corvane::ProjectEnvironment env{lists, communication, current, settings, store, messages, host, notepad};
};
