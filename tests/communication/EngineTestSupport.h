#pragma once

#include "DataOutputRecorder.h"
#include "communication/CommunicationEngine.h"
#include "platform/fakes/FakeChannelSocket.h"
#include "platform/fakes/FakeHiresTimeSource.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"
#include "platform/fakes/FakeSystemClock.h"
#include "support/DataOnlyOutputOptions.h"
#include "support/SequenceOf.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

// The fake library whose port can be made to look busy right after a transmission.
class BusyAfterTransmitLibrary : public FakeSerialFunctionLibrary {
public:
    int libTXQueueWrite(int port, const std::int16_t* words, int count, int queueId) override {
        int result = FakeSerialFunctionLibrary::libTXQueueWrite(port, words, count, queueId);
        if (result > 0 && busyAfterTransmit) {
            portTxBytes = count;
        }
        return result;
    }
    bool busyAfterTransmit = false;
};

// The communication engine over the fake serial library, with the pieces of the data output
// recorded. Headers are off unless a test switches stamps on, so the views hold data and
// comments only.
class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        engine.output().setOptions(dataOnlyOutputOptions());
        engine.output().setEnabledRepresentations({true, true, true, true});
        time.set(2026, 12, 1, 10, 20, 30, 400);
    }

    void stamps(bool on) {
        DataOutputOptions options = engine.output().options();
        options.stamp.time = on;
        options.stamp.milliSeconds = on;
        options.newLine = on;
        engine.output().setOptions(options);
    }

    int addSend(std::string_view name, const ClSequence& sequence) {
        int index = sendList.upperIndex();
        sendList.appendBlank();
        sendList[index].name = std::string(name);
        sendList[index].sequence.copyFrom(sequence);
        return index;
    }

    ReceiveSequenceRecord& addReceive(std::string_view name, const ClSequence& pattern,
                                      std::string_view comment = "") {
        int index = receiveList.upperIndex();
        receiveList.appendBlank();
        ReceiveSequenceRecord& record = receiveList[index];
        record.name = std::string(name);
        record.sequence.copyFrom(pattern);
        record.comment = std::string(comment);
        record.snapshotTrigger = 0;
        return record;
    }

    void answerWith(ReceiveSequenceRecord& record, int sendIndex) {
        record.answerIndex = static_cast<std::int16_t>(sendIndex);
        record.answerName = sendList[sendIndex].name;
    }

    void start() {
        engine.startCommunication();
        ASSERT_TRUE(engine.communicationRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
        recorder.pieces.clear();
    }

    // Data arriving as one packet; queue id 2 is the received data in "Send/Receive" mode.
    void arrive(std::string_view bytes, int queueId = 2, std::uint16_t status = 0) {
        library.queue.pushBytes(queueId, time.time, status,
                                reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    void arriveWords(const std::vector<std::int16_t>& words, int queueId = 2) {
        library.queue.pushWords(queueId, time.time, 0, words.data(), words.size());
    }

    std::string ascii() const { return recorder.text(0); }
    std::string hex() const { return recorder.text(1); }
    // The header of sent data, stamped with the clock reading of the last transmission.
    std::string sentHeader() {
        return "\r\n" + engine.output().timeStampText(channel1.lastTransmitTime()) + "[TX] - ";
    }

    // Everything transmitted on a port, as text.
    std::string transmitted(int port = 0) const {
        std::string text;
        for (const auto& t : library.transmissions) {
            if (t.port == port) {
                for (auto w : t.words) {
                    if (w >= 0 && w <= 255) {
                        text += static_cast<char>(w);
                    }
                }
            }
        }
        return text;
    }

    BusyAfterTransmitLibrary library;
    FakeSocketFactory sockets;
    FakeSystemClock clock;
    FakeHiresTimeSource time;
    ClCommChannel channel1{library, &sockets, &clock};
    ClCommChannel channel2{library, &sockets, &clock};
    CommunicationSettings settings;
    ExpertOptions expert;
    SendSequenceList sendList;
    ReceiveSequenceList receiveList;
    FakeMessageService messages;
    PieceRecorder recorder;
    CommunicationEngine engine{library,     channel1, channel2, settings, expert, sendList,
                               receiveList, messages, clock,    recorder, time};
};

} // namespace corvane::test
