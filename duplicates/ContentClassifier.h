#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "duplicates/FileIdentity.h"
#include "duplicates/ReaderBudget.h"
#include "platform/FileReader.h"
#include "platform/StopQuery.h"

namespace folivar {

class ClassifyAhead;

// Sorts files into classes of byte for byte identical contents without
// comparing them in pairs: files of one size are read side by side in growing
// blocks, split by what each block holds and dropped as soon as no other file
// shares their contents so far. Every file is read at most once, in order,
// except where more files of one size share a first block than may be open
// at once (maxOpenFiles, fewer where descriptors are scarce):
// those are opened again for each pass, and if they still share their start
// when memory stops the blocks from growing, each is read to its end for a
// hash and then once more beside the first of its hash group.
//
// Told which file sets come next, it sorts those on helper threads while the
// caller works through the current one, so that several files are read at
// once (a cold disk serves them together); the results are the same.
class ContentClassifier {
public:
    struct Options {
        std::size_t memoryBudget = std::size_t{64} << 20;  // for the blocks held at once
        std::size_t maxOpenFiles = 256;                    // readers open at once, at most
        std::size_t firstBlock = 1024;
        std::size_t largestBlock = std::size_t{1} << 20;
        // How long to wait for descriptors when the process has run out.
        std::chrono::milliseconds patience = std::chrono::seconds(5);
        // Sets sorted at once by helpers, each on a thread of its own, ahead
        // of the caller; 1 or less: the caller reads every file itself. The
        // helpers hold at most memoryBudget and maxOpenFiles between them,
        // besides the caller's own.
        int requests = 8;
        // Whether the helpers start with the first set. Otherwise they start
        // once the caller has had to wait for the disk a few times: with
        // everything cached, handing work between threads costs more than it
        // saves.
        bool fromStart = false;
        std::size_t waitsBeforeStart = 16;
    };

    // The file sets the caller will classify after the current one, in the
    // order it will ask for them. Positions are the caller's own and grow.
    class Upcoming {
    public:
        virtual ~Upcoming() = default;
        // Where the sets after the current one begin.
        virtual std::size_t start() const = 0;
        // The paths of the first set at or after position at, which then
        // moves past it; false when there is none.
        virtual bool next(std::size_t& at, std::vector<std::string>& paths) const = 0;
    };

    struct Result {
        static constexpr int kNone = -1;
        // Files of one class hold the same bytes; every class has two or more
        // physical files. kNone: identical to no other file (unreadable, not a
        // regular file, or unique).
        int contentClass = kNone;
        // The file as it was read; valid unless the file could not be read.
        FileIdentity identity;
    };

    // What the last classify() cost.
    struct Statistics {
        std::int64_t bytesRead = 0;
        std::size_t filesOpened = 0;
        std::size_t peakOpenFiles = 0;
        std::size_t peakBlockBytes = 0;  // bytes of blocks held at once
    };

    ContentClassifier();
    explicit ContentClassifier(Options options);
    ~ContentClassifier();
    ContentClassifier(const ContentClassifier&) = delete;
    ContentClassifier& operator=(const ContentClassifier&) = delete;

    // One result per path, in the same order. Paths that lead to one physical
    // file (links, the same path twice) share its class and identity. Asks
    // stop before every read; asked to stop, it closes what it holds and
    // throws platform::WorkStopped.
    std::vector<Result> classify(const std::vector<std::string>& paths,
                                 platform::StopQuery& stop = platform::StopQuery::never());

    // The same, for one of a sequence of sets: the sets in upcoming may be
    // sorted ahead, and a set sorted ahead is handed over as it was found.
    // Stopped, the helpers sorting ahead stop too and are joined.
    std::vector<Result> classify(const std::vector<std::string>& paths, const Upcoming& upcoming,
                                 platform::StopQuery& stop = platform::StopQuery::never());

    // What the last classify() cost, wherever the set was sorted.
    const Statistics& statistics() const { return stats_; }

    // The sequence ends before its last set (the search was stopped): the
    // helpers sorting ahead stop and are joined.
    void endSequence();

private:
    friend class ClassifyAhead;
    struct Member;
    struct Bucket;
    class BlockSorter;

    // A helper's classifier, within its share of the budgets.
    ContentClassifier(Options options, const ReaderBudget& helperBudget);

    void splitBySize(std::vector<Bucket>& pending);
    void pass(Bucket bucket, std::vector<Bucket>& pending);
    bool canGrowApart(const Bucket& bucket) const;
    void classifyRemainders(const Bucket& bucket, std::vector<Bucket>& pending);
    void confirmGroup(const std::vector<std::size_t>& group, std::int64_t offset,
                      std::vector<Bucket>& pending);
    bool openAt(Member& member, std::int64_t offset);
    bool openAt(Member& member, std::int64_t offset, const std::function<bool()>& makeRoom);
    bool closeAnotherThan(const Member& keep);
    std::int64_t readInto(Member& member, char* buffer, std::size_t size);
    void close(Member& member);
    void fail(Member& member);
    void makeClass(const std::vector<std::size_t>& members);
    std::size_t blockFor(std::size_t members, std::size_t wanted) const;
    void noteBlockBytes(std::size_t bytes);

    std::vector<Result> classifyAll(const std::vector<std::string>& paths);
    void hintPass(const Bucket& bucket, std::size_t request, std::size_t block);
    ReaderBudget freshBudget();

    Options options_;
    Statistics stats_;
    std::vector<Member> members_;
    ReaderBudget::Shortage shortage_{false};
    std::optional<ReaderBudget> helperBudget_;  // set for a helper
    ReaderBudget budget_;
    std::vector<std::size_t> open_;  // members whose readers are open
    int nextClass_ = 0;
    platform::StopQuery* stop_ = &platform::StopQuery::never();  // of the classify() running
    // Each pass first asks for the bytes it will read (and the next pass's),
    // so that the disk fetches them for all the pass's files at once.
    bool hintReads_ = false;
    // Last: its helpers end before anything they use.
    std::unique_ptr<ClassifyAhead> ahead_;
};

}  // namespace folivar
