#include "renaming/DateFolderPattern.h"

#include "datetaken/DateFormat.h"

namespace folivar {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool breaksAFolderName(char c) {
    return c == '/' || c == '{' || c == '}';
}

// How many times c stands at the start of text.
std::size_t runOf(std::string_view text, char c) {
    std::size_t n = 0;
    while (n < text.size() && text[n] == c) {
        ++n;
    }
    return n;
}

// The letters a field of this letter takes, at the start of text; 0 when
// they are no field.
std::size_t fieldAt(std::string_view text) {
    const char c = text[0];
    const std::size_t run = runOf(text, c);
    switch (c) {
        case 'y':
            return run == 2 || run == 4 ? run : 0;
        case 'M':
        case 'd':
            return run <= 4 ? run : 0;
        case 'H':
        case 'h':
        case 'm':
        case 's':
            return run <= 2 ? run : 0;
        case 'z':
            return run == 1 || run == 3 ? run : 0;
        case 'A':
        case 'a':
            if (run > 1) {
                return 0;
            }
            return text.size() > 1 && text[1] == (c == 'A' ? 'P' : 'p') ? 2 : 1;
        default:
            return 0;
    }
}

// The end of the quoted text that starts at text[0]; npos when it is not
// closed or holds what a folder name may not.
std::size_t quoteEnd(std::string_view text) {
    std::size_t i = 1;
    while (i < text.size()) {
        if (text[i] == '\'') {
            if (i + 1 < text.size() && text[i + 1] == '\'') {
                i += 2;
                continue;
            }
            return i + 1;
        }
        if (breaksAFolderName(text[i])) {
            return std::string_view::npos;
        }
        ++i;
    }
    return std::string_view::npos;
}

}  // namespace

bool isDatePattern(std::string_view text) {
    bool field = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::string_view rest = text.substr(at);
        std::size_t used = 1;
        if (rest[0] == '\'') {
            used = quoteEnd(rest);
            if (used == std::string_view::npos) {
                return false;
            }
        } else if (breaksAFolderName(rest[0])) {
            return false;
        } else if (isLetter(rest[0])) {
            used = fieldAt(rest);
            if (used == 0) {
                return false;
            }
            field = true;
        }
        at += used;
    }
    return field;
}

DateFolderPattern::DateFolderPattern(std::string_view target) {
    if (target.find('{') == std::string_view::npos) {
        return;  // the plain target of most moves, asked for on every row
    }
    std::size_t start = 0;
    bool found = false;
    while (start < target.size()) {
        const std::size_t slash = std::min(target.find('/', start), target.size());
        const std::string_view name = target.substr(start, slash - start);
        std::vector<Part> parts;
        bool dated = false;
        std::size_t at = 0;
        while (at < name.size()) {
            const std::size_t open = name.find('{', at);
            const std::size_t close =
                open == std::string_view::npos ? open : name.find('}', open + 1);
            if (close == std::string_view::npos) {
                parts.push_back(Part{std::string(name.substr(at)), false});
                break;
            }
            const std::string_view inside = name.substr(open + 1, close - open - 1);
            const bool date = isDatePattern(inside);
            // The text before the brace, and the braces themselves unless a date.
            parts.push_back(
                Part{std::string(name.substr(at, (date ? open : close + 1) - at)), false});
            if (date) {
                parts.push_back(Part{std::string(inside), true});
                dated = true;
            }
            at = close + 1;
        }
        if (!found && dated) {
            found = true;
            base_ = std::string(target.substr(0, start));
        }
        if (found && !name.empty()) {
            if (name == "." || name == "..") {
                segments_.clear();
                base_.clear();
                return;
            }
            segments_.push_back(std::move(parts));
        }
        start = slash + 1;
    }
}

std::string DateFolderPattern::folderFor(const platform::LocalTime& when) const {
    std::string folder = base_;
    for (const std::vector<Part>& segment : segments_) {
        for (const Part& part : segment) {
            folder += part.date ? formatDate(part.text, when) : part.text;
        }
        folder += '/';
    }
    return folder;
}

}  // namespace folivar
