#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "duplicates/DuplicateRecords.h"
#include "duplicates/LinkRecorder.h"
#include "duplicates/SharingPair.h"
#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"

namespace folivar {

// LINK DUPL over the rows a search marked "Dupl": every name stays, and the
// space the copies take is given back. Where the file systems of a "Dupl" and
// its "Orig" can share data, the duplicate's data is stored in the
// original's extents and it stays a file of its own ("Shared"); elsewhere,
// when the user allows it, its name becomes another name of the original
// ("Linked"). Either only while both are still the files compared (device,
// inode, size, modification and change times); any other row stays as it is
// ("Remained").
class DuplicateLinker {
public:
    // What a run would do, learnt before it: the rows whose data can be
    // shared, those that can only be linked, and those neither.
    struct Plan {
        std::size_t share = 0;
        std::size_t link = 0;
        std::size_t neither = 0;
        // Linking makes two files one, so the user is asked first.
        bool asksBeforeLinking() const { return link > 0; }
    };

    struct Outcome {
        std::int32_t shared = 0;
        std::int32_t linked = 0;
        std::int32_t remained = 0;
        // Bytes of "Dupl" files now stored once, freed by this run: the data
        // of a shared file that lay in places no other file used (as the
        // file system tells), and the size of a linked file whose last own
        // name went. Counted to the byte, not in whole blocks.
        std::int64_t reclaimed = 0;
        std::size_t rowCount = 0;
        bool stopped = false;  // the user stopped it: the rows not reached stay
    };

    // What a plan learnt, for the run after it; forgotten by a new search.
    struct Memory {
        enum class Route : std::uint8_t { Share, Link, Neither };
        // By the devices of a duplicate and its original.
        std::map<std::pair<std::uint64_t, std::uint64_t>, Route> routes;
        // By duplicate: its data in places of its own before the plan shared
        // a first chunk, so the run counts what the plan gave back.
        std::unordered_map<std::string, std::int64_t> ownBefore;
        void clear() {
            routes.clear();
            ownBefore.clear();
        }
    };

    DuplicateLinker(FileTable& table, DuplicateRecords& records, Memory& memory);

    // Learns for each pair of file systems met whether it can share data, by
    // sharing the first chunk of one of its pairs (the kernel compares it
    // first, as ever, and the run counts the space); changes nothing else.
    Plan plan();

    // The run: writes each row's outcome into its Status, tells recorder of
    // each step before it is made, and shows the counts and the space given
    // back on the status line. mayHardLink: the user allowed links where
    // data cannot be shared.
    Outcome run(ProgressSink& progress, bool mayHardLink, LinkRecorder& recorder);

private:
    using Route = Memory::Route;

    // The rows to work on: not "Orig", not linked by an earlier run.
    bool takesPart(const FileRow& row) const;
    LinkResult linkRow(std::size_t row, const DuplicateRecords::Pair& pair, ProgressSink& progress,
                       bool mayHardLink, LinkRecorder& recorder, Outcome& outcome);

    FileTable& table_;
    DuplicateRecords& records_;
    Memory& memory_;
    SharingPair::OriginalExtents lastOriginal_;
};

}  // namespace folivar
