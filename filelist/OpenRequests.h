#pragma once

#include <optional>
#include <string>
#include <vector>

#include "filelist/FileTable.h"
#include "filelist/RowSelection.h"

namespace folivar {

// One call of the desktop's default action: Desktop::open(file, directory).
struct OpenRequest {
    std::string file;
    std::string directory;

    friend bool operator==(const OpenRequest&, const OpenRequest&) = default;
};

// Open File(s): each selected row in list order, its file in its own folder.
// The window shows kPleaseWait before and filesInListText after the calls.
std::vector<OpenRequest> openFilesRequests(const FileTable& table, const RowSelection& selection);

// A double click: the first selected row's file, as open files opens it.
// nullopt when no row is selected.
std::optional<OpenRequest> openFileRequest(const FileTable& table, const RowSelection& selection);

// Open Folder: the first selected row's folder, opened in itself, so the
// desktop shows it in its file manager. nullopt when no row is selected.
std::optional<OpenRequest> openFolderRequest(const FileTable& table, const RowSelection& selection);

// Open In Shell: the first selected row's Path text when a folder of that
// name exists (the window selects it in ShellTreeView and checks CheckView);
// nullopt when no row is selected or the folder is gone.
std::optional<std::string> shellFolder(const FileTable& table, const RowSelection& selection);

}  // namespace folivar
