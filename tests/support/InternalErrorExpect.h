#pragma once

#include "platform/InternalError.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane::test {

// Runs action, which must raise an internal error with this code, module and description.
template <class Action>
void expectInternalError(Action&& action, const char* statement, int code, const std::string& module,
                         const std::string& description) {
    try {
        action();
    } catch (const InternalError& error) {
        EXPECT_EQ(error.code(), code);
        EXPECT_EQ(error.module(), module);
        EXPECT_EQ(error.description(), description);
        return;
    }
    ADD_FAILURE() << "no internal error from: " << statement << "; expected \"" << description << "\"";
}

} // namespace corvane::test

// Runs a statement that must raise an internal error and checks its code, module and description;
// a failure names the line of the expectation.
#define EXPECT_INTERNAL_ERROR(statement, expectedCode, expectedModule, expectedDescription)                  \
    do {                                                                                                     \
        SCOPED_TRACE(#statement);                                                                            \
        ::corvane::test::expectInternalError([&] { statement; }, #statement, (expectedCode),                 \
                                             (expectedModule), (expectedDescription));                       \
    } while (false)
