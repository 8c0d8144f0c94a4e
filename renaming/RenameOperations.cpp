#include "renaming/RenameOperations.h"

#include "filelist/ProgressReporter.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "renaming/TimeSuffix.h"

namespace folivar {

namespace {

// A composed name that is not one name of one folder (a prefix may hold a "/"
// anywhere but at its end) would send the file somewhere else: such a row is
// an error and its file is not touched.
bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// The folder with one separator after it: "/" stays "/".
std::string folderWithSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

RowPlan planRename(const NamingScheme& scheme, std::size_t row, const FileRow& file) {
    RowPlan plan{ComposeName(scheme, row, file.FileName), file.Path};
    if (plan.name == file.FileName) {
        plan.settled = kInvariably;
    } else if (!isPlainName(plan.name)) {
        plan.settled = kError;
    }
    return plan;
}

// A row already in the target under its new name is left alone; a name taken
// there gets the time of day before its extension (not tested again: a second
// clash in the same millisecond fails the move).
RowPlan planMove(const RenameSettings& settings, std::size_t row, const FileRow& file) {
    RowPlan plan{settings.kind == RenameKind::Move
                     ? file.FileName
                     : ComposeName(settings.scheme, row, file.FileName),
                 folderWithSeparator(settings.targetFolder)};
    const bool unchanged = plan.name == file.FileName && plan.folder == file.Path;
    if (!unchanged && isPlainName(plan.name) &&
        platform::fileSystem().fileExists(plan.folder + plan.name)) {
        plan.name = WithSuffixBeforeExtension(plan.name, ExtensionOf(file.FileName).size(),
                                              TimeSuffix(platform::clock().localNow()));
    }
    if (unchanged) {
        plan.settled = kInvariably;
    } else if (!isPlainName(plan.name)) {
        plan.settled = kError;
    }
    return plan;
}

}  // namespace

bool isFailedOutcome(std::string_view status) {
    return status == kError || status == kAlreadyExists;
}

RowPlan planRow(const RenameSettings& settings, std::size_t row, const FileRow& file) {
    return settings.kind == RenameKind::Rename ? planRename(settings.scheme, row, file)
                                               : planMove(settings, row, file);
}

std::size_t renameRows(FileTable& table, const RenameSettings& settings, ProgressSink& progress) {
    platform::FileSystem& fs = platform::fileSystem();
    const bool renaming = settings.kind == RenameKind::Rename;
    ProgressReporter report(progress, table.size());
    std::size_t done = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        FileRow& row = table[i];
        const RowPlan plan = planRow(settings, i, row);
        const std::string destination = plan.folder + plan.name;
        if (plan.settled != nullptr) {
            row.Status = plan.settled;
        } else if (fs.moveFile(row.file(), destination)) {
            row.FileName = plan.name;
            if (!renaming) {
                row.Path = plan.folder;
            }
            row.Status = renaming ? kRenamed : kMoved;
            ++done;
        } else if (renaming) {
            // The move never replaces, so a taken name is only asked about after
            // a refusal: one call less per file, the same outcome. A folder of
            // that name is not a file that exists.
            row.Status = fs.fileExists(destination) ? kAlreadyExists : kError;
        } else {
            row.Status = kError;
        }
        report.rowDone();
    }
    report.status(std::to_string(done) + " files from " + std::to_string(table.size()) + " are " +
                  (renaming ? "renamed" : "moved"));
    return done;
}

}  // namespace folivar
