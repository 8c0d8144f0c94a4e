#include "renaming/NamePreview.h"

#include "renaming/SimulatedNames.h"

namespace folivar {

bool PreviewRow::problem() const {
    return sameStatus(status, kAlreadyExists) || sameStatus(status, kError);
}

std::vector<PreviewRow> previewRows(const FileTable& table, const RenameSettings& settings) {
    SimulatedNames names;
    std::vector<PreviewRow> rows;
    rows.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FileRow& row = table[i];
        RowOutcome outcome = decideRow(settings, i, row, names);
        PreviewRow& shown = rows.emplace_back(PreviewRow{row.file(), {}, outcome.status, nullptr});
        if (sameStatus(outcome.status, kInvariably)) {
            shown.newPath = shown.oldPath;
            continue;
        }
        shown.newPath = std::move(outcome.plan.folder);
        shown.newPath += outcome.plan.name;
        if (outcome.plan.settled != nullptr) {
            shown.reason = outcome.plan.reason;
        } else if (shown.problem()) {
            shown.reason = names.refusal();
        }
    }
    return rows;
}

}  // namespace folivar
