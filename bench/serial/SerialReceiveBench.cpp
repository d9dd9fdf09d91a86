// Receive path of the serial function library: bytes written on the far end of a pseudo-terminal
// until they are packets in the receive queue. Sustained throughput and the delay of a single
// byte (p50, p99).
#include "platform/qt/QtSerialFunctionLibrary.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int kPort = 4; // COM5

// A pseudo-terminal whose device the library opens as COM5; the benchmark writes on the master.
struct Line {
    Line() {
        int slave = -1;
        char name[256] = {};
        openpty(&master, &slave, name, nullptr, nullptr);
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
        ::close(slave);
        path = name;
        library = std::make_unique<QtSerialFunctionLibrary>(store, nullptr, [this](const std::string& key) {
            return key == "CORVANE_COM5" ? std::optional<std::string>(path) : std::nullopt;
        });
        library->SioResetExt(kPort, 4096, 4096, 115200, 0, 0, 8, 63, 0);
        library->libInitQueueing(kPort, 2, 0, kQueueingModeTimestamped);
    }
    ~Line() {
        library->SioDone(kPort);
        library.reset();
        ::close(master);
    }
    void writeAll(const std::uint8_t* data, std::size_t size) const {
        std::size_t done = 0;
        while (done < size) {
            ssize_t n = ::write(master, data + done, size - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else {
                pollfd p{master, POLLOUT, 0};
                ::poll(&p, 1, 10);
            }
        }
    }

    int master = -1;
    std::string path;
    MemorySettingsStore store;
    std::unique_ptr<QtSerialFunctionLibrary> library;
};

void BM_ReceiveThroughput(benchmark::State& state) {
    Line line;
    const std::size_t total = static_cast<std::size_t>(state.range(0));
    std::vector<std::uint8_t> data(total);
    for (std::size_t i = 0; i < total; ++i) {
        data[i] = static_cast<std::uint8_t>(i);
    }
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    std::size_t lost = 0;
    for (auto _ : state) {
        std::thread writer([&] { line.writeAll(data.data(), data.size()); });
        std::size_t received = 0;
        auto deadline = Clock::now() + std::chrono::seconds(30);
        while (received < total && Clock::now() < deadline) {
            int n = line.library->libRXQueueRead(buffer.data());
            if (n < 0) {
                line.library->libWaitForPacket(5);
            } else {
                received += static_cast<std::size_t>(n);
            }
        }
        writer.join();
        lost += total - received;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * total));
    state.counters["lost_bytes"] = static_cast<double>(lost);
}
BENCHMARK(BM_ReceiveThroughput)->Arg(4 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReceiveLatency(benchmark::State& state) {
    Line line;
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    std::vector<double> delays;
    const std::uint8_t byte = 0x55;
    for (auto _ : state) {
        auto start = Clock::now();
        line.writeAll(&byte, 1);
        while (line.library->libRXQueueRead(buffer.data()) < 0) {
            if (Clock::now() - start > std::chrono::seconds(2)) {
                state.SkipWithError("a byte did not arrive");
                return;
            }
        }
        auto delay = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        delays.push_back(delay);
        state.SetIterationTime(delay / 1e6);
    }
    std::sort(delays.begin(), delays.end());
    auto at = [&](double q) {
        return delays[std::min(delays.size() - 1, static_cast<std::size_t>(q * delays.size()))];
    };
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
}
BENCHMARK(BM_ReceiveLatency)->Iterations(5000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
