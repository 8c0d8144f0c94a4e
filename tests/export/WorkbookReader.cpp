#include "WorkbookReader.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace folivar::test {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string fromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return out;
}

}  // namespace

WorkbookContents readWorkbook(const std::string& file) {
    const std::string python = FOLIVAR_WORKBOOK_PYTHON;
    if (python.empty()) {
        throw std::runtime_error("No python3 that imports openpyxl was found when configuring.");
    }
    const std::string command =
        quoted(python) + " " + quoted(FOLIVAR_WORKBOOK_DUMP) + " " + quoted(file) + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t got = 0; pipe != nullptr && (got = std::fread(buffer, 1, 4096, pipe)) > 0;) {
        output.append(buffer, got);
    }
    if (pipe == nullptr || ::pclose(pipe) != 0) {
        throw std::runtime_error("the workbook reader failed:\n" + output);
    }
    WorkbookContents contents;
    std::istringstream lines(output);
    for (std::string key, first, second; lines >> key >> first;) {
        if (key == "title") {
            contents.title = fromHex(first);
        } else if (key == "sheet") {
            contents.sheets.push_back(fromHex(first));
        } else if (key == "extent") {
            contents.extent = first;
        } else if (key == "formulas") {
            contents.formulas = std::stoi(first);
        } else if (lines >> second) {
            contents.cells[key] = {first, fromHex(second)};
        }
    }
    return contents;
}

}  // namespace folivar::test
