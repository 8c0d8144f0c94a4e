#include "platform/HiddenName.h"

#include <sys/random.h>
#include <time.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace folivar::platform {

namespace {

// Longest name part kept: with the dot, the tag and the digits the whole
// stays well inside NAME_MAX (255 bytes).
constexpr std::size_t kKeptNameBytes = 200;

std::uint32_t randomWord() {
    std::uint32_t word = 0;
    if (::getrandom(&word, sizeof word, GRND_NONBLOCK) == sizeof word) {
        return word;
    }
    // No entropy yet (very early boot): still different on every call.
    static std::atomic<std::uint32_t> counter{0};
    struct timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_nsec) ^ (counter.fetch_add(1) * 2654435761U);
}

}  // namespace

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string hiddenSibling(const std::string& path, const char* tag) {
    const auto slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08x", randomWord());
    return folder + "." + name.substr(0, kKeptNameBytes) + "." + tag + "-" + digits;
}

}  // namespace folivar::platform
