#include "datetaken/ContainerDate.h"

#include <MediaInfo/MediaInfo.h>
#include <ZenLib/Ztring.h>

#include <array>

#include "datetaken/CpuBoundedRead.h"

namespace folivar {

namespace {

namespace mi = MediaInfoLib;

// MediaInfo's General fields that hold the date, the most telling first.
constexpr std::array<const mi::Char*, 4> kDateFields{
    {__T("Recorded_Date"), __T("Encoded_Date"), __T("Tagged_Date"), __T("Mastered_Date")}};

// MediaInfo's texts are wide; the dates in them are ASCII.
std::string narrow(const mi::String& text) {
    std::string out;
    out.reserve(text.size());
    for (const mi::Char c : text) {
        out += c > 0 && c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

// A path the way MediaInfo turns it back into bytes to open it.
mi::String widen(const std::string& path) {
    return ZenLib::Ztring().From_Local(path.c_str());
}

std::optional<StampedTime> containerDate(const std::string& path) {
    try {
        mi::MediaInfo info;
        // The headers only, and no look for numbered siblings of the file.
        info.Option(__T("ParseSpeed"), __T("0"));
        info.Option(__T("File_TestContinuousFileNames"), __T("0"));
        if (info.Open(widen(path)) == 0) {
            return std::nullopt;
        }
        for (const mi::Char* field : kDateFields) {
            if (std::optional<StampedTime> taken =
                    readDateTimeText(narrow(info.Get(mi::Stream_General, 0, field)))) {
                return taken;
            }
        }
    } catch (...) {
        // A damaged file: the name or the modification time gives the date.
    }
    return std::nullopt;
}

}  // namespace

BoundedDate videoDateTaken(const std::string& path, std::chrono::milliseconds processorLimit) {
    return readWithinCpu(processorLimit, [path] { return containerDate(path); });
}

std::optional<StampedTime> videoDateTaken(const std::string& path) {
    return videoDateTaken(path, kVideoReadLimit).taken;
}

}  // namespace folivar
