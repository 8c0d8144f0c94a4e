#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "duplicates/ClassifiedFile.h"
#include "duplicates/ClassifyOptions.h"
#include "duplicates/ClassifyStatistics.h"
#include "duplicates/OpenReaders.h"
#include "duplicates/PhysicalFiles.h"
#include "duplicates/ReaderBudget.h"
#include "platform/StopQuery.h"

namespace folivar {

// Sorts one set of files into classes of byte for byte identical contents
// without comparing them in pairs: files of one size are read side by side in
// growing blocks, split by what each block holds and dropped as soon as no
// other file shares their contents so far. Every file is read at most once,
// in order, except where more files of one size share a first block than may
// be open at once: those are opened again for each pass, and if they still
// share their start when memory stops the blocks from growing, each is read
// to its end for a hash and then once more beside the first of its hash group.
class ContentSplitter {
public:
    explicit ContentSplitter(const ClassifyOptions& options);
    ContentSplitter(const ContentSplitter&) = delete;
    ContentSplitter& operator=(const ContentSplitter&) = delete;

    // One result per path, in the same order, reading within budget. Asks
    // stop before every read; asked to stop, it closes what it holds and
    // throws platform::WorkStopped. hintReads: each pass first asks for the
    // bytes it will read (and the next pass's), so that the disk fetches them
    // for all the pass's files at once.
    std::vector<ClassifiedFile> classify(const std::vector<std::string>& paths,
                                         const ReaderBudget& budget, platform::StopQuery& stop,
                                         bool hintReads);

    // What the last classify() cost.
    const ClassifyStatistics& statistics() const { return stats_; }

private:
    struct Bucket {
        std::vector<std::size_t> members;  // all of one size and, up to offset, of the same bytes
        std::int64_t offset = 0;
        std::size_t block = 0;  // the next pass reads this much; 0: the first pass
    };

    void splitAll();
    void splitBySize(std::vector<Bucket>& pending);
    void pass(Bucket bucket, std::vector<Bucket>& pending);
    void hintPass(const Bucket& bucket, std::size_t request, std::size_t block);
    bool canGrowApart(const Bucket& bucket) const;
    void classifyRemainders(const Bucket& bucket, std::vector<Bucket>& pending);
    void confirmGroup(const std::vector<std::size_t>& group, std::int64_t offset,
                      std::vector<Bucket>& pending);
    void makeClass(const std::vector<std::size_t>& members);
    std::size_t blockFor(std::size_t members, std::size_t wanted) const;
    void noteBlockBytes(std::size_t bytes);

    ClassifyOptions options_;
    ClassifyStatistics stats_;
    PhysicalFiles files_;
    OpenReaders readers_{files_, stats_};
    int nextClass_ = 0;
    bool hintReads_ = false;
};

}  // namespace folivar
