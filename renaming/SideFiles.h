#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "filelist/FileTable.h"

namespace folivar {

// The side files of the list's rows: files beside a row's file that belong
// to it by name, as photo editors, phones and cloud exports write them, and
// go wherever it goes under its new name. A side file is named after the
// row's file without its extension (NAME) or with it (NAME.EXT):
//   NAME.xmp NAME.XMP NAME.aae NAME.AAE NAME.thm NAME.THM NAME.pp3 NAME.dop
//   NAME.EXT.xmp NAME.EXT.XMP NAME.EXT.pp3 NAME.EXT.dop NAME.EXT.json
// Only regular files count, never a link. A file that is itself a row of the
// list is no side file: it moves as its own row only. A side file that two
// rows share by name (IMG_1.xmp beside IMG_1.JPG and IMG_1.CR2) goes with
// the first of them in list order.
class SideFiles {
public:
    struct Side {
        std::size_t row = 0;
        std::string name;      // in the row's folder
        std::size_t stem = 0;  // how much of name is its row's name (NAME or NAME.EXT)
        bool whole = false;    // named after NAME.EXT
    };

    // None at all.
    SideFiles() = default;
    // Found with one listing of each folder the rows are in; nothing else is
    // looked at, so a list without side files costs those listings only.
    static SideFiles of(const FileTable& table);

    std::size_t size() const { return sides_.size(); }
    const Side& operator[](std::size_t k) const { return sides_[k]; }
    // The side files of a row, by name: from first up to, not including, second.
    std::pair<std::size_t, std::size_t> of(std::size_t row) const;

    // The name side file k takes when its row's file takes newName: the
    // extension a name keeps, and any time of day before it, go along.
    std::string newName(std::size_t k, std::string_view rowNewName) const;

private:
    std::vector<Side> sides_;  // by row, then by name
};

}  // namespace folivar
