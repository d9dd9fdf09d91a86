// Throughput of the receive processing, headless: packets from the receive queue through the
// detection step of 0, 10 or 100 active receive sequences and the data output (all four views
// rendered, pieces dropped).
#include "communication/CommunicationEngine.h"
#include "platform/fakes/FakeChannelSocket.h"
#include "platform/fakes/FakeHiresTimeSource.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"
#include "platform/fakes/FakeSystemClock.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

using namespace corvane;

namespace {

class DroppingConsumer : public CommPieceConsumer {
public:
    void writeCommPiece(int, bool, int, std::string_view text) override { characters += text.size(); }
    std::size_t characters = 0;
};

// 1 MiB of modem-like traffic: answer lines, numbers and binary noise.
std::vector<std::uint8_t> traffic() {
    std::mt19937 random(5);
    std::vector<std::uint8_t> data;
    data.reserve(1 << 20);
    const std::string lines[] = {"OK\r\n", "+CSQ: 23,99\r\n", "ERROR\r\n", "RING\r\n", "AT+CREG?\r\n"};
    while (data.size() < (1u << 20)) {
        if (random() % 4 == 0) {
            for (int i = 0; i < 12; ++i) {
                data.push_back(static_cast<std::uint8_t>(random() % 256));
            }
        } else {
            const std::string& line = lines[random() % 5];
            data.insert(data.end(), line.begin(), line.end());
        }
    }
    data.resize(1u << 20);
    return data;
}

struct Engine {
    FakeSerialFunctionLibrary library;
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
    DroppingConsumer consumer;
    CommunicationEngine engine{library,     channel1, channel2, settings, expert, sendList,
                               receiveList, messages, clock,    consumer, time};

    explicit Engine(int sequences) {
        std::mt19937 random(3);
        // One sequence per traffic line kind that occurs ("OK", "+CSQ: 2?" with a comment that
        // quotes the signal value), the others start like the traffic ('+', 'O', 'E', 'R', 'A')
        // but rarely or never complete.
        const char starts[] = "+OERA";
        for (int i = 0; i < sequences; ++i) {
            receiveList.appendBlank();
            ReceiveSequenceRecord& record = receiveList[i];
            std::string text;
            if (i == 0) {
                text = "OK\r\n";
            } else if (i == 1) {
                text = "+CSQ: 2";
            } else {
                text = std::string(1, starts[i % 5]) + static_cast<char>('A' + random() % 26) +
                       static_cast<char>('A' + random() % 26) + "\r\n";
            }
            for (char c : text) {
                record.sequence.appendCharacter(static_cast<unsigned char>(c));
            }
            if (i == 1) {
                record.sequence.appendCharacter(kWildcardOne);
                record.comment = "signal %_A(7,2)";
            }
            record.snapshotTrigger = 0;
        }
        DataOutputOptions options;
        options.windowFormat = CommWindowFormat::Plain;
        engine.output().setOptions(options);
        engine.output().setEnabledRepresentations({true, true, true, true});
        engine.startCommunication();
    }
};

void BM_ReceiveProcessing(benchmark::State& state) {
    const std::vector<std::uint8_t> data = traffic();
    Engine e(static_cast<int>(state.range(0)));
    constexpr std::size_t kPacket = 1024;
    for (auto _ : state) {
        for (std::size_t offset = 0; offset < data.size(); offset += kPacket) {
            e.library.queue.pushBytes(2, e.time.time, 0, data.data() + offset, kPacket);
            if ((offset / kPacket) % 64 == 63) {
                e.engine.communicationPass();
            }
        }
        e.engine.communicationPass();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
    std::int64_t detections = 0;
    for (int i = 0; i < e.receiveList.upperIndex(); ++i) {
        detections += e.receiveList[i].detectionCount;
    }
    state.counters["detections/MiB"] =
        benchmark::Counter(static_cast<double>(detections) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ReceiveProcessing)->Arg(0)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
