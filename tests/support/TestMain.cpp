// The engine tests' main: the user's state folder points into a temporary
// folder of this process, so no test ever writes a journal into the real one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/TemporaryFolder.h"

int main(int argc, char** argv) {
    const std::string state = folivar::platform::createUniqueFolder(
        folivar::platform::temporaryFolder(), "folivar-test-state-");
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    testing::InitGoogleMock(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(state, ignored);
    return result;
}
