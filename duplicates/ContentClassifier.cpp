#include "duplicates/ContentClassifier.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "duplicates/ClassifyAhead.h"
#include "platform/FileSystem.h"
#include "platform/WorkStopped.h"

namespace folivar {

namespace {

constexpr std::size_t kSmallestBlock = 128;
constexpr std::size_t kSkipChunk = 64 * 1024;

std::unique_ptr<char[]> allocate(std::size_t size) {
    return std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(size, 1));
}

std::uint64_t hashOf(const char* data, std::size_t size) {
    return std::hash<std::string_view>{}(std::string_view(data, size));
}

}  // namespace

struct ContentClassifier::Member {
    std::string path;
    FileIdentity identity;
    std::unique_ptr<platform::FileReader> reader;
    std::int64_t position = 0;  // bytes read through reader
    std::size_t openSlot = 0;   // where it stands in open_ while reader is set
    bool pinned = false;        // its reader must stay open for the pass under way
    bool failed = false;
    int contentClass = Result::kNone;
};

struct ContentClassifier::Bucket {
    std::vector<std::size_t> members;  // all of one size and, up to offset, of the same bytes
    std::int64_t offset = 0;
    std::size_t block = 0;  // the next pass reads this much; 0: the first pass
};

// Splits the blocks of one pass by their bytes. A hash picks the candidates
// once there are many; equality is always decided by comparing the bytes.
class ContentClassifier::BlockSorter {
public:
    struct Part {
        std::unique_ptr<char[]> bytes;
        std::size_t count = 0;
        std::vector<std::size_t> members;
    };

    explicit BlockSorter(std::size_t blockSize)
        : blockSize_(blockSize), scratch_(allocate(blockSize)) {}

    char* scratch() { return scratch_.get(); }
    std::size_t heldBytes() const { return (parts_.size() + 1) * blockSize_; }
    std::vector<Part>& parts() { return parts_; }

    // Files the block now in scratch() (count bytes) under member.
    void place(std::size_t member, std::size_t count) {
        const char* data = scratch_.get();
        std::uint64_t hash = 0;
        if (parts_.size() > kLinearSearch) {
            if (index_.empty()) {
                for (std::size_t i = 0; i < parts_.size(); ++i) {
                    index_.emplace(hashOf(parts_[i].bytes.get(), parts_[i].count), i);
                }
            }
            hash = hashOf(data, count);
            const auto [first, last] = index_.equal_range(hash);
            for (auto it = first; it != last; ++it) {
                if (matches(parts_[it->second], count)) {
                    parts_[it->second].members.push_back(member);
                    return;
                }
            }
        } else {
            for (Part& part : parts_) {
                if (matches(part, count)) {
                    part.members.push_back(member);
                    return;
                }
            }
        }
        if (!index_.empty()) {
            index_.emplace(hash, parts_.size());
        }
        parts_.push_back(Part{std::move(scratch_), count, {member}});
        scratch_ = allocate(blockSize_);
    }

private:
    static constexpr std::size_t kLinearSearch = 8;

    bool matches(const Part& part, std::size_t count) const {
        return part.count == count && std::memcmp(part.bytes.get(), scratch_.get(), count) == 0;
    }

    std::size_t blockSize_;
    std::unique_ptr<char[]> scratch_;
    std::vector<Part> parts_;
    std::unordered_multimap<std::uint64_t, std::size_t> index_;
};

ContentClassifier::ContentClassifier() : ContentClassifier(Options{}) {}

ContentClassifier::ContentClassifier(Options options)
    : options_(options), budget_(options.maxOpenFiles, options.patience, &shortage_) {
    options_.firstBlock = std::max<std::size_t>(options_.firstBlock, 1);
    options_.largestBlock = std::max(options_.largestBlock, options_.firstBlock);
}

ContentClassifier::ContentClassifier(Options options, const ReaderBudget& helperBudget)
    : options_(options), helperBudget_(helperBudget), budget_(helperBudget), hintReads_(true) {
    options_.firstBlock = std::max<std::size_t>(options_.firstBlock, 1);
    options_.largestBlock = std::max(options_.largestBlock, options_.firstBlock);
    options_.requests = 1;
}

ContentClassifier::~ContentClassifier() = default;

std::vector<ContentClassifier::Result> ContentClassifier::classify(
    const std::vector<std::string>& paths, const Upcoming& upcoming, platform::StopQuery& stop) {
    if (options_.requests <= 1) {
        return classify(paths, stop);
    }
    if (!ahead_) {
        ahead_ = std::make_unique<ClassifyAhead>(options_, shortage_);
    }
    try {
        auto sorted = ahead_->take(paths, upcoming, stop);
        if (sorted) {
            stats_ = sorted->stats;
            return std::move(sorted->results);
        }
        hintReads_ = ahead_->started();
        return classify(paths, stop);
    } catch (const platform::WorkStopped&) {
        endSequence();  // the helpers stop at their next read and are joined
        throw;
    }
}

