#pragma once

#include <gtest/gtest.h>

#include <string>

// Expects the statement to throw the exception type with exactly this message
// (what()), as {fmt}'s tests do.
#define EXPECT_THROW_MSG(statement, exception, message)                    \
    EXPECT_THROW(                                                          \
        {                                                                  \
            try {                                                          \
                statement;                                                 \
            } catch (const exception& thrown) {                            \
                EXPECT_STREQ(thrown.what(), std::string(message).c_str()); \
                throw;                                                     \
            }                                                              \
        },                                                                 \
        exception)
