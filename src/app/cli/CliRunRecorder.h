#pragma once

#include "communication/CommunicationObserver.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvane::cli {

// What a run of corvane-cli saw: the bytes of each direction, every receive sequence's detections
// with the times of the first and the last, the channel errors and data losses the engine
// reported, and the last bytes of traffic for a failure report. It also stops the run at the first
// detection of an --until sequence.
class CliRunRecorder : public CommunicationObserver {
public:
    static constexpr std::size_t kTrafficBytes = 2048;
    static constexpr std::size_t kBytesPerTrafficLine = 16;

    struct Detections {
        std::int64_t count = 0;
        // Seconds after the start of the run; negative while never detected.
        double firstSeconds = -1;
        double lastSeconds = -1;
        // Arrival time of the packets, as the time stamps of the display have it.
        HiresTime firstArrival{};
        HiresTime lastArrival{};
    };

    // sequenceCount: entries of the receive list. secondsSinceStart: the run's own clock.
    CliRunRecorder(int sequenceCount, std::vector<int> untilSequences,
                   std::function<double()> secondsSinceStart);

    void dataPassed(int direction, std::span<const CharCode> words) override;
    bool sequenceDetected(int index, int direction, const HiresTime& arrival) override;
    void troubleReported(const std::string& text) override;

    int sequenceCount() const { return static_cast<int>(detections_.size()); }
    // Detections of receive sequence index (nothing for an index out of the list).
    const Detections& detections(int index) const;
    std::int64_t bytes(int direction) const { return bytes_[static_cast<std::size_t>(direction & 1)]; }
    // Each reported trouble, its lines joined by blanks.
    const std::vector<std::string>& troubles() const { return troubles_; }
    // The --until sequence whose detection stopped the run, or -1.
    int stoppedBy() const { return stoppedBy_; }

    // The last kTrafficBytes bytes in HEX, a line per direction change and kBytesPerTrafficLine
    // bytes, each line starting with the direction's tag (for example "[RX]").
    std::string trafficHex(const std::array<std::string, 2>& tags) const;

private:
    std::vector<Detections> detections_;
    std::vector<int> untilSequences_;
    std::function<double()> secondsSinceStart_;
    std::array<std::int64_t, 2> bytes_{0, 0};
    std::vector<std::string> troubles_;
    int stoppedBy_ = -1;
    // The ring of the last bytes and their directions.
    std::array<std::uint8_t, kTrafficBytes> ring_{};
    std::array<std::uint8_t, kTrafficBytes> ringDirection_{};
    std::size_t ringNext_ = 0;
    std::uint64_t ringTotal_ = 0;
};

} // namespace corvane::cli