void ContentClassifier::endSequence() {
    ahead_.reset();
}

// The process's limit may have changed since the last set.
ReaderBudget ContentClassifier::freshBudget() {
    return helperBudget_ ? *helperBudget_
                         : ReaderBudget(options_.maxOpenFiles, options_.patience, &shortage_);
}

std::vector<ContentClassifier::Result> ContentClassifier::classify(
    const std::vector<std::string>& paths, platform::StopQuery& stop) {
    stop_ = &stop;
    try {
        std::vector<Result> results = classifyAll(paths);
        stop_ = &platform::StopQuery::never();
        return results;
    } catch (...) {
        // Stopped (or out of memory): the files it holds open are closed now.
        members_.clear();
        open_.clear();
        stop_ = &platform::StopQuery::never();
        throw;
    }
}

std::vector<ContentClassifier::Result> ContentClassifier::classifyAll(
    const std::vector<std::string>& paths) {
    members_.clear();
    stats_ = Statistics{};
    open_.clear();
    nextClass_ = 0;
    budget_ = freshBudget();

    // One member per physical file; the paths that lead to it share it: the
    // same inode on one device, or the same size and times on another.
    std::vector<std::size_t> memberOf(paths.size(), SIZE_MAX);
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::size_t> byInode;
    using State = std::tuple<std::int64_t, std::int32_t, std::int64_t, std::int32_t>;
    std::map<State, std::vector<std::size_t>> byState;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        platform::FileStatus status;
        if (!platform::fileSystem().status(paths[i], true, status) || !status.isRegular()) {
            continue;
        }
        const FileIdentity identity = FileIdentity::of(status);
        const auto [slot, fresh] = byInode.try_emplace({identity.device, identity.inode}, 0);
        if (!fresh) {
            memberOf[i] = slot->second;
            continue;
        }
        auto& sameState = byState[State{identity.modified.seconds, identity.modified.nanoseconds,
                                        identity.changed.seconds, identity.changed.nanoseconds}];
        const auto known = std::find_if(sameState.begin(), sameState.end(), [&](std::size_t m) {
            return members_[m].identity.samePhysicalFile(identity);
        });
        if (known != sameState.end()) {
            memberOf[i] = slot->second = *known;
            continue;
        }
        memberOf[i] = slot->second = members_.size();
        sameState.push_back(members_.size());
        members_.push_back(Member{paths[i], identity, nullptr});
    }

    std::vector<Bucket> pending;
    splitBySize(pending);
    while (!pending.empty()) {
        Bucket bucket = std::move(pending.back());
        pending.pop_back();
        if (bucket.members.size() < 2) {
            for (std::size_t m : bucket.members) {
                close(members_[m]);
            }
        } else if (bucket.offset > 0 && bucket.members.size() > budget_.capacity() &&
                   !canGrowApart(bucket)) {
            classifyRemainders(bucket, pending);
        } else {
            pass(std::move(bucket), pending);
        }
    }

    std::vector<Result> results(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (memberOf[i] != SIZE_MAX) {
            const Member& member = members_[memberOf[i]];
            results[i] = Result{member.contentClass, member.identity};
        }
    }
    members_.clear();
    return results;
}

// Files of different sizes differ: only those that share a size are read.
void ContentClassifier::splitBySize(std::vector<Bucket>& pending) {
    std::map<std::int64_t, std::vector<std::size_t>> bySize;
    for (std::size_t m = 0; m < members_.size(); ++m) {
        bySize[members_[m].identity.size].push_back(m);
    }
    for (auto& [size, members] : bySize) {
        if (members.size() >= 2) {
            pending.push_back(Bucket{std::move(members), 0, 0});
        }
    }
}

// Reads the next block of every file of the bucket and splits the bucket by
// what the blocks hold. Files keep their readers open for the next pass,
// unless there are too many of them: then they are opened again later.
void ContentClassifier::pass(Bucket bucket, std::vector<Bucket>& pending) {
    const bool park = bucket.members.size() > budget_.capacity();
    const std::size_t block =
        blockFor(bucket.members.size(), bucket.block == 0 ? options_.firstBlock : bucket.block);
    // One byte past the size found means a file that ends where it should is
    // known to end after this read.
    const std::int64_t size = members_[bucket.members.front()].identity.size;
    std::size_t request = block;
    if (bucket.offset <= size && size - bucket.offset < static_cast<std::int64_t>(block)) {
        request = static_cast<std::size_t>(size - bucket.offset) + 1;
    }

    if (hintReads_ && !park) {
        hintPass(bucket, request, block);
    }
    BlockSorter sorter(request);
    for (std::size_t m : bucket.members) {
        Member& member = members_[m];
        if (!openAt(member, bucket.offset)) {
            fail(member);
            continue;
        }
        const std::int64_t count = readInto(member, sorter.scratch(), request);
        if (count < 0) {
            fail(member);
            continue;
        }
        sorter.place(m, static_cast<std::size_t>(count));
        if (park || static_cast<std::size_t>(count) < request) {
            close(member);
        }
    }
    noteBlockBytes(sorter.heldBytes());

    for (auto& part : sorter.parts()) {
        if (part.members.size() < 2) {
            close(members_[part.members.front()]);
        } else if (part.count < request) {
            makeClass(part.members);
        } else {
            pending.push_back(Bucket{std::move(part.members),
                                     bucket.offset + static_cast<std::int64_t>(request),
                                     std::min(block * 8, options_.largestBlock)});
        }
    }
}

