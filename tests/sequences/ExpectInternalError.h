#pragma once

#include "platform/InternalError.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {

// Runs action, which must raise an internal error with this code, module and description.
template <class Action>
void expectInternalError(Action&& action, int code, const std::string& module,
                         const std::string& description) {
    try {
        action();
    } catch (const InternalError& error) {
        EXPECT_EQ(error.code(), code);
        EXPECT_EQ(error.module(), module);
        EXPECT_EQ(error.description(), description);
        return;
    }
    ADD_FAILURE() << "no internal error; expected \"" << description << "\"";
}

} // namespace corvane
