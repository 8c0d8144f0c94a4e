#include "duplicates/DuplicateFinder.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <vector>

#include "duplicates/SizeRuns.h"
#include "filelist/ColumnSort.h"
#include "filelist/ListStatus.h"
#include "filelist/ProgressReporter.h"
#include "platform/FileSystem.h"
#include "platform/WorkStopped.h"

namespace folivar {

namespace {

const std::string kOrig = "Orig";
const std::string kDupl = "Dupl";
const std::string kNoGroup = "0";

}  // namespace

// The working values of one search.
struct DuplicateFinder::Marking {
    struct Before {
        std::size_t row;
        std::string group;
        std::string status;
    };

    std::int32_t group = 1;
    bool groupUsed = false;
    std::int32_t found = 0;
    // The cells as they were before each mark, so a stopped search can take
    // its marks back.
    std::vector<Before> before;

    void mark(FileTable& table, std::size_t row, const std::string& groupText,
              const std::string& statusText) {
        FileRow& file = table[row];
        before.push_back(Before{row, file.Group, file.Status});
        file.Group = groupText;
        file.Status = statusText;
    }

    // Every mark taken back, the last first.
    void unmark(FileTable& table) {
        for (auto it = before.rbegin(); it != before.rend(); ++it) {
            table[it->row].Group = std::move(it->group);
            table[it->row].Status = std::move(it->status);
        }
        before.clear();
    }
};

DuplicateFinder::DuplicateFinder() = default;

DuplicateFinder::DuplicateFinder(ContentClassifier::Options options) : classifier_(options) {}

DuplicateFinder::SearchOutcome DuplicateFinder::search(FileTable& table, ProgressSink& progress) {
    records_.clear();
    linkMemory_.clear();
    progress.percent(0);
    const std::vector<std::size_t> order = sortRows(table, fcSize, false);

    const std::size_t count = table.size();
    ProgressReporter report(progress, count);
    Marking marking;
    std::size_t i = 0;
    try {
        while (i + 1 < count) {
            if (report.stopRequested()) {
                throw platform::WorkStopped();
            }
            if (table[i].Size != table[i + 1].Size) {
                ++i;
            } else {
                const std::size_t first = i;
                const std::string size = table[i].Size;
                while (i < count && table[i].Size == size) {
                    ++i;
                }
                markRun(table, first, i, marking, progress);
            }
            report.rowsDone(i + 1);
        }
    } catch (const platform::WorkStopped&) {
        // Nothing a half search found may be deleted: the list is as before it.
        classifier_.endSequence();
        marking.unmark(table);
        records_.clear();
        std::vector<std::size_t> back(order.size());
        for (std::size_t k = 0; k < order.size(); ++k) {
            back[order[k]] = k;
        }
        table.reorder(back);
        report.status(stoppedText(filesInListText(count) + "; no duplicates are marked"));
        SearchOutcome outcome;
        outcome.rowCount = count;
        outcome.stopped = true;
        return outcome;
    }

    const std::string found = std::to_string(marking.found);
    report.status(found + " duplicates are found. " + kPleaseWait);
    std::vector<std::size_t> ungrouped;
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].Group == kNoGroup) {
            ungrouped.push_back(row);
        }
    }
    table.removeRows(std::move(ungrouped));
    report.status(filesInListText(table.size()) + "; " + found + " duplicates are found");

    SearchOutcome outcome;
    outcome.duplicatesFound = marking.found;
    outcome.rowCount = table.size();
    if (marking.found == 0) {
        outcome.buttons = {false, false};
    } else {
        outcome.deleteMode = true;
    }
    return outcome;
}

