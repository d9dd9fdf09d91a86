#include "CliRunRecorder.h"

#include <algorithm>

namespace corvane::cli {

CliRunRecorder::CliRunRecorder(int sequenceCount, std::vector<int> untilSequences,
                               std::function<double()> secondsSinceStart)
    : detections_(static_cast<std::size_t>(std::max(sequenceCount, 0))),
      untilSequences_(std::move(untilSequences)), secondsSinceStart_(std::move(secondsSinceStart)) {}

void CliRunRecorder::dataPassed(int direction, std::span<const CharCode> words) {
    const auto slot = static_cast<std::uint8_t>(direction & 1);
    for (CharCode word : words) {
        if (!isDataByte(word)) {
            continue;
        }
        ++bytes_[slot];
        ring_[ringNext_] = static_cast<std::uint8_t>(word);
        ringDirection_[ringNext_] = slot;
        ringNext_ = (ringNext_ + 1) % kTrafficBytes;
        ++ringTotal_;
    }
}

bool CliRunRecorder::sequenceDetected(int index, int /*direction*/, const HiresTime& arrival) {
    if (index < 0 || index >= sequenceCount()) {
        return false;
    }
    Detections& seen = detections_[static_cast<std::size_t>(index)];
    const double seconds = std::max(0.0, secondsSinceStart_());
    if (seen.count == 0) {
        seen.firstSeconds = seconds;
        seen.firstArrival = arrival;
    }
    ++seen.count;
    seen.lastSeconds = seconds;
    seen.lastArrival = arrival;
    if (stoppedBy_ < 0 &&
        std::find(untilSequences_.begin(), untilSequences_.end(), index) != untilSequences_.end()) {
        stoppedBy_ = index;
        return true;
    }
    return false;
}

void CliRunRecorder::troubleReported(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    troubles_.push_back(line);
}

const CliRunRecorder::Detections& CliRunRecorder::detections(int index) const {
    static const Detections none;
    if (index < 0 || index >= sequenceCount()) {
        return none;
    }
    return detections_[static_cast<std::size_t>(index)];
}

std::string CliRunRecorder::trafficHex(const std::array<std::string, 2>& tags) const {
    static const char digits[] = "0123456789ABCDEF";
    const std::size_t kept = static_cast<std::size_t>(std::min<std::uint64_t>(ringTotal_, kTrafficBytes));
    std::string text;
    if (ringTotal_ > kept) {
        text += "(" + std::to_string(ringTotal_ - kept) + " earlier bytes not shown)\n";
    }
    std::size_t position = (ringNext_ + kTrafficBytes - kept) % kTrafficBytes;
    int lastDirection = -1;
    std::size_t onLine = 0;
    for (std::size_t n = 0; n < kept; ++n, position = (position + 1) % kTrafficBytes) {
        const int direction = ringDirection_[position];
        if (direction != lastDirection || onLine == kBytesPerTrafficLine) {
            if (lastDirection >= 0) {
                text += '\n';
            }
            text += tags[static_cast<std::size_t>(direction)];
            lastDirection = direction;
            onLine = 0;
        }
        text += ' ';
        text += digits[ring_[position] >> 4];
        text += digits[ring_[position] & 15];
        ++onLine;
    }
    if (lastDirection >= 0) {
        text += '\n';
    }
    return text;
}

} // namespace corvane::cli
