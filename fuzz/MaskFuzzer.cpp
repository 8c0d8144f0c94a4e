// Compiles random masks and matches random names against them. Besides crashes,
// hangs and sanitizer reports, it checks two properties that any correct
// matcher keeps: a leading or trailing '*' never loses a match.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "search/Masks.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t maskLength = data[0] % (size);
    const std::string mask(reinterpret_cast<const char*>(data + 1), std::min(maskLength, size - 1));
    const std::string name(reinterpret_cast<const char*>(data + 1 + mask.size()),
                           size - 1 - mask.size());
    try {
        const folivar::TMask compiled(mask);
        const bool matches = compiled.Matches(name);
        // A NUL ends a name, and in a mask it stands for the end of the name.
        if (!matches || name.find('\0') != std::string::npos ||
            mask.find('\0') != std::string::npos) {
            return 0;
        }
        try {
            check(folivar::TMask("*" + mask).Matches(name));
            check(folivar::TMask(mask + "*").Matches(name + "x"));
        } catch (const folivar::EMaskException&) {
            // one '*' too many: the only way the longer masks can fail to compile
            check(true);
        }
    } catch (const folivar::EMaskException& e) {
        const std::string text = e.what();
        const std::string expected = "'" + mask + "' is an invalid mask at (";
        if (mask.find('\0') == std::string::npos) {  // what() ends at a NUL
            check(text.rfind(expected, 0) == 0);
        }
    }
    return 0;
}
