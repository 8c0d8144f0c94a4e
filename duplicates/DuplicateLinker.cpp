#include "duplicates/DuplicateLinker.h"

#include "duplicates/InPlaceLink.h"
#include "filelist/ListStatus.h"
#include "filelist/ProgressReporter.h"
#include "platform/FileSystem.h"
#include "platform/HiddenName.h"

namespace folivar {

namespace {

const std::string kOrig = "Orig";
const std::string kLinked = linkResultText(LinkResult::Linked);

}  // namespace

DuplicateLinker::DuplicateLinker(FileTable& table, DuplicateRecords& records, Memory& memory)
    : table_(table), records_(records), memory_(memory) {}

bool DuplicateLinker::takesPart(const FileRow& row) const {
    return row.Status != kOrig && row.Status != kLinked;
}

DuplicateLinker::Plan DuplicateLinker::plan() {
    Plan plan;
    for (const FileRow& row : table_) {
        if (!takesPart(row)) {
            continue;
        }
        const std::string path = row.file();
        const std::optional<DuplicateRecords::Pair> pair = records_.pairOf(path);
        if (!pair || pair->duplicate.size == 0) {
            ++plan.neither;
            continue;
        }
        const std::pair key{pair->duplicate.device, pair->original.device};
        auto known = memory_.routes.find(key);
        if (known == memory_.routes.end()) {
            SharingPair files;
            if (!files.open(path, *pair, lastOriginal_)) {
                ++plan.neither;
                continue;
            }
            memory_.ownBefore.emplace(path, files.ownBytes());
            const platform::SharingResult answer = files.shareFirstChunk();
            if (answer == platform::SharingResult::Failed) {
                ++plan.neither;  // this pair, not the file system, refused
                continue;
            }
            Route route = Route::Share;
            if (answer == platform::SharingResult::Unsupported) {
                route = key.first == key.second ? Route::Link : Route::Neither;
            }
            known = memory_.routes.emplace(key, route).first;
        }
        switch (known->second) {
            case Route::Share:
                ++plan.share;
                break;
            case Route::Link:
                ++plan.link;
                break;
            case Route::Neither:
                ++plan.neither;
                break;
        }
    }
    return plan;
}

DuplicateLinker::Outcome DuplicateLinker::run(ProgressSink& progress, bool mayHardLink,
                                              LinkRecorder& recorder) {
    ProgressReporter report(progress, table_.size());
    report.status(kPleaseWait);
    Outcome outcome;
    for (std::size_t row = 0; row < table_.size(); ++row) {
        // Between two rows: a safe point, no file half done.
        report.rowsDone(row);
        if (report.stopRequested()) {
            outcome.stopped = true;
            break;
        }
        if (!takesPart(table_[row])) {
            continue;
        }
        const std::optional<DuplicateRecords::Pair> pair = records_.pairOf(table_[row].file());
        // An empty file has nothing to give back, and linking placeholders
        // would make one file of them.
        const LinkResult result =
            pair && pair->duplicate.size > 0
                ? linkRow(row, *pair, progress, mayHardLink, recorder, outcome)
                : LinkResult::Remained;
        table_[row].Status = linkResultText(result);
        switch (result) {
            case LinkResult::Shared:
                ++outcome.shared;
                break;
            case LinkResult::Linked:
                ++outcome.linked;
                break;
            case LinkResult::Remained:
                ++outcome.remained;
                break;
        }
    }
    report.rowsDone(table_.size());
    outcome.rowCount = table_.size();
    const std::string text = linkingText(outcome.rowCount, outcome.shared, outcome.linked,
                                         outcome.remained, outcome.reclaimed);
    report.status(outcome.stopped ? stoppedText(text) : text);
    return outcome;
}

LinkResult DuplicateLinker::linkRow(std::size_t row, const DuplicateRecords::Pair& pair,
                                    ProgressSink& progress, bool mayHardLink,
                                    LinkRecorder& recorder, Outcome& outcome) {
    const std::string path = table_[row].file();
    LinkStep step{.row = row,
                  .kind = LinkStep::Kind::Share,
                  .duplicate = path,
                  .original = pair.originalPath,
                  .aside = {},
                  .duplicateFile = pair.duplicate,
                  .originalFile = pair.original};
    const std::pair key{pair.duplicate.device, pair.original.device};
    const auto known = memory_.routes.find(key);
    if (known == memory_.routes.end() || known->second == Route::Share) {
        SharingPair files;
        if (!files.open(path, pair, lastOriginal_)) {
            return LinkResult::Remained;
        }
        // Counted from before the plan shared a first chunk, and only once.
        std::int64_t own = files.ownBytes();
        std::int64_t planned = 0;
        if (const auto it = memory_.ownBefore.find(path); it != memory_.ownBefore.end()) {
            own = planned = it->second;
            memory_.ownBefore.erase(it);
        }
        if (files.alreadyShared()) {
            outcome.reclaimed += planned;
            recorder.after(step, LinkResult::Shared);
            return LinkResult::Shared;
        }
        if (!recorder.before(step)) {
            return LinkResult::Remained;
        }
        const platform::SharingResult answer = files.share(progress);
        if (answer == platform::SharingResult::Shared) {
            outcome.reclaimed += own;
            // Nothing of the file changed but where its data lies; should the
            // kernel have moved its change time, it is still the file compared.
            platform::FileStatus now;
            if (platform::fileSystem().status(path, false, now) &&
                pair.duplicate.sameUpToRename(FileIdentity::of(now))) {
                records_.follow(path, pair.group, FileIdentity::of(now));
            }
            recorder.after(step, LinkResult::Shared);
            return LinkResult::Shared;
        }
        recorder.after(step, LinkResult::Remained);
        if (answer != platform::SharingResult::Unsupported) {
            return LinkResult::Remained;
        }
        if (known == memory_.routes.end()) {
            memory_.routes.emplace(key, key.first == key.second ? Route::Link : Route::Neither);
        }
    }
    if (!mayHardLink || key.first != key.second) {
        return LinkResult::Remained;
    }
    InPlaceLink link;
    if (!link.check(path, pair)) {
        return LinkResult::Remained;
    }
    step.kind = LinkStep::Kind::Link;
    step.aside = platform::hiddenSibling(path, "folivar-linking");
    if (!recorder.before(step)) {
        return LinkResult::Remained;
    }
    const LinkResult result = link.make(step);
    if (result == LinkResult::Linked) {
        outcome.reclaimed += link.bytesGivenBack();
        records_.forget(path);
        records_.follow(pair.originalPath, pair.group, link.originalNow());
    }
    recorder.after(step, result);
    return result;
}

}  // namespace folivar
