#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "filelist/FileTable.h"
#include "platform/FolderMaking.h"
#include "platform/JournalLock.h"
#include "renaming/FileSystemNames.h"
#include "renaming/JournalWriter.h"
#include "renaming/RenameOperations.h"

namespace folivar {

// The journal of one RENAME, MOVE or REN+MOV batch, moving the files as it
// records them, so an undo can take the batch back even after the program was
// killed in the middle of it. Before the first file moves, every row that is
// to move is on disk with the path it leaves and the one it is planned to
// take; each file's identity is written down before it moves, and each move
// as it is made, in groups, so only the last few can be lost, and those are
// found under their planned names and taken back only for that very file. A
// move to another name than planned (a time suffix) is written out before it
// is made. Side files are journaled as the rows' files are, each right after
// its row's; one the batch did not plan is not moved. A folder made for a
// date folder is written out before it is made, and what it is after. The
// journal's lock is held until the object goes.
class BatchJournal : public NameOracle, private platform::FolderMaking {
public:
    // Writes the batch down as the newest of the history in folder (the
    // oldest beyond the history's length go), taking the lock over from lock;
    // nullptr with the reason when it cannot, the lock left where it was. The
    // run is to be given the same settings: the side files they hold (see
    // withSideFiles) are the ones journaled, and moved.
    static std::unique_ptr<BatchJournal> begin(std::optional<platform::JournalLock>& lock,
                                               const std::string& folder, const FileTable& table,
                                               const RenameSettings& settings, std::string& why);
    // The same, taking the lock first: nullptr also while another instance
    // holds it.
    static std::unique_ptr<BatchJournal> begin(const std::string& folder, const FileTable& table,
                                               const RenameSettings& settings, std::string& why);
    ~BatchJournal() override;

    // The query a move's copy to another file system asks from now on: asked
    // to stop, the copy is abandoned.
    void stopWhen(platform::StopQuery& stop) { names_.stopWhen(stop); }

    bool fileExists(const std::string& path) override { return names_.fileExists(path); }
    bool move(std::size_t row, const std::string& from, const std::string& to) override;
    bool moveSide(std::size_t k, const std::string& from, const std::string& to) override;
    bool makeFolders(const std::string& folder, std::size_t kept,
                     std::vector<std::string>& made) override;

    // The batch ran to its end.
    void end();

private:
    struct Planned {
        std::string to;          // empty: not planned to move
        std::size_t source = 0;  // its place among the files to move
    };

    BatchJournal(platform::JournalLock lock, platform::JournalFile file,
                 std::vector<Planned> planned, std::vector<JournalWriter::Source> sources);

    // The move of a row's file (entry: its row) or of a side file (the rows'
    // count and its number).
    bool moveEntry(std::size_t entry, const std::string& from, const std::string& to);

    void before(const std::string& path) override;
    void after(const std::string& path, const platform::FileStatus* made) override;

    platform::JournalLock lock_;  // let go of after the last record is written
    FileSystemNames names_;
    std::vector<Planned> planned_;  // by row, then the side files
    std::size_t rows_ = 0;
    JournalWriter writer_;
    std::size_t foldersMade_ = 0;               // folders written down as made next
    std::vector<std::string>* made_ = nullptr;  // where makeFolders notes them
};

}  // namespace folivar
