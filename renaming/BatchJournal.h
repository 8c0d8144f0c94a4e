#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "filelist/FileTable.h"
#include "renaming/FileSystemNames.h"
#include "renaming/JournalWriter.h"
#include "renaming/RenameOperations.h"

namespace folivar {

// The journal of one RENAME, MOVE or REN+MOV batch, moving the files as it
// records them, so an undo can take the batch back even after the program was
// killed in the middle of it. Before the first file moves, every row that is
// to move is on disk with the path it leaves and the one it is planned to
// take; each move is recorded as it is made (the identity of the file right
// after it), in groups, so only the last few can be lost, and those are found
// under their planned names. A move to another name than planned (a time
// suffix) is written out before it is made.
class BatchJournal : public NameOracle {
public:
    // The journal's name in the state folder.
    static constexpr const char* kFileName = "journal";

    // Writes the batch down as folder/journal in place of the last one;
    // nullptr with the reason when it cannot. A move's copy to another file
    // system is abandoned when stop asks for it.
    static std::unique_ptr<BatchJournal> begin(
        const std::string& folder, const FileTable& table, const RenameSettings& settings,
        std::string& why, platform::StopQuery& stop = platform::StopQuery::never());
    ~BatchJournal() override;

    bool fileExists(const std::string& path) override { return names_.fileExists(path); }
    bool move(std::size_t row, const std::string& from, const std::string& to) override;

    // The batch ran to its end.
    void end();

private:
    BatchJournal(platform::JournalFile file, std::vector<std::string> planned,
                 platform::StopQuery& stop);

    FileSystemNames names_;
    std::vector<std::string> planned_;  // by row; empty: not planned to move
    JournalWriter writer_;
};

}  // namespace folivar
