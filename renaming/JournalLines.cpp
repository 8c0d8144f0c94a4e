#include "renaming/JournalLines.h"

#include <cstdio>
#include <utility>

namespace folivar {

MovedIdentity MovedIdentity::of(const platform::FileStatus& status) {
    return MovedIdentity{status.device, status.inode, status.size, status.modificationTime};
}

namespace journal {

namespace {

void appendNumber(std::string& out, std::uint64_t value) {
    char digits[24];
    char* end = digits + sizeof digits;
    char* at = end;
    do {
        *--at = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(at, end);
}

// Five fields, each after a tab; one "-" when there is none.
void appendIdentity(std::string& out, const std::optional<MovedIdentity>& identity) {
    if (!identity) {
        out += "\t-";
        return;
    }
    for (const std::uint64_t field :
         {identity->device, identity->inode, static_cast<std::uint64_t>(identity->size),
          static_cast<std::uint64_t>(identity->modified.seconds),
          static_cast<std::uint64_t>(identity->modified.nanoseconds)}) {
        out += '\t';
        appendNumber(out, field);
    }
}

// A row's line of an identity ("-" for none).
void appendRowLine(std::string& out, std::string_view kind, std::size_t row,
                   const std::optional<MovedIdentity>& identity) {
    out += kind;
    appendNumber(out, row);
    appendIdentity(out, identity);
    out += '\n';
}

}  // namespace

std::optional<BatchState> stateOfLine(std::string_view line) {
    static constexpr std::pair<std::string_view, BatchState> kStates[] = {
        {kBegin, BatchState::Running}, {kEnd, BatchState::Ended},     {kKept, BatchState::Kept},
        {kUndo, BatchState::Undoing},  {kUndone, BatchState::Undone}, {kVoid, BatchState::Void},
    };
    for (const auto& [text, state] : kStates) {
        if (line == text.substr(0, text.size() - 1)) {
            return state;
        }
    }
    return std::nullopt;
}

BatchState stateOfTail(std::string_view tail) {
    const std::size_t end = tail.rfind('\n');
    if (end == std::string_view::npos) {
        return BatchState::Running;
    }
    const std::size_t start = tail.rfind('\n', end == 0 ? 0 : end - 1);
    if (start == std::string_view::npos || start >= end) {
        return BatchState::Running;  // a long line: no status line
    }
    return stateOfLine(tail.substr(start + 1, end - start - 1)).value_or(BatchState::Running);
}

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
}

std::string unescaped(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const char next = field[++i];
        text += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return text;
}

std::string whenText(const platform::LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

namespace {

// "<tag>\t<number>\t<escaped text>": the shape of the batch, folder and
// shared lines.
void appendNumberedText(std::string& out, std::string_view tag, std::size_t number,
                        std::string_view text) {
    out += tag;
    out += '\t';
    appendNumber(out, number);
    out += '\t';
    appendEscaped(out, text);
    out += '\n';
}

}  // namespace

void appendBatchLine(std::string& out, std::size_t rows, std::string_view when) {
    appendNumberedText(out, "batch", rows, when);
}

void appendFolderLine(std::string& out, std::size_t id, std::string_view folder) {
    appendNumberedText(out, "F", id, folder);
}

// Where a file is to move, from and to, after the fields before them.
void appendFromTo(std::string& out, std::size_t fromFolder, std::string_view fromName,
                  std::size_t toFolder, std::string_view toName) {
    appendNumber(out, fromFolder);
    out += '\t';
    appendEscaped(out, fromName);
    out += '\t';
    appendNumber(out, toFolder);
    out += '\t';
    appendEscaped(out, toName);
    out += '\n';
}

void appendPlannedLine(std::string& out, std::size_t row, std::size_t fromFolder,
                       std::string_view fromName, std::size_t toFolder, std::string_view toName) {
    out += "P\t";
    appendNumber(out, row);
    out += '\t';
    appendFromTo(out, fromFolder, fromName, toFolder, toName);
}

void appendSideLine(std::string& out, std::size_t entry, std::size_t row, std::size_t fromFolder,
                    std::string_view fromName, std::size_t toFolder, std::string_view toName) {
    out += "A\t";
    appendNumber(out, entry);
    out += '\t';
    appendNumber(out, row);
    out += '\t';
    appendFromTo(out, fromFolder, fromName, toFolder, toName);
}

void appendMakingLine(std::string& out, std::size_t folder, std::string_view path) {
    out += "D\t";
    appendNumber(out, folder);
    out += '\t';
    appendEscaped(out, path);
    out += '\n';
}

void appendMadeLine(std::string& out, std::size_t folder, const platform::FileStatus* made) {
    out += "C\t";
    appendNumber(out, folder);
    if (made == nullptr) {
        out += "\t-\n";
        return;
    }
    out += '\t';
    appendNumber(out, made->device);
    out += '\t';
    appendNumber(out, made->inode);
    out += '\n';
}

void appendSourceLine(std::string& out, std::size_t row,
                      const std::optional<MovedIdentity>& identity) {
    appendRowLine(out, "S\t", row, identity);
}

void appendIntentLine(std::string& out, std::size_t row, std::string_view to) {
    out += "I\t";
    appendNumber(out, row);
    out += '\t';
    appendEscaped(out, to);
    out += '\n';
}

void appendMovedLine(std::string& out, std::size_t row) {
    out += "M\t";
    appendNumber(out, row);
    out += '\n';
}

void appendMovedLine(std::string& out, std::size_t row,
                     const std::optional<MovedIdentity>& identity) {
    appendRowLine(out, "M\t", row, identity);
}

void appendLinkLine(std::string& out, std::size_t row, std::string_view path,
                    std::string_view original, std::string_view aside,
                    const MovedIdentity& duplicate, const MovedIdentity& originalFile) {
    out += "L\t";
    appendNumber(out, row);
    for (const std::string_view field : {path, original, aside}) {
        out += '\t';
        appendEscaped(out, field);
    }
    appendIdentity(out, duplicate);
    appendIdentity(out, originalFile);
    out += '\n';
}

void appendLinkedLine(std::string& out, std::size_t row) {
    out += "K\t";
    appendNumber(out, row);
    out += '\n';
}

void appendSharedLine(std::string& out, std::size_t row, std::string_view path) {
    appendNumberedText(out, "H", row, path);
}

}  // namespace journal

}  // namespace folivar
