#pragma once

#include "platform/SequenceListListener.h"

#include <vector>

namespace corvane {

// Records every refresh request.
class FakeSequenceListListener : public SequenceListListener {
public:
    struct Refresh {
        bool sendList;
        bool receiveList;
    };

    void refreshSequenceLists(bool sendList, bool receiveList) override {
        refreshes.push_back({sendList, receiveList});
    }

    std::vector<Refresh> refreshes;
};

} // namespace corvane
