#include "app/control/SendSequenceParameters.h"

#include "platform/InternalError.h"

namespace corvane {

void SendSequenceParameters::reset(const ClSequence& original) {
    original_.copyFrom(original);
    expanded_.clear();
    success_ = false;
    runStart_ = 0;
    runLength_ = 0;
    minimum_ = 0;
    taken_ = 0;
    parameterNumber_ = 0;
    last_ = false;
    nextParameter();
}

void SendSequenceParameters::nextParameter() {
    std::int32_t start = 0;
    std::int32_t length = 0;
    std::int32_t minimum = 0;
    if (!original_.findNextWildcardPosition(start, length, minimum, runStart_ + runLength_)) {
        reportInternalError(kErrorIllegalValue, "original sequence without wildcards", kModule);
    }
    for (std::int32_t i = taken_; i < start; ++i) {
        expanded_.appendCharacter(original_.getCharacter(i));
    }
    runStart_ = start;
    runLength_ = length;
    minimum_ = minimum;
    taken_ = start + length;
    ++parameterNumber_;
    std::int32_t nextStart = 0;
    std::int32_t nextLength = 0;
    std::int32_t nextMinimum = 0;
    last_ = !original_.findNextWildcardPosition(nextStart, nextLength, nextMinimum, taken_);
}

ParameterDisplay SendSequenceParameters::display(Representation representation) const {
    ParameterDisplay shown;
    shown.parameterNumber = parameterNumber_;
    ClSequence part;
    if (runLength_ > 0) {
        original_.getPart(runStart_, runStart_ + runLength_ - 1, part);
        shown.wildcards = part.getSeqRepresentation(Representation::ASCII, true);
    }
    // ASCII reads best without blanks between the characters.
    const bool separated = representation != Representation::ASCII;
    shown.before = expanded_.getSeqRepresentation(representation, separated);
    if (taken_ < original_.size()) {
        original_.getPart(taken_, original_.size() - 1, part);
        shown.after = part.getSeqRepresentation(representation, separated);
    }
    shown.minimumCharacters = minimum_;
    shown.maximumCharacters = runLength_;
    shown.lastParameter = last_;
    return shown;
}

SendSequenceParameters::Step SendSequenceParameters::takeParameter(const ClSequence& typed) {
    if (success_ || typed.size() < minimum_ || typed.size() > runLength_) {
        return Step::Refused;
    }
    // Only characters are filled in: a wildcard typed into the parameter would be sent as one.
    for (std::int32_t i = 0; i < typed.size(); ++i) {
        if (typed.getCharacter(i) < 0) {
            return Step::Refused;
        }
    }
    expanded_.appendSequence(typed);
    if (!last_) {
        nextParameter();
        return Step::NextParameter;
    }
    for (std::int32_t i = taken_; i < original_.size(); ++i) {
        expanded_.appendCharacter(original_.getCharacter(i));
    }
    success_ = true;
    return Step::Complete;
}

} // namespace corvane
