#include "platform/HelperStart.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace folivar::platform {
namespace {

// The caller's waits as each test scripts them.
std::uint64_t scriptedWaits = 0;

std::uint64_t waitsSoFar() {
    return scriptedWaits;
}

// due() step by step, the waits set before each step: '+' due, '-' not yet.
std::string dueSteps(HelperStart& start, const std::vector<std::uint64_t>& waitsAtStep) {
    std::string seen;
    for (const std::uint64_t waits : waitsAtStep) {
        scriptedWaits = waits;
        seen += start.due() ? '+' : '-';
    }
    return seen;
}

TEST(HelperStart, DueOnceTheCallerHasWaitedEnoughAtTheNextLook) {
    struct Case {
        const char* name;
        bool fromStart;
        std::size_t waitsBeforeStart;
        std::uint64_t waitsAtStart;
        std::vector<std::uint64_t> waitsAtStep;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"asked to start at once", true, 16, 0, {0, 0}, "++"},
        {"everything cached", false, 16, 0, std::vector<std::uint64_t>(40, 3),
         std::string(40, '-')},
        {"waits seen only at every fourth step", false, 16, 0, {16, 16, 16, 16}, "---+"},
        {"one wait short", false, 16, 0, {15, 15, 15, 15, 15, 15, 15, 16}, "-------+"},
        {"counted from the start, not from zero",
         false,
         16,
         100,
         {110, 110, 110, 110, 116, 116, 116, 116},
         "-------+"},
        {"no waits needed: the first look", false, 0, 7, {7, 7, 7, 7}, "---+"},
        {"stays due while it is asked", false, 2, 0, {2, 2, 2, 2, 2, 2, 2, 2}, "---+---+"},
    };
    for (const Case& c : cases) {
        scriptedWaits = c.waitsAtStart;
        HelperStart start(c.fromStart, c.waitsBeforeStart, &waitsSoFar);
        EXPECT_EQ(start.atOnce(), c.fromStart) << c.name;
        EXPECT_EQ(dueSteps(start, c.waitsAtStep), c.expected) << c.name;
    }
}

TEST(HelperStart, RestartCountsTheWaitsAndTheStepsAfresh) {
    scriptedWaits = 0;
    HelperStart start(false, 16, &waitsSoFar);
    EXPECT_EQ(dueSteps(start, {20, 20}), "--");
    start.restart();  // at 20 waits, two steps into a look
    EXPECT_EQ(dueSteps(start, {30, 30, 30, 30}), "----") << "only 10 waits since the restart";
    EXPECT_EQ(dueSteps(start, {35, 35, 36, 36}), "---+") << "16 since the restart";
    start.restart();
    EXPECT_EQ(dueSteps(start, {36, 36, 36, 36}), "----") << "due no longer";
}

TEST(HelperStart, CountsTheCallingThreadsOwnWaitsByDefault) {
    HelperStart start(false, 16);
    for (int i = 0; i < 16; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(1));  // gives up the processor
    }
    EXPECT_EQ(dueSteps(start, {0, 0, 0, 0}), "---+");  // the scripted waits play no part
}

}  // namespace
}  // namespace folivar::platform