// Opens the files of a pass and asks for the bytes it will read of each, and
// those the next pass would read, before reading any: the disk then fetches
// them side by side instead of one after the other.
void ContentClassifier::hintPass(const Bucket& bucket, std::size_t request, std::size_t block) {
    const auto span =
        static_cast<std::int64_t>(request + std::min(block * 8, options_.largestBlock));
    for (std::size_t m : bucket.members) {
        Member& member = members_[m];
        if (openAt(member, bucket.offset)) {
            member.reader->willNeed(bucket.offset, span);
        } else {
            fail(member);
        }
    }
}

// Files that cannot all stay open are opened again for every pass and read
// again up to where they stand. While blocks still grow eightfold, that costs
// a fraction of what they read; once memory stops the growth, it would not.
bool ContentClassifier::canGrowApart(const Bucket& bucket) const {
    return bucket.block < options_.largestBlock &&
           blockFor(bucket.members.size(), bucket.block) == bucket.block;
}

// More files share their start than may be open at once: each is read to its
// end alone and sorted by a hash of the rest, and every hash group is then
// confirmed byte for byte.
void ContentClassifier::classifyRemainders(const Bucket& bucket, std::vector<Bucket>& pending) {
    const std::size_t block = blockFor(1, options_.largestBlock);
    const auto buffer = allocate(block);
    noteBlockBytes(block);
    std::map<std::pair<std::int64_t, std::uint64_t>, std::size_t> groupOf;
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t m : bucket.members) {
        Member& member = members_[m];
        if (!openAt(member, bucket.offset)) {
            fail(member);
            continue;
        }
        std::int64_t length = 0;
        std::uint64_t hash = 0;
        std::int64_t count = 0;
        do {
            count = readInto(member, buffer.get(), block);
            if (count > 0) {
                hash =
                    hash * 0x100000001b3ULL ^ hashOf(buffer.get(), static_cast<std::size_t>(count));
                length += count;
            }
        } while (count == static_cast<std::int64_t>(block));
        close(member);
        if (count < 0) {
            fail(member);
            continue;
        }
        const auto [it, added] = groupOf.try_emplace({length, hash}, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[it->second].push_back(m);
    }
    for (const auto& group : groups) {
        if (group.size() >= 2) {
            confirmGroup(group, bucket.offset, pending);
        }
    }
}

// Reads the group's first file beside the others, as many at a time as may be
// open, from offset to the end. Those that match it form its class; the rest
// go back as a bucket of their own.
void ContentClassifier::confirmGroup(const std::vector<std::size_t>& group, std::int64_t offset,
                                     std::vector<Bucket>& pending) {
    const std::size_t block = blockFor(1, options_.largestBlock);
    const auto expected = allocate(block);
    const auto actual = allocate(block);
    noteBlockBytes(2 * block);
    Member& first = members_[group.front()];
    std::vector<std::size_t> confirmed{group.front()};
    std::vector<std::size_t> leftovers;
    const std::size_t slice = budget_.capacity() - 1;
    // Still to be read beside the first, in order; one that had to give its
    // descriptor back goes to the end.
    std::vector<std::size_t> queue(group.begin() + 1, group.end());
    std::size_t next = 0;
    while (next < queue.size()) {
        if (first.failed || !openAt(first, offset)) {
            fail(first);
            leftovers.insert(leftovers.end(), queue.begin() + static_cast<std::ptrdiff_t>(next),
                             queue.end());
            break;
        }
        first.pinned = true;
        std::vector<std::size_t> live;
        bool full = false;
        // Out of descriptors with some files open: this slice makes do with
        // one fewer, and the one let go waits for the next.
        const auto shrink = [&] {
            if (live.empty()) {
                return false;
            }
            close(members_[live.back()]);
            queue.push_back(live.back());
            live.pop_back();
            full = true;
            return true;
        };
        while (next < queue.size() && live.size() < slice && !full) {
            Member& member = members_[queue[next++]];
            if (openAt(member, offset, shrink)) {
                member.pinned = true;
                live.push_back(queue[next - 1]);
            } else {
                fail(member);
            }
        }
        std::int64_t count = 0;
        while (!live.empty()) {
            count = readInto(first, expected.get(), block);
            if (count < 0) {
                break;
            }
            std::erase_if(live, [&](std::size_t m) {
                const std::int64_t got = readInto(members_[m], actual.get(), block);
                if (got < 0) {
                    fail(members_[m]);
                    return true;
                }
                if (got != count || std::memcmp(expected.get(), actual.get(),
                                                static_cast<std::size_t>(count)) != 0) {
                    close(members_[m]);
                    leftovers.push_back(m);
                    return true;
                }
                return false;
            });
            if (count < static_cast<std::int64_t>(block)) {
                break;
            }
        }
        for (std::size_t m : live) {
            close(members_[m]);
        }
        if (count < 0) {
            fail(first);
            leftovers.insert(leftovers.end(), live.begin(), live.end());
            leftovers.insert(leftovers.end(), queue.begin() + static_cast<std::ptrdiff_t>(next),
                             queue.end());
            break;
        }
        confirmed.insert(confirmed.end(), live.begin(), live.end());
        close(first);
    }
    if (!first.failed && confirmed.size() >= 2) {
        makeClass(confirmed);
    }
    if (leftovers.size() >= 2) {
        pending.push_back(Bucket{std::move(leftovers), offset, 0});
    }
}

