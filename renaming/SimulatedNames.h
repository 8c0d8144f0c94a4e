#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "renaming/NameOracle.h"

namespace folivar {

// The names of the file system as they would stand after the moves asked of
// it so far, without touching a file: what a preview decides each row
// against. A folder is asked name by name at first and read whole once it is
// asked often, so 200,000 rows of one folder cost one listing. A move is
// refused for the reasons the real one would be, and says why.
class SimulatedNames : public NameOracle {
public:
    SimulatedNames();
    ~SimulatedNames() override;
    SimulatedNames(const SimulatedNames&) = delete;
    SimulatedNames& operator=(const SimulatedNames&) = delete;

    bool fileExists(const std::string& path) override;
    bool move(std::size_t row, const std::string& from, const std::string& to) override;

    // Why the last move was refused; nullptr when it went through.
    const char* refusal() const { return refusal_; }

private:
    enum class Entry : std::uint8_t { Absent, File, Folder, Other, Unresolved };
    struct Folder {
        std::string path;  // as first asked for, with its trailing "/"
        bool exists = false;
        bool listed = false;
        bool unlistable = false;
        int asked = 0;
        std::unordered_map<std::string, Entry> listing;
        // Listed names holding capitals, in small letters: a name that differs
        // only in case may be the same entry where case is ignored.
        std::unordered_set<std::string> folded;
        // What the moves so far did to names of this folder.
        std::unordered_map<std::string, Entry> changed;
    };

    Folder& folderOf(const std::string& path, std::string& name);
    Entry entry(Folder& folder, const std::string& name);
    void list(Folder& folder);

    std::unordered_map<std::string, Folder*> given_;
    std::unordered_map<std::string, std::unique_ptr<Folder>> canonical_;
    std::string lastGiven_;
    Folder* last_ = nullptr;
    const char* refusal_ = nullptr;
};

}  // namespace folivar
