#include "ListRows.h"

#include <filesystem>

namespace folivar::test {

void addRow(FileTable& table, const std::string& path) {
    const auto slash = path.rfind('/');
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    table.append({path.substr(slash + 1), path.substr(0, slash + 1),
                  std::to_string(error ? 0 : size), "", "1.1.2024", "0", "-"});
}

std::vector<std::string> marks(const FileTable& table) {
    std::vector<std::string> out;
    for (const FileRow& row : table) {
        out.push_back(row.FileName + " " + row.Group + " " + row.Status);
    }
    return out;
}

}  // namespace folivar::test