// One run of rows with the same Size text. The anchors and their candidates
// are visited in the order of a comparison of every later row, but only rows
// of the anchor's own content class can be identical to it, and never a row
// naming the same physical file.
void DuplicateFinder::markRun(FileTable& table, std::size_t first, std::size_t end,
                              Marking& marking, ProgressSink& progress) {
    std::vector<std::string> paths;
    paths.reserve(end - first);
    for (std::size_t row = first; row < end; ++row) {
        paths.push_back(table[row].file());
    }
    // The runs after this one may be read while it is marked.
    const auto files = classifier_.classify(paths, SizeRuns(table, end), progress);
    const auto& stats = classifier_.statistics();
    readStats_.bytesRead += stats.bytesRead;
    readStats_.filesOpened += stats.filesOpened;
    readStats_.peakOpenFiles = std::max(readStats_.peakOpenFiles, stats.peakOpenFiles);
    readStats_.peakBlockBytes = std::max(readStats_.peakBlockBytes, stats.peakBlockBytes);

    std::vector<std::vector<std::size_t>> classRows;
    std::vector<std::size_t> slot(files.size(), 0);
    for (std::size_t k = 0; k < files.size(); ++k) {
        const int c = files[k].contentClass;
        if (c == ContentClassifier::Result::kNone) {
            continue;
        }
        const auto cls = static_cast<std::size_t>(c);
        if (cls >= classRows.size()) {
            classRows.resize(cls + 1);
        }
        slot[k] = classRows[cls].size();
        classRows[cls].push_back(k);
    }

    for (std::size_t a = 0; a + 1 < files.size(); ++a) {
        if (marking.groupUsed) {
            ++marking.group;
        }
        marking.groupUsed = false;
        const FileRow& anchor = table[first + a];
        if (anchor.Status == kDupl || files[a].contentClass == ContentClassifier::Result::kNone) {
            continue;
        }
        const auto& rows = classRows[static_cast<std::size_t>(files[a].contentClass)];
        for (std::size_t s = slot[a] + 1; s < rows.size(); ++s) {
            const std::size_t b = rows[s];
            const FileRow& other = table[first + b];
            if (other.Status == kDupl || files[b].identity.samePhysicalFile(files[a].identity)) {
                continue;
            }
            const std::string group = std::to_string(marking.group);
            marking.mark(table, first + a, group, kOrig);
            marking.mark(table, first + b, group, kDupl);
            records_.markOriginal(paths[a], marking.group, files[a].identity);
            records_.markDuplicate(paths[b], marking.group, files[b].identity);
            marking.groupUsed = true;
            ++marking.found;
        }
    }
}

DuplicateFinder::DeleteOutcome DuplicateFinder::deleteDuplicates(FileTable& table,
                                                                 ProgressSink& progress) {
    auto& fs = platform::fileSystem();
    DeleteOutcome outcome;
    std::vector<std::size_t> deletedRows;
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].Status == kOrig) {
            continue;
        }
        progress.working();
        if (progress.stopRequested()) {
            outcome.stopped = true;
            break;
        }
        const std::string path = table[row].file();
        if (!records_.safeToDelete(path)) {
            ++outcome.remained;
            continue;
        }
        if (fs.removeFileRetrying(path)) {
            records_.forget(path);
            deletedRows.push_back(row);
            ++outcome.deleted;
        } else {
            ++outcome.remained;
        }
    }
    table.removeRows(std::move(deletedRows));

    outcome.rowCount = table.size();
    const std::string text = deletionText(outcome.rowCount, outcome.deleted, outcome.remained);
    progress.status(outcome.stopped ? stoppedText(text) : text);
    outcome.buttons = ActionButtons::afterRemoval(outcome.rowCount);
    return outcome;
}

bool DuplicateFinder::markedDuplicate(const FileRow& row) {
    return row.Status == kDupl;
}

std::size_t DuplicateFinder::keepThisCopy(FileTable& table, const RowSelection& selection) {
    requireSelectionFits(selection, table.size());
    std::map<std::int32_t, std::size_t> chosen;  // by group: the last selected row
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (!selection[row] || table[row].Status != kDupl) {
            continue;
        }
        if (const auto pair = records_.pairOf(table[row].file())) {
            chosen[pair->group] = row;
        }
    }
    if (chosen.empty()) {
        return 0;
    }
    std::unordered_map<std::string, std::size_t> originals;
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].Status == kOrig) {
            originals.emplace(table[row].file(), row);
        }
    }
    std::size_t changed = 0;
    for (const auto& [group, row] : chosen) {
        const std::optional<std::string> former = records_.makeOriginal(table[row].file());
        if (!former) {
            continue;
        }
        table[row].Status = kOrig;
        // The former "Orig" may have left the list (Delete Items); its file
        // is still marked.
        if (const auto it = originals.find(*former); it != originals.end()) {
            table[it->second].Status = kDupl;
        }
        ++changed;
    }
    return changed;
}

DuplicateFinder::LinkPlan DuplicateFinder::planLink(FileTable& table) {
    return DuplicateLinker(table, records_, linkMemory_).plan();
}

DuplicateFinder::LinkOutcome DuplicateFinder::linkDuplicates(FileTable& table,
                                                             ProgressSink& progress,
                                                             bool mayHardLink,
                                                             LinkRecorder& recorder) {
    return DuplicateLinker(table, records_, linkMemory_).run(progress, mayHardLink, recorder);
}

}  // namespace folivar
