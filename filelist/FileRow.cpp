#include "filelist/FileRow.h"

#include <stdexcept>
#include <utility>

namespace folivar {

std::string_view columnCaption(TFileColumn column) {
    switch (column) {
        case fcFileName:
            return "FileName";
        case fcPath:
            return "Path";
        case fcSize:
            return "Size";
        case fcType:
            return "Type";
        case fcModified:
            return "Modified";
        case fcGroup:
            return "Group";
        case fcStatus:
            return "Status";
    }
    throw std::out_of_range("no such file list column");
}

std::string& FileRow::cell(TFileColumn column) {
    return const_cast<std::string&>(std::as_const(*this).cell(column));
}

const std::string& FileRow::cell(TFileColumn column) const {
    switch (column) {
        case fcFileName:
            return FileName;
        case fcPath:
            return Path;
        case fcSize:
            return Size;
        case fcType:
            return Type;
        case fcModified:
            return Modified;
        case fcGroup:
            return Group;
        case fcStatus:
            return Status;
    }
    throw std::out_of_range("no such file list column");
}

}  // namespace folivar
