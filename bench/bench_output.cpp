// Throughput of the communication data output: rendering all four representations, and rendering
// plus logging to real files (plain text and HTML).
#include "communication/DataOutput.h"
#include "display/CommOutputRouter.h"
#include "display/MdLogging.h"
#include "persistence/ProgramSettingsData.h"
#include "platform/MessageService.h"
#include "platform/PolledTimerService.h"
#include "platform/SystemClock.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <unistd.h>
#include <vector>

using namespace corvane;

namespace {

constexpr std::size_t kTrafficBytes = 1 << 20;
constexpr std::size_t kPacketBytes = 512;

// Mixed traffic: text lines with CR LF, binary frames and noise.
std::vector<std::int16_t> makeTraffic() {
    std::mt19937 random(7);
    std::vector<std::int16_t> words;
    words.reserve(kTrafficBytes);
    const std::string line = "AT+CSQ=1,2 OK <status> & \"value\"\r\n";
    while (words.size() < kTrafficBytes) {
        switch (random() % 3) {
        case 0:
            for (char c : line) {
                words.push_back(static_cast<std::int16_t>(static_cast<unsigned char>(c)));
            }
            break;
        case 1:
            for (int i = 0; i < 24; ++i) {
                words.push_back(static_cast<std::int16_t>(random() % 256));
            }
            break;
        default:
            for (int i = 0; i < 40; ++i) {
                words.push_back(static_cast<std::int16_t>(32 + random() % 95));
            }
        }
    }
    words.resize(kTrafficBytes);
    return words;
}

class NullSink : public CommPieceConsumer {
public:
    void writeCommPiece(int, bool, int, std::string_view text) override { characters += text.size(); }
    std::size_t characters = 0;
};

class FixedTime : public HiresTimeSource {
public:
    bool readHiresTime(HiresTime& time) override {
        time = HiresTime{2026, 12, 1, 7, 12, 0, 0, 0};
        return true;
    }
};

class SilentMessages : public MessageService {
public:
    MessageResult show(const MessageRequest&) override { return MessageResult::OK; }
};

// Hands the traffic over as the receive processing does: packet by packet, a header per packet
// (direction changes every eight packets), a flush at the end of each pass of four packets.
void runTraffic(DataOutput& output, const std::vector<std::int16_t>& traffic) {
    std::span<const std::int16_t> all(traffic);
    std::size_t packet = 0;
    for (std::size_t first = 0; first < all.size(); first += kPacketBytes, ++packet) {
        const int direction = static_cast<int>((packet / 8) % 2);
        const auto last = static_cast<std::ptrdiff_t>(std::min(all.size(), first + kPacketBytes)) - 1;
        output.header(direction, false, HiresTime{2026, 12, 1, 7, 12, 0, 0, 1});
        output.printAndLogIntCommData(direction, false, all, static_cast<std::ptrdiff_t>(first), last);
        if (packet % 4 == 3) {
            output.flush(false);
        }
    }
    output.flush(false);
}

void BM_DataOutputRender(benchmark::State& state) {
    const auto traffic = makeTraffic();
    NullSink sink;
    FixedTime time;
    DataOutput output(sink, time);
    output.setEnabledRepresentations({true, true, true, true});
    DataOutputOptions options;
    options.windowFormat = state.range(0) != 0 ? CommWindowFormat::Plain : CommWindowFormat::Formatted;
    output.setOptions(options);
    output.reset();
    for (auto _ : state) {
        runTraffic(output, traffic);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kTrafficBytes));
    state.counters["chars_per_byte"] =
        static_cast<double>(sink.characters) / (static_cast<double>(state.iterations()) * kTrafficBytes);
}
BENCHMARK(BM_DataOutputRender)->Arg(0)->Arg(1)->ArgNames({"plain_window"})->Unit(benchmark::kMillisecond);

void BM_DataOutputLogging(benchmark::State& state) {
    const auto traffic = makeTraffic();
    const auto folder =
        std::filesystem::temp_directory_path() / ("corvane-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ProgramSettingsData settings;
    settings.logASCII = settings.logHEX = settings.logDecimal = settings.logBinary = true;
    settings.logFormat = static_cast<int>(state.range(0));
    settings.logAppendMode = false;
    settings.logBaseFilePath = (folder / "log").string();
    RealSystemClock clock;
    PolledTimerService timers(clock);
    SilentMessages messages;
    FixedTime time;
    MdLogging logging(settings, messages, timers, clock, time);
    CommOutputRouter router(nullptr, &logging);
    DataOutput output(router, time);
    output.setEnabledRepresentations({true, true, true, true});
    output.reset();
    if (!logging.openLogFiles()) {
        state.SkipWithError("log files could not be created");
        return;
    }
    for (auto _ : state) {
        runTraffic(output, traffic);
        timers.processDueTimers();
    }
    logging.stopLogging(true);
    std::uintmax_t written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        written += entry.file_size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kTrafficBytes));
    state.counters["file_bytes_per_byte"] =
        static_cast<double>(written) / (static_cast<double>(state.iterations()) * kTrafficBytes);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DataOutputLogging)->Arg(0)->Arg(1)->ArgNames({"html"})->Unit(benchmark::kMillisecond);

} // namespace
