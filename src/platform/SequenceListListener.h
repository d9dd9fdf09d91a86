#pragma once

namespace corvane {

// Told when the send or receive sequence lists have changed in a way the user sees: the main
// window redraws the named lists and marks the project as modified.
class SequenceListListener {
public:
    virtual ~SequenceListListener() = default;
    virtual void refreshSequenceLists(bool sendList, bool receiveList) = 0;
};

} // namespace corvane
