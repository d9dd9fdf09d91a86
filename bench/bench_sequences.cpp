// Throughput of the matching step and of the notation reader.
#include "sequences/CharacterRepresentation.h"
#include "sequences/ClSequence.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace corvane;

namespace {

// 1 MiB of mixed traffic: text lines, binary frames and noise.
std::vector<CharCode> mixedData() {
    std::mt19937 random(7);
    std::vector<CharCode> data;
    data.reserve(1 << 20);
    const std::string line = "OK\r\nAT+CSQ\r\n+CSQ: 23,99\r\n";
    while (data.size() < (1u << 20)) {
        switch (random() % 3) {
        case 0:
            for (char c : line) {
                data.push_back(static_cast<CharCode>(static_cast<unsigned char>(c)));
            }
            break;
        case 1:
            for (int i = 0; i < 16; ++i) {
                data.push_back(static_cast<CharCode>(i == 0 ? 0x02 : random() % 256));
            }
            break;
        default:
            data.push_back(static_cast<CharCode>(random() % 256));
            break;
        }
    }
    data.resize(1u << 20);
    return data;
}

// 100 receive patterns of 4 to 16 characters with '?', '#' and compare elements.
std::vector<ClSequence> patterns() {
    std::mt19937 random(11);
    std::vector<ClSequence> result(100);
    for (ClSequence& p : result) {
        const int length = 4 + static_cast<int>(random() % 13);
        p.appendCharacter(random() % 2 ? 'O' : 0x02);
        while (p.size() < length) {
            switch (random() % 8) {
            case 0:
                p.appendCharacter(kWildcardOne);
                break;
            case 1:
                p.appendCharacter(kWildcardOptional);
                break;
            case 2:
                p.appendCharacter(kBitwiseCompare);
                p.appendCharacter(0x0F);
                p.appendCharacter(static_cast<int>(random() % 16));
                break;
            default:
                p.appendCharacter("OK\r\nAT+CSQ:23"[random() % 13]);
                break;
            }
        }
        p.setNumOfCursors(2);
    }
    return result;
}

void BM_CharacterMatching(benchmark::State& state) {
    const std::vector<CharCode> data = mixedData();
    std::vector<ClSequence> receive = patterns();
    long detections = 0;
    for (auto _ : state) {
        for (CharCode c : data) {
            for (ClSequence& p : receive) {
                if (p.characterMatching(0, c)) {
                    ++detections;
                    p.setCursors(0, 0);
                }
            }
        }
    }
    benchmark::DoNotOptimize(detections);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(data.size()) *
                            static_cast<std::int64_t>(receive.size()));
    state.counters["detections"] = static_cast<double>(detections) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CharacterMatching)->Unit(benchmark::kMillisecond);

std::string textOf(Representation r, bool separators, bool withWildcards) {
    ClSequence s;
    std::mt19937 random(3);
    while (s.size() < 1024) {
        s.appendCharacter(withWildcards && random() % 10 == 0 ? kWildcardOne
                                                              : static_cast<int>(random() % 256));
    }
    return s.getSeqRepresentation(r, separators);
}

void BM_ParseText(benchmark::State& state, Representation r, bool separators, bool withWildcards) {
    const std::string text = textOf(r, separators, withWildcards);
    ClSequence s;
    for (auto _ : state) {
        s.parseText(r, text, 4096);
        benchmark::DoNotOptimize(s.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK_CAPTURE(BM_ParseText, hex_separated, Representation::HEX, true, false);
BENCHMARK_CAPTURE(BM_ParseText, hex_packed, Representation::HEX, false, false);
BENCHMARK_CAPTURE(BM_ParseText, hex_scanned_wildcards, Representation::HEX, true, true);
BENCHMARK_CAPTURE(BM_ParseText, binary_separated, Representation::Binary, true, false);

} // namespace
