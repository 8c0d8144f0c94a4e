#include "datetaken/DateTaken.h"

#include <memory>
#include <optional>
#include <string_view>

#include "datetaken/ContainerDate.h"
#include "datetaken/ExifDate.h"
#include "datetaken/MediaKind.h"
#include "datetaken/NameDate.h"
#include "platform/FileSystem.h"

namespace folivar {

namespace {

std::string_view nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string_view(path)
                                      : std::string_view(path).substr(slash + 1);
}

// The libraries open the file by its name again: the reader has just shown
// it to be a regular file on a real file system, which no library would wait
// on (only a FIFO put in its place in between could still be).
std::optional<StampedTime> metadataDate(platform::FileReader& reader, const std::string& path) {
    char header[kMediaHeaderSize] = {};
    const std::int64_t got = reader.read(header, sizeof header);
    if (got < 0) {
        return std::nullopt;
    }
    if (mediaKindOf(std::string_view(header, static_cast<std::size_t>(got))) == MediaKind::Video) {
        return videoDateTaken(path);
    }
    return pictureDateTaken(path);
}

}  // namespace

DateTaken readDateTaken(const std::string& path) {
    platform::FileSystem& files = platform::fileSystem();
    platform::OpenFailure failure = platform::OpenFailure::None;
    platform::FileStatus status;
    bool statusKnown = false;
    try {
        if (std::unique_ptr<platform::FileReader> reader = files.openForReading(path, failure)) {
            status = reader->status();
            statusKnown = true;
            if (const std::optional<StampedTime> taken = metadataDate(*reader, path)) {
                return DateTaken{taken->local(), DateSource::Metadata};
            }
        }
        if (const std::optional<platform::LocalTime> named = dateInName(nameOf(path))) {
            return DateTaken{*named, DateSource::FileName};
        }
        if (statusKnown || files.status(path, true, status)) {
            return DateTaken{platform::toLocalTime(status.modificationTime),
                             DateSource::Modification};
        }
    } catch (...) {
        // Out of memory in the middle of one file: that file has no date.
    }
    return DateTaken{};
}

}  // namespace folivar
