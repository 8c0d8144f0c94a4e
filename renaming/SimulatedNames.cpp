#include "renaming/SimulatedNames.h"

#include <algorithm>
#include <climits>
#include <cstring>

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

std::string_view SimulatedNames::Folder::keep(std::string_view name) {
    char* copy = static_cast<char*>(arena.allocate(name.size() + 1, 1));
    std::memcpy(copy, name.data(), name.size());
    return {copy, name.size()};
}

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
    // Names asked for before, or moved by a row above, stand as they are.
    const bool knewSome = !folder.names.empty();
    platform::DirectoryEntry e;
    while (listing->next(e)) {
        Entry kind = Entry::Unresolved;  // links and unknown kinds are asked for when needed
        if (e.kind == platform::EntryKind::Regular || e.kind == platform::EntryKind::Other) {
            kind = Entry::File;
        } else if (e.kind == platform::EntryKind::Directory) {
            kind = Entry::Folder;
        }
        if (!knewSome || folder.names.find(e.name) == folder.names.end()) {
            folder.names.emplace(folder.keep(e.name), kind);
        }
        if (hasCapitals(e.name)) {
            folder.folded.insert(folded(e.name));
        }
    }
    // Room for as many names again (a rename gives each file a new one)
    // without growing the table on the way.
    folder.names.reserve(folder.names.size() * 2);
    folder.listed = true;
}

SimulatedNames::Entry SimulatedNames::entry(Folder& folder, const std::string& name, Entry** kept) {
    if (kept != nullptr) {
        *kept = nullptr;
    }
    if (!folder.exists) {
        return Entry::Absent;
    }
    if (!folder.listed && !folder.unlistable && ++folder.asked > kAskedBeforeListing) {
        list(folder);
    }
    const auto found = folder.names.find(name);
    if (found != folder.names.end() && found->second != Entry::Unresolved) {
        if (kept != nullptr) {
            *kept = &found->second;
        }
        return found->second;
    }
    if (found == folder.names.end() && folder.listed) {
        // Absent, unless case is ignored there and a listed name differs only in case.
        if (folder.folded.empty() && !hasCapitals(name)) {
            return Entry::Absent;
        }
        const std::string small = folded(name);
        if (folder.folded.count(small) == 0 && (small == name || folder.names.count(small) == 0)) {
            return Entry::Absent;
        }
    }
    // Asked of the file system itself, as lstat: a link stays a link, where
    // it leads is asked each time (a row above may move its target).
    platform::FileSystem& fs = platform::fileSystem();
    const std::string path = folder.path + name;
    platform::FileStatus st;
    Entry kind = Entry::Absent;
    if (fs.status(path, false, st)) {
        kind = st.isSymbolicLink() ? Entry::Link : st.isDirectory() ? Entry::Folder : Entry::File;
    }
    const auto known = folder.names.find(name);
    Entry& slot = known != folder.names.end() ? known->second : folder.names[folder.keep(name)];
    slot = kind;
    if (kept != nullptr) {
        *kept = &slot;
    }
    return kind;
}

bool SimulatedNames::fileExists(const std::string& path) {
    std::string name;
    Folder& folder = folderOf(path, name);
    const Entry found = entry(folder, name);
    return found == Entry::File || found == Entry::MovedHere ||
           (found == Entry::Link && linkLeadsToFile(path));
}

bool SimulatedNames::linkLeadsToFile(const std::string& path) {
    const std::optional<std::string> target = platform::fileSystem().canonicalPath(path);
    if (!target) {
        // It leads nowhere now; a row above may have put a file where it leads.
        if (movedAny_) {
            doubt_ = "a link of that name may lead to a file a row above moves";
        }
        return false;
    }
    std::string name;
    Folder& folder = folderOf(*target, name);
    switch (entry(folder, name)) {
        case Entry::File:
        case Entry::MovedHere:
            return true;
        case Entry::Link:  // a row above put a link where this one leads
            doubt_ = "a link of that name leads to a link a row above moves";
            return false;
        default:
            return false;
    }
}

