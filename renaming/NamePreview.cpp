#include "renaming/NamePreview.h"

#include <algorithm>

#include "renaming/SimulatedNames.h"

namespace folivar {

namespace {

std::string nameIn(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

const char* whyASideStays(const std::vector<RowOutcome::Side>& sides) {
    for (const RowOutcome::Side& side : sides) {
        if (!side.moved && side.why != nullptr) {
            return side.why;
        }
    }
    return "a side file cannot go along";
}

}  // namespace

bool PreviewRow::problem() const {
    return clash || isFailedOutcome(status) || sameStatus(status, kUncertain);
}

std::string PreviewRow::note() const {
    std::string text;
    const auto part = [&text](std::string_view words) {
        text += text.empty() ? "" : "; ";
        text += words;
    };
    if (!made.empty()) {
        part("makes ");
        for (std::size_t i = 0; i < made.size(); ++i) {
            text += (i == 0 ? "" : ", ") + made[i];
        }
    }
    std::string along;
    for (const RowOutcome::Side& side : sides) {
        if (side.moved) {
            along +=
                (along.empty() ? "with " : ", ") + nameIn(side.from) + " as " + nameIn(side.to);
        }
    }
    if (!along.empty()) {
        part(along);
    }
    for (const RowOutcome::Side& side : sides) {
        if (!side.moved) {
            part(nameIn(side.from) + " stays" +
                 (side.why != nullptr ? " (" + std::string(side.why) + ")" : std::string()));
        }
    }
    return text;
}

std::vector<PreviewRow> previewRows(const FileTable& table, const RenameSettings& given) {
    const RenameSettings settings = withSideFiles(given, table);
    SimulatedNames names;
    std::vector<PreviewRow> rows;
    rows.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FileRow& row = table[i];
        names.clearDoubt();
        RowOutcome outcome = decideRow(settings, i, row, names);
        const bool doubtful = names.doubt() != nullptr && isMovedOutcome(outcome.status);
        if (doubtful) {
            outcome.status = kUncertain;
        }
        PreviewRow& shown = rows.emplace_back();
        shown.oldPath = row.file();
        shown.status = outcome.status;
        if (sameStatus(outcome.status, kInvariably)) {
            shown.newPath = shown.oldPath;
            continue;
        }
        shown.newPath = std::move(outcome.plan.folder);
        shown.newPath += outcome.plan.name;
        shown.made = std::move(outcome.made);
        shown.sides = std::move(outcome.sides);
        if (outcome.plan.settled != nullptr) {
            shown.reason = outcome.plan.reason;
        } else if (doubtful) {
            shown.reason = names.doubt();
        } else if (shown.problem()) {
            shown.reason =
                isMovedOutcome(outcome.status) ? whyASideStays(shown.sides) : names.refusal();
        } else if (outcome.plan.suffixed) {
            shown.clash = true;
            shown.reason = kSuffixedAtMove;
        }
    }
    return rows;
}

std::string previewSummary(const std::vector<PreviewRow>& rows) {
    struct Count {
        std::string_view status;
        std::size_t rows = 0;
        std::size_t clashes = 0;
    };
    std::vector<Count> counts;  // in the order met: a handful of outcomes
    for (const PreviewRow& row : rows) {
        const std::string_view status = row.status != nullptr ? row.status : "";
        auto count = std::find_if(counts.begin(), counts.end(),
                                  [status](const Count& c) { return c.status == status; });
        if (count == counts.end()) {
            count = counts.insert(counts.end(), Count{status});
        }
        ++count->rows;
        count->clashes += row.clash ? 1 : 0;
    }
    std::string text = std::to_string(rows.size()) + " rows";
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const Count& count = counts[i];
        text += (i == 0 ? ": " : ", ") + std::to_string(count.rows) + " ";
        text += count.status;
        if (count.clashes > 0) {
            text += " (" + std::to_string(count.clashes) + " under another name: its own is taken)";
        }
    }
    return text;
}

}  // namespace folivar
