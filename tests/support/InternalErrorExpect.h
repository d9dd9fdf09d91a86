#pragma once

#include "platform/InternalError.h"

#include <gtest/gtest.h>

#include <string>

// Runs a statement that must raise an internal error and checks its code, module and description.
#define EXPECT_INTERNAL_ERROR(statement, expectedCode, expectedModule, expectedDescription)                  \
    do {                                                                                                     \
        bool raised_ = false;                                                                                \
        try {                                                                                                \
            statement;                                                                                       \
        } catch (const corvane::InternalError& error_) {                                                     \
            raised_ = true;                                                                                  \
            EXPECT_EQ(error_.code(), (expectedCode));                                                        \
            EXPECT_EQ(error_.module(), std::string(expectedModule));                                         \
            EXPECT_EQ(error_.description(), std::string(expectedDescription));                               \
        }                                                                                                    \
        EXPECT_TRUE(raised_) << "no internal error from: " #statement;                                       \
    } while (false)