const char* SimulatedNames::whyUnchangeable(Folder& folder, bool goesInto) {
    if (!folder.access) {
        folder.access = platform::fileSystem().folderAccess(folder.path);
    }
    if (folder.access->readOnlyMount) {
        return goesInto ? "the folder it goes into is on a read-only file system"
                        : "the folder it is in is on a read-only file system";
    }
    if (!folder.access->mayChangeNames) {
        return goesInto ? "you may not change the folder it goes into"
                        : "you may not change the folder it is in";
    }
    if (folder.access->inUserSpace) {
        doubt_ = "a FUSE file system tells only by trying whether it takes the file";
    }
    return nullptr;
}

bool SimulatedNames::move(std::size_t, const std::string& from, const std::string& to) {
    std::string fromName;
    Entry* leaving = nullptr;
    Folder& source = folderOf(from, fromName);
    Entry moving = entry(source, fromName, &leaving);
    std::string toName;
    Folder& target = folderOf(to, toName);
    refusal_ = nullptr;
    Entry* taking = nullptr;
    if (moving == Entry::Absent) {
        refusal_ = "the file is not there any more";
    } else if (!target.exists) {
        refusal_ = "the folder it goes into does not exist";
    } else if (toName.size() > kLongestName) {
        refusal_ = "the new name is too long";
    } else if (to.size() >= PATH_MAX) {
        refusal_ = "the new path is too long";
    } else if ((refusal_ = whyUnchangeable(target, true)) == nullptr &&
               (refusal_ = whyUnchangeable(source, false)) == nullptr) {
        switch (entry(target, toName, &taking)) {
            case Entry::Absent:
                break;
            case Entry::Folder:
                refusal_ = "a folder of that name is in the way";
                break;
            case Entry::File:
                refusal_ = "a file of that name is there";
                break;
            case Entry::MovedHere:
                refusal_ = "a row above takes that name";
                break;
            default:
                refusal_ = "a link of that name is in the way";
                break;
        }
    }
    if (refusal_ != nullptr) {
        return false;
    }
    if (moving == Entry::Link) {  // a link moves as a link: what it led to, it leads to
        moving = linkLeadsToFile(from) ? Entry::File : Entry::Other;
    }
    *leaving = Entry::Absent;
    movedAny_ = true;
    const Entry moved = moving == Entry::File ? Entry::MovedHere : moving;
    if (taking != nullptr) {
        *taking = moved;
    } else {
        target.names.emplace(target.keep(toName), moved);
    }
    return true;
}

bool SimulatedNames::moveSide(std::size_t, const std::string& from, const std::string& to) {
    return move(0, from, to);
}

bool SimulatedNames::makeFolders(const std::string& folder, std::size_t kept,
                                 std::vector<std::string>& made) {
    refusal_ = nullptr;
    kept = std::min(kept, folder.size());
    std::string name;
    if (!folderOf(folder.substr(0, kept), name).exists) {
        refusal_ = "the folder the date folders go into does not exist";
        return false;
    }
    std::size_t at = kept;
    while (at < folder.size()) {
        const std::size_t slash = std::min(folder.find('/', at), folder.size());
        const std::string path = folder.substr(0, slash);
        at = slash + 1;
        if (slash == 0 || folder[slash - 1] == '/') {
            continue;  // "//"
        }
        Folder& parent = folderOf(path, name);
        Entry* slot = nullptr;
        switch (entry(parent, name, &slot)) {
            case Entry::Folder:
                continue;
            case Entry::Absent:
                break;
            case Entry::Link:
                refusal_ = "a link is in the way of its date folder";
                return false;
            default:
                refusal_ = "a file is in the way of its date folder";
                return false;
        }
        if (name.size() > kLongestName) {
            refusal_ = "the name of its date folder is too long";
            return false;
        }
        if ((refusal_ = whyUnchangeable(parent, true)) != nullptr) {
            return false;
        }
        if (slot != nullptr) {
            *slot = Entry::Folder;
        } else {
            parent.names.emplace(parent.keep(name), Entry::Folder);
        }
        std::string inside;
        Folder& child = folderOf(path + "/", inside);
        child.exists = true;
        child.listed = true;
        child.access = parent.access;
        made.push_back(path + "/");
    }
    return true;
}

}  // namespace folivar
