#include "filelist/RowTexts.h"

#include "filelist/DateText.h"
#include "search/Utf8.h"

namespace folivar {

std::string typeOfName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    return std::string(name.substr(dot + 1));
}

bool isShortName(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    if (slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return true;
    }
    // Characters, not bytes: a byte that starts no valid sequence counts as one.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < dot; i += utf8CharLength(name, i)) {
        if (++characters > kShortNameBaseLength) {
            return false;
        }
    }
    return true;
}

FileRow rowFromFile(const TFileInformations& file) {
    FileRow row;
    row.FileName = file.Name;
    row.Path = file.Path;
    row.Size = std::to_string(file.Size);
    row.Type = typeOfName(file.Name);
    row.Modified = DateToStr(file.LastWriteTime);
    row.Group = "0";
    row.Status = "-";
    return row;
}

}  // namespace folivar
