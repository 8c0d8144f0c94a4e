// Reads the date taken of random files: the first bytes choose the reader
// (exiv2 for pictures, MediaInfo for video containers), as they do for the
// user's files. Besides crashes, hangs and sanitizer reports, it checks that
// a file without a date in its name gets its date from its metadata or its
// modification time, and that the date exists on the calendar.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "datetaken/CalendarTime.h"
#include "datetaken/DateTaken.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// One file for the whole run, in the temporary folder.
const std::string& inputPath() {
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/folivar-fuzz-" +
               std::to_string(::getpid()) + ".media";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = inputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    std::fclose(file);
    if (written) {
        const folivar::DateTaken taken = folivar::readDateTaken(path);
        check(taken.source == folivar::DateSource::Metadata ||
              taken.source == folivar::DateSource::Modification);
        const auto& t = taken.when;
        check(
            folivar::calendarTime(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond)
                .has_value());
    }
    std::remove(path.c_str());
    return 0;
}