bool ContentClassifier::openAt(Member& member, std::int64_t offset) {
    return openAt(member, offset, [this, &member] { return closeAnotherThan(member); });
}

bool ContentClassifier::openAt(Member& member, std::int64_t offset,
                               const std::function<bool()>& makeRoom) {
    if (member.failed) {
        return false;
    }
    if (member.reader) {
        return member.position == offset;
    }
    member.reader = budget_.open(member.path, makeRoom);
    if (!member.reader) {
        return false;
    }
    member.position = 0;
    member.openSlot = open_.size();
    open_.push_back(static_cast<std::size_t>(&member - members_.data()));
    ++stats_.filesOpened;
    stats_.peakOpenFiles = std::max(stats_.peakOpenFiles, open_.size());
    // Another file put in its place since it was looked at is not the one
    // that was sorted.
    if (!(FileIdentity::of(member.reader->status()) == member.identity)) {
        return false;
    }
    if (offset > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(offset, kSkipChunk));
        const auto skipped = allocate(chunk);
        while (member.position < offset) {
            const auto want = static_cast<std::size_t>(
                std::min<std::int64_t>(offset - member.position, static_cast<std::int64_t>(chunk)));
            if (readInto(member, skipped.get(), want) != static_cast<std::int64_t>(want)) {
                return false;
            }
        }
    }
    return true;
}

// Out of descriptors: a reader kept open for a later pass goes first; its file
// is opened again when its turn comes.
bool ContentClassifier::closeAnotherThan(const Member& keep) {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
        Member& other = members_[*it];
        if (&other != &keep && !other.pinned) {
            close(other);
            return true;
        }
    }
    return false;
}

std::int64_t ContentClassifier::readInto(Member& member, char* buffer, std::size_t size) {
    // Between two reads nothing is half done: what was read so far is
    // dropped with the whole search.
    if (stop_->stopRequested()) {
        throw platform::WorkStopped();
    }
    budget_.keepOn();
    const std::int64_t count = member.reader->read(buffer, size);
    if (count > 0) {
        member.position += count;
        stats_.bytesRead += count;
    }
    return count;
}

void ContentClassifier::close(Member& member) {
    member.pinned = false;
    if (member.reader) {
        member.reader.reset();
        const std::size_t moved = open_.back();
        open_[member.openSlot] = moved;
        members_[moved].openSlot = member.openSlot;
        open_.pop_back();
    }
}

void ContentClassifier::fail(Member& member) {
    close(member);
    member.failed = true;
    member.contentClass = Result::kNone;
}

void ContentClassifier::makeClass(const std::vector<std::size_t>& members) {
    for (std::size_t m : members) {
        members_[m].contentClass = nextClass_;
        close(members_[m]);
    }
    ++nextClass_;
}

// As large as wanted, but never so large that one block for each of members
// files (and one more to read into) exceeds the memory budget.
std::size_t ContentClassifier::blockFor(std::size_t members, std::size_t wanted) const {
    const std::size_t affordable =
        std::max(options_.memoryBudget / (members + 1), std::min(wanted, kSmallestBlock));
    return std::max<std::size_t>(std::min({wanted, options_.largestBlock, affordable}), 1);
}

void ContentClassifier::noteBlockBytes(std::size_t bytes) {
    stats_.peakBlockBytes = std::max(stats_.peakBlockBytes, bytes);
}

}  // namespace folivar
