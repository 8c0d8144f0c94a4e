#include "renaming/SideFiles.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "platform/FileSystem.h"
#include "renaming/NameComposition.h"

namespace folivar {

namespace {

struct Ending {
    std::string_view text;
    bool afterName;   // NAME + ending
    bool afterWhole;  // NAME.EXT + ending
};

constexpr Ending kEndings[] = {
    {".xmp", true, true},  {".XMP", true, true},  {".aae", true, false},
    {".AAE", true, false}, {".thm", true, false}, {".THM", true, false},
    {".pp3", true, true},  {".dop", true, true},  {".json", false, true},
};

const Ending* endingOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return nullptr;
    }
    const std::string_view extension = name.substr(dot);
    for (const Ending& ending : kEndings) {
        if (extension == ending.text) {
            return &ending;
        }
    }
    return nullptr;
}

// A file of a folder that may be a side file.
struct Candidate {
    std::string name;
    const Ending* ending = nullptr;
    bool taken = false;  // a row's side file, or a row itself
};

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

// A folder's candidates, by the name they are named after (their name
// without its ending).
using Candidates =
    std::unordered_map<std::string, std::vector<Candidate>, TextHash, std::equal_to<>>;

Candidates candidatesIn(const std::string& folder) {
    Candidates found;
    const std::unique_ptr<platform::DirectoryListing> listing =
        platform::fileSystem().openDirectory(folder.empty() ? "." : folder);
    if (!listing) {
        return found;
    }
    platform::DirectoryEntry entry;
    while (listing->next(entry)) {
        const Ending* ending = endingOf(entry.name);
        if (ending == nullptr || entry.kind == platform::EntryKind::Directory ||
            entry.kind == platform::EntryKind::SymbolicLink ||
            entry.kind == platform::EntryKind::Other) {
            continue;
        }
        platform::FileStatus status;
        if (entry.kind == platform::EntryKind::Unknown &&
            (!listing->status(entry, false, status) || !status.isRegular())) {
            continue;
        }
        const std::string_view stem = entry.name.substr(0, entry.name.size() - ending->text.size());
        found[std::string(stem)].push_back(Candidate{std::string(entry.name), ending});
    }
    return found;
}

// The candidates of the folder of every row, each folder listed once.
class Folders {
public:
    Candidates& of(const std::string& folder) {
        if (last_ == nullptr || folder != lastFolder_) {
            const auto [at, added] = folders_.try_emplace(folder);
            if (added) {
                at->second = candidatesIn(folder);
                any_ = any_ || !at->second.empty();
            }
            lastFolder_ = folder;
            last_ = &at->second;
        }
        return *last_;
    }
    bool any() const { return any_; }

private:
    std::unordered_map<std::string, Candidates> folders_;
    std::string lastFolder_;
    Candidates* last_ = nullptr;
    bool any_ = false;
};

}  // namespace

SideFiles SideFiles::of(const FileTable& table) {
    SideFiles sides;
    Folders folders;
    for (const FileRow& row : table) {
        folders.of(row.Path);
    }
    if (!folders.any()) {
        return sides;
    }
    // A row is no side file of another.
    for (const FileRow& row : table) {
        const Ending* ending = endingOf(row.FileName);
        Candidates& candidates = folders.of(row.Path);
        if (ending == nullptr || candidates.empty()) {
            continue;
        }
        const auto found = candidates.find(
            std::string_view(row.FileName).substr(0, row.FileName.size() - ending->text.size()));
        if (found != candidates.end()) {
            for (Candidate& c : found->second) {
                c.taken = c.taken || c.name == row.FileName;
            }
        }
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FileRow& row = table[i];
        Candidates& candidates = folders.of(row.Path);
        if (candidates.empty()) {
            continue;
        }
        const std::size_t first = sides.sides_.size();
        for (const bool whole : {false, true}) {
            const std::string_view stem =
                whole ? std::string_view(row.FileName) : BaseOf(row.FileName);
            const auto found = candidates.find(stem);
            if (found == candidates.end()) {
                continue;
            }
            for (Candidate& c : found->second) {
                if (!c.taken && (whole ? c.ending->afterWhole : c.ending->afterName)) {
                    c.taken = true;
                    sides.sides_.push_back(Side{i, c.name, stem.size(), whole});
                }
            }
        }
        std::sort(sides.sides_.begin() + static_cast<std::ptrdiff_t>(first), sides.sides_.end(),
                  [](const Side& a, const Side& b) { return a.name < b.name; });
    }
    return sides;
}

std::pair<std::size_t, std::size_t> SideFiles::of(std::size_t row) const {
    const auto byRow = [](const Side& side, std::size_t r) { return side.row < r; };
    const auto first = std::lower_bound(sides_.begin(), sides_.end(), row, byRow);
    auto last = first;
    while (last != sides_.end() && last->row == row) {
        ++last;
    }
    return {static_cast<std::size_t>(first - sides_.begin()),
            static_cast<std::size_t>(last - sides_.begin())};
}

std::string SideFiles::newName(std::size_t k, std::string_view rowNewName) const {
    const Side& side = sides_[k];
    std::string name(side.whole ? rowNewName : BaseOf(rowNewName));
    name += std::string_view(side.name).substr(side.stem);
    return name;
}

}  // namespace folivar
