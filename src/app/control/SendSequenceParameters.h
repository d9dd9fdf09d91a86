#pragma once

#include "sequences/ClSequence.h"

#include <cstdint>
#include <string>

namespace corvane {

// What the "Send Sequence Parameter" dialog shows for the current parameter.
struct ParameterDisplay {
    int parameterNumber = 0;
    // The wildcard run in ASCII display form ("<?> <#>").
    std::string wildcards;
    // The expanded sequence so far and the template after the run, in the representation.
    std::string before;
    std::string after;
    int minimumCharacters = 0;
    int maximumCharacters = 0;
    bool lastParameter = false;
};

// The logic of frmSendSequenceParameter: walks through the wildcard runs of a send sequence (each
// run is one parameter) and builds the expanded sequence from the characters typed for each. A
// run of n wildcards takes up to n characters, at least as many as it holds '?'.
class SendSequenceParameters {
public:
    static constexpr const char* kModule = "frmSendSequenceParameter";

    // Starts over with a template: success false, the expanded sequence empty, the first parameter
    // current. A template without wildcards is an internal error.
    void reset(const ClSequence& original);

    const ClSequence& originalSeq() const { return original_; }
    const ClSequence& expandedSeq() const { return expanded_; }
    bool success() const { return success_; }

    ParameterDisplay display(Representation representation) const;
    // "Next >" or "Send".
    std::string sendCaption() const { return last_ ? "Send" : "Next >"; }
    // Enough characters typed for the current parameter.
    bool enoughCharacters(int typed) const { return typed >= minimum_; }

    enum class Step { Refused, NextParameter, Complete };
    // The characters typed for the current parameter: the next parameter becomes current, or the
    // last one completes the sequence (success). Too few or too many characters, or special
    // characters, are refused and nothing changes.
    Step takeParameter(const ClSequence& typed);

private:
    void nextParameter();

    ClSequence original_;
    ClSequence expanded_;
    bool success_ = false;
    std::int32_t runStart_ = 0;
    std::int32_t runLength_ = 0;
    std::int32_t minimum_ = 0;
    std::int32_t taken_ = 0;
    int parameterNumber_ = 0;
    bool last_ = false;
};

} // namespace corvane
