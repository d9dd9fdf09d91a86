#pragma once

#include "platform/InternalError.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

// An ordered list of sequence records indexed from 0. Entries 0 to U - 1 are the user's
// sequences; entry U (the upper index) is always present and blank: the slot in which a new
// sequence is edited. A list with n sequences has U = n.
//
// This is the storage only; the rules (limits, answer references, refresh) live in
// modSequenceManagement, which is the one place that changes the list's length.
template <class Record> class SequenceList {
public:
    static constexpr const char* kModule = "modSequenceManagement";
    // At most this many user sequences; the arrays then hold one record more.
    static constexpr int kMaxSequences = 1023;

    SequenceList() {
        entries_.reserve(kMaxSequences + 1);
        entries_.emplace_back();
    }

    // U: the index of the blank slot, which is also the number of user sequences.
    int upperIndex() const { return static_cast<int>(entries_.size()) - 1; }
    int sequenceCount() const { return upperIndex(); }

    // Entry i, 0 to U; any other index is an internal error.
    Record& operator[](int index) { return entries_[checked(index)]; }
    const Record& operator[](int index) const { return entries_[checked(index)]; }

    // The entry the editors show, clamped to 0 to U whenever it is read.
    int currentIndex() const { return std::clamp(currentIndex_, 0, upperIndex()); }
    void setCurrentIndex(int index) { currentIndex_ = index; }

    // Low-level changes used by modSequenceManagement. They keep the blank slot; positions
    // outside the list are internal errors.
    void clearToBlank() {
        entries_.clear();
        entries_.emplace_back();
        currentIndex_ = 0;
    }
    void appendBlank() { entries_.emplace_back(); }
    // Drops entry U - 1; entry U - 1 becomes the blank slot. Nothing happens on an empty list.
    void removeLastKeepingBlank() {
        if (entries_.size() < 2) {
            return;
        }
        entries_.pop_back();
        entries_.back() = Record{};
    }
    // Puts record at position 0 to U; later entries, the blank slot included, move up.
    void insertAt(int position, Record&& record) {
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(checked(position)), std::move(record));
    }
    // Removes entry 0 to U - 1; later entries move down.
    void eraseAt(int index) {
        if (index == upperIndex()) {
            reportInternalError(kErrorOutOfRange, "illegal sequence list index " + std::to_string(index),
                                kModule);
        }
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(checked(index)));
    }

private:
    std::size_t checked(int index) const {
        if (index < 0 || index > upperIndex()) {
            reportInternalError(kErrorOutOfRange, "illegal sequence list index " + std::to_string(index),
                                kModule);
        }
        return static_cast<std::size_t>(index);
    }

    std::vector<Record> entries_;
    int currentIndex_ = 0;
};

} // namespace corvane
