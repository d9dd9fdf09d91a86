// The parameter dialog's walk through the wildcard runs of a send sequence.
#include "app/control/SendSequenceParameters.h"

#include "support/InternalErrorExpect.h"
#include "support/SequenceOf.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

ClSequence hex(const std::string& text) {
    ClSequence sequence;
    sequence.parseText(Representation::HEX, text, 1024);
    return sequence;
}

std::string hexOf(const ClSequence& sequence) {
    return sequence.getSeqRepresentation(Representation::HEX, true);
}

TEST(SendSequenceParameters, OneRunOfTwoNeedsTwoCharactersAndGivesTheExpandedSequence) {
    SendSequenceParameters parameters;
    parameters.reset(hex("01 ?? ?? 04"));
    const ParameterDisplay shown = parameters.display(Representation::HEX);
    EXPECT_EQ(shown.parameterNumber, 1);
    EXPECT_EQ(shown.minimumCharacters, 2);
    EXPECT_EQ(shown.maximumCharacters, 2);
    EXPECT_EQ(shown.before, "01");
    EXPECT_EQ(shown.after, "04");
    EXPECT_EQ(shown.wildcards, "<?> <?>");
    EXPECT_EQ(parameters.sendCaption(), "Send");
    EXPECT_FALSE(parameters.enoughCharacters(1));
    EXPECT_TRUE(parameters.enoughCharacters(2));
    EXPECT_EQ(parameters.takeParameter(hex("02")), SendSequenceParameters::Step::Refused);
    EXPECT_EQ(parameters.takeParameter(hex("02 03 05")), SendSequenceParameters::Step::Refused);
    EXPECT_EQ(parameters.takeParameter(hex("02 03")), SendSequenceParameters::Step::Complete);
    EXPECT_TRUE(parameters.success());
    EXPECT_EQ(hexOf(parameters.expandedSeq()), "01 02 03 04");
}

TEST(SendSequenceParameters, TwoRunsAreTwoParametersAndAnOptionalRunMayStayEmpty) {
    SendSequenceParameters parameters;
    parameters.reset(hex("01 ?? 02 ## 03"));
    EXPECT_EQ(parameters.sendCaption(), "Next >");
    EXPECT_EQ(parameters.takeParameter(hex("AA")), SendSequenceParameters::Step::NextParameter);
    EXPECT_FALSE(parameters.success());
    const ParameterDisplay second = parameters.display(Representation::HEX);
    EXPECT_EQ(second.parameterNumber, 2);
    EXPECT_EQ(second.before, "01 AA 02");
    EXPECT_EQ(second.after, "03");
    EXPECT_EQ(second.minimumCharacters, 0);
    EXPECT_EQ(parameters.sendCaption(), "Send");
    EXPECT_TRUE(parameters.enoughCharacters(0));
    EXPECT_EQ(parameters.takeParameter(ClSequence()), SendSequenceParameters::Step::Complete);
    EXPECT_EQ(hexOf(parameters.expandedSeq()), "01 AA 02 03");
}

TEST(SendSequenceParameters, AMixedRunTakesOneOrTwoCharacters) {
    for (const std::string typed : {"41", "41 42"}) {
        SendSequenceParameters parameters;
        parameters.reset(hex("?? ##"));
        EXPECT_EQ(parameters.display(Representation::HEX).minimumCharacters, 1);
        EXPECT_EQ(parameters.display(Representation::HEX).maximumCharacters, 2);
        EXPECT_EQ(parameters.takeParameter(hex(typed)), SendSequenceParameters::Step::Complete);
        EXPECT_EQ(hexOf(parameters.expandedSeq()), typed);
    }
}

TEST(SendSequenceParameters, ARunAtTheEndLeavesNothingAfterIt) {
    SendSequenceParameters parameters;
    parameters.reset(hex("05 ??"));
    EXPECT_EQ(parameters.display(Representation::HEX).after, "");
    EXPECT_EQ(parameters.display(Representation::ASCII).before, "<ENQ>");
    // A wildcard can't be typed in as a parameter's character.
    EXPECT_EQ(parameters.takeParameter(test::sequenceOf({kWildcardOne})),
              SendSequenceParameters::Step::Refused);
}

TEST(SendSequenceParameters, StartingOverForgetsTheLastRun) {
    SendSequenceParameters parameters;
    parameters.reset(hex("01 ?? 02 ?? 03"));
    EXPECT_EQ(parameters.takeParameter(hex("AA")), SendSequenceParameters::Step::NextParameter);
    parameters.reset(hex("01 ?? 02 ?? 03"));
    EXPECT_EQ(parameters.display(Representation::HEX).parameterNumber, 1);
    EXPECT_EQ(parameters.display(Representation::HEX).before, "01");
    EXPECT_EQ(parameters.expandedSeq().size(), 1);
}

TEST(SendSequenceParameters, ATemplateWithoutWildcardsIsAnInternalError) {
    SendSequenceParameters parameters;
    EXPECT_INTERNAL_ERROR(parameters.reset(hex("01 02")), kErrorIllegalValue, "frmSendSequenceParameter",
                          "original sequence without wildcards");
}

} // namespace
} // namespace corvane
