#include "renaming/SimulatedNames.h"

#include "platform/FileSystem.h"

namespace folivar {

namespace {

// Questions answered by asking for one entry's status before the folder is
// read whole: a folder of a million names with a few rows in it is not read.
constexpr int kAskedBeforeListing = 16;
// The longest name one folder entry can hold.
constexpr std::size_t kLongestName = 255;

bool hasCapitals(std::string_view name) {
    for (const char c : name) {
        if (c >= 'A' && c <= 'Z') {
            return true;
        }
    }
    return false;
}

std::string folded(std::string_view name) {
    std::string small(name);
    for (char& c : small) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return small;
}

}  // namespace

SimulatedNames::SimulatedNames() = default;
SimulatedNames::~SimulatedNames() = default;

SimulatedNames::Folder& SimulatedNames::folderOf(const std::string& path, std::string& name) {
    const std::size_t slash = path.rfind('/');
    const std::size_t cut = slash == std::string::npos ? 0 : slash + 1;
    name.assign(path, cut);
    const std::string_view given(path.data(), cut);
    if (last_ != nullptr && given == lastGiven_) {
        return *last_;
    }
    lastGiven_.assign(given);
    auto found = given_.find(lastGiven_);
    if (found == given_.end()) {
        // Two spellings of one folder ("a/b/" and "a//b/", a link to it) are
        // one folder: what a row above did there shows under either.
        platform::FileSystem& fs = platform::fileSystem();
        const std::string asked = lastGiven_.empty() ? std::string("./") : lastGiven_;
        const std::optional<std::string> real = fs.canonicalPath(asked);
        const std::string key = real ? *real + "/" : "?" + asked;
        std::unique_ptr<Folder>& folder = canonical_[key];
        if (!folder) {
            folder = std::make_unique<Folder>();
            folder->path = lastGiven_;
            folder->exists = real && fs.isDirectory(asked);
        }
        found = given_.emplace(lastGiven_, folder.get()).first;
    }
    last_ = found->second;
    return *last_;
}

void SimulatedNames::list(Folder& folder) {
    std::unique_ptr<platform::DirectoryListing> listing =
        platform::fileSystem().openDirectory(folder.path.empty() ? "." : folder.path);
    if (!listing) {
        folder.unlistable = true;
        return;
    }
    platform::DirectoryEntry e;
    while (listing->next(e)) {
        Entry kind = Entry::Unresolved;  // links and unknown kinds are asked for when needed
        if (e.kind == platform::EntryKind::Regular || e.kind == platform::EntryKind::Other) {
            kind = Entry::File;
        } else if (e.kind == platform::EntryKind::Directory) {
            kind = Entry::Folder;
        }
        folder.listing.emplace(std::string(e.name), kind);
        if (hasCapitals(e.name)) {
            folder.folded.insert(folded(e.name));
        }
    }
    folder.listed = true;
}

SimulatedNames::Entry SimulatedNames::entry(Folder& folder, const std::string& name) {
    if (const auto changed = folder.changed.find(name); changed != folder.changed.end()) {
        return changed->second;
    }
    if (!folder.exists) {
        return Entry::Absent;
    }
    if (!folder.listed && !folder.unlistable && ++folder.asked > kAskedBeforeListing) {
        list(folder);
    }
    bool ask = !folder.listed;
    if (folder.listed) {
        const auto found = folder.listing.find(name);
        if (found != folder.listing.end() && found->second != Entry::Unresolved) {
            return found->second;
        }
        if (found == folder.listing.end()) {
            const std::string small = folded(name);
            ask = folder.folded.count(small) != 0 ||
                  (small != name && folder.listing.count(small) != 0);
            if (!ask) {
                return Entry::Absent;
            }
        } else {
            ask = true;
        }
    }
    // Asked of the file system itself: as lstat, then where a link leads.
    platform::FileSystem& fs = platform::fileSystem();
    const std::string path = folder.path + name;
    platform::FileStatus st;
    Entry kind = Entry::Absent;
    if (fs.status(path, false, st)) {
        if (!st.isSymbolicLink()) {
            kind = st.isDirectory() ? Entry::Folder : Entry::File;
        } else if (fs.status(path, true, st)) {
            kind = st.isDirectory() ? Entry::Folder : Entry::File;
        } else {
            kind = Entry::Other;
        }
    }
    if (folder.listed) {
        folder.listing[name] = kind;
    }
    return kind;
}

bool SimulatedNames::fileExists(const std::string& path) {
    std::string name;
    Folder& folder = folderOf(path, name);
    return entry(folder, name) == Entry::File;
}

bool SimulatedNames::move(std::size_t, const std::string& from, const std::string& to) {
    std::string fromName;
    Folder* source = &folderOf(from, fromName);
    const Entry moving = entry(*source, fromName);
    std::string toName;
    Folder& target = folderOf(to, toName);
    refusal_ = nullptr;
    if (moving == Entry::Absent) {
        refusal_ = "the file is not there any more";
    } else if (!target.exists) {
        refusal_ = "the folder it goes into does not exist";
    } else if (toName.size() > kLongestName) {
        refusal_ = "the new name is too long";
    } else {
        switch (entry(target, toName)) {
            case Entry::Absent:
                break;
            case Entry::Folder:
                refusal_ = "a folder of that name is in the way";
                break;
            case Entry::File:
                refusal_ = target.changed.count(toName) != 0 ? "a row above takes that name"
                                                             : "a file of that name is there";
                break;
            default:
                refusal_ = "a link of that name is in the way";
                break;
        }
    }
    if (refusal_ != nullptr) {
        return false;
    }
    source->changed[fromName] = Entry::Absent;
    target.changed[toName] = moving;
    return true;
}

}  // namespace folivar
