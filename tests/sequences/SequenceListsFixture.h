#pragma once

#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeSequenceListListener.h"
#include "sequences/modSequenceManagement.h"
#include "support/SequenceOf.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {

inline SendSequenceRecord sendRecord(const std::string& name, const std::string& hex = "41 42") {
    SendSequenceRecord record;
    record.name = name;
    record.sequence = test::sequenceOf(Representation::HEX, hex);
    return record;
}

inline ReceiveSequenceRecord receiveRecord(const std::string& name, int answerIndex = kNoAnswer,
                                           const std::string& answerName = "") {
    ReceiveSequenceRecord record;
    record.name = name;
    record.sequence = test::sequenceOf(Representation::HEX, "0D 0A");
    record.answerIndex = static_cast<std::int16_t>(answerIndex);
    record.answerName = answerName;
    return record;
}

// The module with fakes for the clipboard, message boxes and list refreshes.
class SequenceListsTest : public ::testing::Test {
protected:
    // Appends send sequences named prefix0, prefix1, ... without refreshing.
    void addSendSequences(int count, const std::string& prefix = "S") {
        for (int i = 0; i < count; ++i) {
            lists.InsertAction(sendRecord(prefix + std::to_string(i)), lists.sendList().upperIndex(), false);
        }
    }
    void addReceiveSequences(int count, const std::string& prefix = "R") {
        for (int i = 0; i < count; ++i) {
            lists.InsertEvent(receiveRecord(prefix + std::to_string(i)), lists.receiveList().upperIndex(),
                              false);
        }
    }
    std::vector<std::string> sendNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < lists.sendList().upperIndex(); ++i) {
            names.push_back(lists.sendList()[i].name);
        }
        return names;
    }
    std::vector<std::string> receiveNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < lists.receiveList().upperIndex(); ++i) {
            names.push_back(lists.receiveList()[i].name);
        }
        return names;
    }

    FakeMessageService messages;
    FakeClipboard clipboard;
    FakeSequenceListListener listener;
    modSequenceManagement lists{messages, clipboard, listener};
};

} // namespace corvane
