#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folivar {

// The columns of the file list, in display order.
enum TFileColumn : uint8_t { fcFileName, fcPath, fcSize, fcType, fcModified, fcGroup, fcStatus };

constexpr int kFileColumnCount = 7;

// The header caption of a column: "FileName", "Path", "Size", ...
std::string_view columnCaption(TFileColumn column);

// One row of the file list: seven texts and nothing else. Path ends in "/",
// so the row's file is Path + FileName.
struct FileRow {
    std::string FileName, Path, Size, Type, Modified, Group, Status;

    std::string& cell(TFileColumn column);
    const std::string& cell(TFileColumn column) const;
    std::string file() const { return Path + FileName; }

    friend bool operator==(const FileRow&, const FileRow&) = default;
};

}  // namespace folivar
