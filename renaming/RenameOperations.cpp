#include "renaming/RenameOperations.h"

#include <optional>

#include "filelist/ListStatus.h"
#include "filelist/ProgressReporter.h"
#include "platform/Clock.h"
#include "renaming/DateFolderPattern.h"
#include "renaming/FileSystemNames.h"
#include "renaming/TimeSuffix.h"

namespace folivar {

namespace {

// A composed name that is not one name of one folder (a prefix may hold a "/"
// anywhere but at its end) would send the file somewhere else: such a row is
// an error and its file is not touched.
const char* whyNotPlain(const std::string& name) {
    if (name.empty()) {
        return "the new name is empty";
    }
    if (name == "." || name == "..") {
        return "the new name names a folder";
    }
    if (name.find('/') != std::string::npos) {
        return "the new name holds a \"/\"";
    }
    if (name.find('\0') != std::string::npos) {
        return "the new name holds a zero byte";
    }
    return nullptr;
}

bool isPlainName(const std::string& name) {
    return whyNotPlain(name) == nullptr;
}

void settleUnlessPlain(RowPlan& plan) {
    if ((plan.reason = whyNotPlain(plan.name)) != nullptr) {
        plan.settled = kError;
    }
}

// The folder with one separator after it: "/" stays "/".
std::string folderWithSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

DateTaken dateTakenOf(const RenameSettings& settings, const FileRow& file) {
    return settings.dates != nullptr ? settings.dates->of(file) : readDateTaken(file.file());
}

// The row's new name; nullopt for a name made of the date taken of a file
// that has none (it could not be read).
std::optional<std::string> composedName(const RenameSettings& settings, std::size_t row,
                                        const FileRow& file) {
    if (!usesDateTaken(settings.scheme.structure)) {
        return ComposeName(settings.scheme, row, file.FileName);
    }
    const DateTaken taken = dateTakenOf(settings, file);
    if (!taken.usable()) {
        return std::nullopt;
    }
    return ComposeName(settings.scheme, row, file.FileName, &taken.when);
}

RowPlan withoutDate(const FileRow& file) {
    return RowPlan{file.FileName, file.Path, kError, "the file has no date taken"};
}

RowPlan planRename(const RenameSettings& settings, std::size_t row, const FileRow& file) {
    std::optional<std::string> name = composedName(settings, row, file);
    if (!name) {
        return withoutDate(file);
    }
    RowPlan plan{std::move(*name), file.Path};
    if (plan.name == file.FileName) {
        plan.settled = kInvariably;
    } else {
        settleUnlessPlain(plan);
    }
    return plan;
}

// The folder a moved row goes into: the target, or the folder its date
// taken gives (nullopt without one).
std::optional<std::string> targetOf(const RenameSettings& settings, const FileRow& file,
                                    std::size_t& made) {
    const DateFolderPattern pattern(settings.targetFolder);
    if (!pattern.holdsDates()) {
        return folderWithSeparator(settings.targetFolder);
    }
    const DateTaken taken = dateTakenOf(settings, file);
    if (!taken.usable()) {
        return std::nullopt;
    }
    made = pattern.base().size();
    return pattern.folderFor(taken.when);
}

// A row already in the target under its new name is left alone; a name taken
// there gets the time of day before its extension (not tested again: a second
// clash in the same millisecond fails the move).
RowPlan planMove(const RenameSettings& settings, std::size_t row, const FileRow& file,
                 NameOracle& names) {
    std::optional<std::string> name =
        settings.kind == RenameKind::Move ? file.FileName : composedName(settings, row, file);
    std::size_t made = std::string::npos;
    std::optional<std::string> folder = targetOf(settings, file, made);
    if (!name || !folder) {
        return withoutDate(file);
    }
    RowPlan plan{std::move(*name), std::move(*folder)};
    plan.made = made;
    const bool unchanged = plan.name == file.FileName && plan.folder == file.Path;
    if (!unchanged && isPlainName(plan.name) && names.fileExists(plan.folder + plan.name)) {
        plan.name = WithSuffixBeforeExtension(plan.name, ExtensionOf(file.FileName).size(),
                                              TimeSuffix(platform::clock().localNow()));
        plan.suffixed = true;
    }
    if (unchanged) {
        plan.settled = kInvariably;
    } else {
        settleUnlessPlain(plan);
    }
    return plan;
}

// The row's side files after its file, under names made from its new one;
// false when one of them stays.
bool moveSides(const RenameSettings& settings, std::size_t row, const FileRow& file,
               RowOutcome& outcome, NameOracle& names) {
    if (!settings.sides) {
        return true;
    }
    const SideFiles& sides = *settings.sides;
    const auto [first, last] = sides.of(row);
    bool all = true;
    for (std::size_t k = first; k < last; ++k) {
        RowOutcome::Side& side = outcome.sides.emplace_back();
        side.from = file.Path + sides[k].name;
        side.to = outcome.plan.folder + sides.newName(k, outcome.plan.name);
        side.moved = names.moveSide(k, side.from, side.to);
        if (!side.moved) {
            side.why = names.refusal();
            all = false;
        }
    }
    return all;
}

}  // namespace

bool isFailedOutcome(std::string_view status) {
    // An undo's "Not restored: <why>" left a file where the user did not want it too.
    return status == kError || status == kAlreadyExists || status.starts_with("Not restored: ") ||
           status.ends_with(", but a side file stays");
}

bool isMovedOutcome(const char* status) {
    return sameStatus(status, kRenamed) || sameStatus(status, kMoved) ||
           sameStatus(status, kRenamedSideStays) || sameStatus(status, kMovedSideStays);
}

bool usesDatesTaken(const RenameSettings& settings) {
    return (settings.kind != RenameKind::Move && usesDateTaken(settings.scheme.structure)) ||
           (settings.kind != RenameKind::Rename &&
            DateFolderPattern(settings.targetFolder).holdsDates());
}

RenameSettings withSideFiles(RenameSettings settings, const FileTable& table) {
    if (!settings.sides) {
        settings.sides = std::make_shared<const SideFiles>(SideFiles::of(table));
    }
    return settings;
}

RowPlan planRow(const RenameSettings& settings, std::size_t row, const FileRow& file,
                NameOracle& names) {
    return settings.kind == RenameKind::Rename ? planRename(settings, row, file)
                                               : planMove(settings, row, file, names);
}

RowPlan planRow(const RenameSettings& settings, std::size_t row, const FileRow& file) {
    FileSystemNames names;
    return planRow(settings, row, file, names);
}

RowOutcome decideRow(const RenameSettings& settings, std::size_t row, const FileRow& file,
                     NameOracle& names) {
    RowOutcome outcome{planRow(settings, row, file, names)};
    if (outcome.plan.settled != nullptr) {
        outcome.status = outcome.plan.settled;
        return outcome;
    }
    const bool renaming = settings.kind == RenameKind::Rename;
    if (outcome.plan.made != std::string::npos &&
        !names.makeFolders(outcome.plan.folder, outcome.plan.made, outcome.made)) {
        outcome.status = kError;
        return outcome;
    }
    const std::string destination = outcome.plan.folder + outcome.plan.name;
    if (names.move(row, file.file(), destination)) {
        const bool all = moveSides(settings, row, file, outcome, names);
        outcome.status =
            renaming ? (all ? kRenamed : kRenamedSideStays) : (all ? kMoved : kMovedSideStays);
    } else if (renaming && names.fileExists(destination)) {
        // The move never replaces, so a taken name is only asked about after
        // a refusal: one call less per file, the same outcome. A folder of
        // that name is not a file that exists.
        outcome.status = kAlreadyExists;
    } else {
        outcome.status = kError;
    }
    return outcome;
}

std::size_t renameRows(FileTable& table, const RenameSettings& settings, ProgressSink& progress) {
    FileSystemNames names(progress);
    return renameRows(table, settings, progress, names);
}

std::size_t renameRows(FileTable& table, const RenameSettings& given, ProgressSink& progress,
                       NameOracle& names) {
    const RenameSettings settings = withSideFiles(given, table);
    const bool renaming = settings.kind == RenameKind::Rename;
    ProgressReporter report(progress, table.size());
    std::size_t done = 0;
    bool stopped = false;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (report.stopRequested()) {
            stopped = true;
            break;
        }
        FileRow& row = table[i];
        RowOutcome outcome = decideRow(settings, i, row, names);
        const bool moved = isMovedOutcome(outcome.status);
        // A move that failed while a stop was asked for may be a copy
        // abandoned halfway: its file is where it was, and so is its row.
        if (!moved && outcome.plan.settled == nullptr && report.stopRequested()) {
            stopped = true;
            break;
        }
        row.Status = outcome.status;
        if (moved) {
            row.FileName = std::move(outcome.plan.name);
            if (!renaming) {
                row.Path = std::move(outcome.plan.folder);
            }
            ++done;
        }
        report.rowDone();
    }
    const std::string text = std::to_string(done) + " files from " + std::to_string(table.size()) +
                             " are " + (renaming ? "renamed" : "moved");
    report.status(stopped ? stoppedText(text) : text);
    return done;
}

}  // namespace folivar
