#pragma once

#include <cstdint>
#include <string>

#include "platform/LocalTime.h"

namespace folivar {

// Where a row's date taken came from, the first that has one.
enum class DateSource : std::uint8_t {
    Metadata,      // the picture's EXIF or XMP, the video's container
    FileName,      // a date in the file's name
    Modification,  // the file's modification time
    None,          // the file could not be read, not even its status
};

// When a row's photo or video was taken, in the computer's local time.
struct DateTaken {
    platform::LocalTime when;
    DateSource source = DateSource::None;

    bool usable() const { return source != DateSource::None; }
};

// Reads the date taken of the file at path: its metadata, else a date in
// its name, else its modification time. Reads only the file's first bytes
// and what the metadata library needs of it; opens nothing but regular
// files on real file systems (never a FIFO, which would wait). Never throws.
DateTaken readDateTaken(const std::string& path);

}  // namespace folivar
