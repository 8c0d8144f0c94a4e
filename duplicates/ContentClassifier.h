#pragma once

#include <memory>
#include <string>
#include <vector>

#include "duplicates/ClassifiedFile.h"
#include "duplicates/ClassifyOptions.h"
#include "duplicates/ClassifyStatistics.h"
#include "duplicates/ContentSplitter.h"
#include "duplicates/ReaderBudget.h"
#include "duplicates/UpcomingSets.h"
#include "platform/StopQuery.h"

namespace folivar {

class ClassifyAhead;

// Sorts file sets into classes of byte for byte identical contents
// (ContentSplitter), within maxOpenFiles readers, fewer where descriptors are
// scarce.
//
// Told which file sets come next, it sorts those on helper threads while the
// caller works through the current one, so that several files are read at
// once (a cold disk serves them together); the results are the same.
class ContentClassifier {
public:
    using Options = ClassifyOptions;
    using Upcoming = UpcomingSets;
    using Result = ClassifiedFile;
    using Statistics = ClassifyStatistics;

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
    Options options_;
    Statistics stats_;
    ReaderBudget::Shortage shortage_{false};
    ContentSplitter splitter_;
    // Once the helpers are at work, the caller's own passes hint their reads too.
    bool hintReads_ = false;
    // Last: its helpers end before anything they use.
    std::unique_ptr<ClassifyAhead> ahead_;
};

}  // namespace folivar
