#include "renaming/NamePreview.h"

#include "renaming/SimulatedNames.h"

namespace folivar {

bool PreviewRow::problem() const {
    return clash || sameStatus(status, kAlreadyExists) || sameStatus(status, kError) ||
           sameStatus(status, kUncertain);
}

std::vector<PreviewRow> previewRows(const FileTable& table, const RenameSettings& settings) {
    SimulatedNames names;
    std::vector<PreviewRow> rows;
    rows.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FileRow& row = table[i];
        names.clearDoubt();
        RowOutcome outcome = decideRow(settings, i, row, names);
        const bool doubtful = names.doubt() != nullptr && (sameStatus(outcome.status, kRenamed) ||
                                                           sameStatus(outcome.status, kMoved));
        if (doubtful) {
            outcome.status = kUncertain;
        }
        PreviewRow& shown = rows.emplace_back(PreviewRow{row.file(), {}, outcome.status, nullptr});
        if (sameStatus(outcome.status, kInvariably)) {
            shown.newPath = shown.oldPath;
            continue;
        }
        shown.newPath = std::move(outcome.plan.folder);
        shown.newPath += outcome.plan.name;
        if (outcome.plan.settled != nullptr) {
            shown.reason = outcome.plan.reason;
        } else if (doubtful) {
            shown.reason = names.doubt();
        } else if (shown.problem()) {
            shown.reason = names.refusal();
        } else if (outcome.plan.suffixed) {
            shown.clash = true;
            shown.reason = kSuffixedAtMove;
        }
    }
    return rows;
}

}  // namespace folivar
