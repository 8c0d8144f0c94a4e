#include "filelist/OpenRequests.h"

#include "platform/FileSystem.h"

namespace folivar {

std::vector<OpenRequest> openFilesRequests(const FileTable& table, const RowSelection& selection) {
    requireSelectionFits(selection, table.size());
    std::vector<OpenRequest> requests;
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (selection[row]) {
            requests.push_back({table[row].file(), table[row].Path});
        }
    }
    return requests;
}

std::optional<OpenRequest> openFileRequest(const FileTable& table, const RowSelection& selection) {
    requireSelectionFits(selection, table.size());
    const std::optional<std::size_t> row = firstSelected(selection);
    if (!row) {
        return std::nullopt;
    }
    return OpenRequest{table[*row].file(), table[*row].Path};
}

std::optional<OpenRequest> openFolderRequest(const FileTable& table,
                                             const RowSelection& selection) {
    requireSelectionFits(selection, table.size());
    const std::optional<std::size_t> row = firstSelected(selection);
    if (!row) {
        return std::nullopt;
    }
    return OpenRequest{table[*row].Path, table[*row].Path};
}

std::optional<std::string> shellFolder(const FileTable& table, const RowSelection& selection) {
    requireSelectionFits(selection, table.size());
    const std::optional<std::size_t> row = firstSelected(selection);
    if (!row || !platform::fileSystem().isDirectory(table[*row].Path)) {
        return std::nullopt;
    }
    return table[*row].Path;
}

}  // namespace folivar
