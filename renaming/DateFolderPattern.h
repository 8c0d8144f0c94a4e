#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/LocalTime.h"

namespace folivar {

// A move target folder whose path holds dates between braces:
// "/Photos/{yyyy}/{yyyy-MM}" puts a photo taken on 15 April 2023 into
// "/Photos/2023/2023-04/". What a brace pair may hold is told by
// isDatePattern; a brace pair holding anything else stands as it is (a
// folder may be called "{backup}"). The folders from the first one that
// holds a pattern on are made when missing; the folder before it, the one
// chosen, must exist. A path with "." or ".." after that folder holds no
// pattern.
class DateFolderPattern {
public:
    explicit DateFolderPattern(std::string_view target);

    bool holdsDates() const { return !segments_.empty(); }
    // The folder before the first one holding a pattern, with its "/" ("" for
    // a relative path: the current folder).
    const std::string& base() const { return base_; }
    // The folder for a file taken at when, ending in "/", beginning with base().
    std::string folderFor(const platform::LocalTime& when) const;

private:
    struct Part {
        std::string text;  // a date format when date, else text as it stands
        bool date = false;
    };

    std::string base_;
    std::vector<std::vector<Part>> segments_;  // the folders after base_
};

// Whether the text between a pair of braces is a date pattern: a Qt date-time
// format as DateFormatEdit takes one (see formatDate) that writes one folder
// name. It holds at least one field, and nothing but the fields yy, yyyy, M
// to MMMM, d to dddd, H, HH, h, hh, m, mm, s, ss, z, zzz, AP, ap, A and a;
// characters other than letters, "/", "{" and "}"; and 'quoted text'
// without "/", "{" and "}" ('' for a quote).
bool isDatePattern(std::string_view text);

}  // namespace folivar
