#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/FolderAccess.h"
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
    bool moveSide(std::size_t k, const std::string& from, const std::string& to) override;
    // The folders to make are noted as there, empty, from then on.
    bool makeFolders(const std::string& folder, std::size_t kept,
                     std::vector<std::string>& made) override;

    // Why the last move or making of folders was refused; nullptr when it
    // went through.
    const char* refusal() const override { return refusal_; }

    // Why the outcome of the moves and questions since clearDoubt() cannot
    // be told without trying them; nullptr when it can.
    const char* doubt() const { return doubt_; }
    void clearDoubt() { doubt_ = nullptr; }

private:
    // MovedHere: a file that a row above put there. Link: a symbolic link,
    // whose target the rows above may move.
    enum class Entry : std::uint8_t { Absent, File, Folder, Other, Unresolved, MovedHere, Link };
    struct Folder {
        std::string path;  // as first asked for, with its trailing "/"
        bool exists = false;
        bool listed = false;
        bool unlistable = false;
        int asked = 0;
        std::optional<platform::FolderAccess> access;  // asked for once it matters
        // The names and the table's nodes, side by side in listing order and
        // freed all at once: 200,000 names are looked up and let go quickly.
        std::pmr::monotonic_buffer_resource arena;
        // Every name known: as listed or asked for, then as the moves so far
        // left it. Once the folder is listed, a name not here is absent.
        std::pmr::unordered_map<std::string_view, Entry> names{&arena};

        // A copy of the name that lives as long as the folder.
        std::string_view keep(std::string_view name);
        // Listed names holding capitals, in small letters: a name that differs
        // only in case may be the same entry where case is ignored.
        std::unordered_set<std::string> folded;
    };

    Folder& folderOf(const std::string& path, std::string& name);
    // What stands under the name, and where the folder keeps it (nullptr when
    // absent and not kept), so a move changes it without looking it up again.
    Entry entry(Folder& folder, const std::string& name, Entry** kept = nullptr);
    void list(Folder& folder);
    // Why no name can be added to or removed from the folder; nullptr when
    // that can be done, as far as can be told.
    const char* whyUnchangeable(Folder& folder, bool goesInto);
    // Whether the link at path leads to a file as the rows above would leave
    // it (false while in doubt, with the doubt noted).
    bool linkLeadsToFile(const std::string& path);

    std::unordered_map<std::string, Folder*> given_;
    std::unordered_map<std::string, std::unique_ptr<Folder>> canonical_;
    std::string lastGiven_;
    Folder* last_ = nullptr;
    const char* refusal_ = nullptr;
    const char* doubt_ = nullptr;
    bool movedAny_ = false;
};

}  // namespace folivar
