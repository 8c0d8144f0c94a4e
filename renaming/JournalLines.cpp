#include "renaming/JournalLines.h"

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

}  // namespace

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

void appendBatchLine(std::string& out, std::size_t rows) {
    out += "batch\t";
    appendNumber(out, rows);
    out += '\n';
}

void appendFolderLine(std::string& out, std::size_t id, std::string_view folder) {
    out += "F\t";
    appendNumber(out, id);
    out += '\t';
    appendEscaped(out, folder);
    out += '\n';
}

void appendPlannedLine(std::string& out, std::size_t row, std::size_t fromFolder,
                       std::string_view fromName, std::size_t toFolder, std::string_view toName) {
    out += "P\t";
    appendNumber(out, row);
    out += '\t';
    appendNumber(out, fromFolder);
    out += '\t';
    appendEscaped(out, fromName);
    out += '\t';
    appendNumber(out, toFolder);
    out += '\t';
    appendEscaped(out, toName);
    out += '\n';
}

void appendIntentLine(std::string& out, std::size_t row, std::string_view to) {
    out += "I\t";
    appendNumber(out, row);
    out += '\t';
    appendEscaped(out, to);
    out += '\n';
}

void appendMovedLine(std::string& out, std::size_t row,
                     const std::optional<MovedIdentity>& identity) {
    out += "M\t";
    appendNumber(out, row);
    if (!identity) {
        out += "\t-\n";
        return;
    }
    for (const std::uint64_t field :
         {identity->device, identity->inode, static_cast<std::uint64_t>(identity->size),
          static_cast<std::uint64_t>(identity->modified.seconds),
          static_cast<std::uint64_t>(identity->modified.nanoseconds)}) {
        out += '\t';
        appendNumber(out, field);
    }
    out += '\n';
}

}  // namespace journal

}  // namespace folivar
