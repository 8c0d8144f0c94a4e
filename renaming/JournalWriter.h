#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/JournalFile.h"
#include "renaming/JournalLines.h"

namespace folivar {

// Writes the records of a running batch on a thread of its own, so the moves
// do not wait for them. Ahead of the moves it looks at each file to move, in
// the order they come, and writes down its identity: a move waits until its
// file's is written. After each move it writes the move down, in groups,
// with the identity of the file it made where that can differ from the
// source's (a copy: another file system, or one that cannot rename in
// place), and syncs the records to disk about once a second. At most
// kMostUnwritten moves are ever waiting to be written: a move waits for room.
class JournalWriter {
public:
    static constexpr std::size_t kMostUnwritten = 256;
    // Records are written in groups of this many, or what is there after a
    // short wait.
    static constexpr std::size_t kGroup = 64;

    // A file the batch is to move: its row and its path.
    struct Source {
        std::size_t row = 0;
        std::string path;
    };

    JournalWriter(platform::JournalFile file, std::vector<Source> sources);
    // Writes what is waiting and stops.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Returns once the identity of source k is written.
    void awaitSource(std::size_t k);
    // Source k was moved to this path.
    void moved(std::size_t k, std::string to);
    // This line is written out, after every record given before it, by the
    // time this returns.
    void writeNow(std::string line);
    // The last line, after everything else, synced to disk; the thread ends.
    void finish(std::string line);

    // A write failed: what follows is not recorded.
    bool failed();

private:
    struct Item {
        std::size_t source = 0;
        std::string text;  // the path moved to, or a whole line
        bool line = false;
    };

    void run();
    // Appends the records of these items and of the sources from identified
    // up to end, looking at the files they name.
    void write(const std::deque<Item>& items, std::size_t identified, std::size_t end);
    void appendMove(std::string& text, const Item& item);

    platform::JournalFile file_;
    const std::vector<Source> sources_;
    // Only the thread touches these: what it saw of each source, and, by
    // the folder moved into, whether moves from the sources' device keep
    // the file (then the source's identity is the moved file's).
    std::vector<std::optional<MovedIdentity>> seen_;
    struct InPlace {
        std::uint64_t device = 0;
        bool keepsFile = false;
    };
    std::unordered_map<std::string, InPlace> inPlace_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> waiting_;
    std::uint64_t given_ = 0;     // items handed over
    std::uint64_t written_ = 0;   // items written out
    std::size_t identified_ = 0;  // sources whose identity is written out
    bool urgent_ = false;         // a line is to be written at once
    bool stopping_ = false;
    bool failed_ = false;
    std::thread thread_;
};

}  // namespace folivar
