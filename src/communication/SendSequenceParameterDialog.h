#pragma once

#include "sequences/ClSequence.h"

namespace corvane {

// The "Send Sequence Parameter" dialog as the send processing sees it: it walks through the
// wildcard runs of a template and builds the sequence to send. The program with a window fills
// this in; without one, sequences with wildcards cannot be sent.
class SendSequenceParameterDialog {
public:
    virtual ~SendSequenceParameterDialog() = default;
    // Shown modally with a copy of the template; true when the user finished with "Send", and
    // expanded then holds the sequence to send.
    virtual bool askParameters(const ClSequence& original, ClSequence& expanded) = 0;
};

} // namespace corvane
