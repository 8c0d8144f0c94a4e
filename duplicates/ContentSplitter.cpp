#include "duplicates/ContentSplitter.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "duplicates/BlockSorter.h"
#include "duplicates/Blocks.h"

namespace folivar {

namespace {

constexpr std::size_t kSmallestBlock = 128;

}  // namespace

ContentSplitter::ContentSplitter(const ClassifyOptions& options) : options_(options) {
    options_.firstBlock = std::max<std::size_t>(options_.firstBlock, 1);
    options_.largestBlock = std::max(options_.largestBlock, options_.firstBlock);
}

std::vector<ClassifiedFile> ContentSplitter::classify(const std::vector<std::string>& paths,
                                                      const ReaderBudget& budget,
                                                      platform::StopQuery& stop, bool hintReads) {
    stats_ = ClassifyStatistics{};
    nextClass_ = 0;
    hintReads_ = hintReads;
    readers_.start(budget, stop);
    try {
        files_.gather(paths);
        splitAll();
    } catch (...) {
        // Stopped (or out of memory): the files it holds open are closed now.
        files_.clear();
        readers_.finish();
        throw;
    }
    std::vector<ClassifiedFile> results = files_.results();
    files_.clear();
    readers_.finish();
    return results;
}

void ContentSplitter::splitAll() {
    std::vector<Bucket> pending;
    splitBySize(pending);
    while (!pending.empty()) {
        Bucket bucket = std::move(pending.back());
        pending.pop_back();
        if (bucket.members.size() < 2) {
            for (std::size_t m : bucket.members) {
                readers_.close(files_[m]);
            }
        } else if (bucket.offset > 0 && bucket.members.size() > readers_.capacity() &&
                   !canGrowApart(bucket)) {
            classifyRemainders(bucket, pending);
        } else {
            pass(std::move(bucket), pending);
        }
    }
}

// Files of different sizes differ: only those that share a size are read.
void ContentSplitter::splitBySize(std::vector<Bucket>& pending) {
    std::map<std::int64_t, std::vector<std::size_t>> bySize;
    for (std::size_t m = 0; m < files_.size(); ++m) {
        bySize[files_[m].identity.size].push_back(m);
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
void ContentSplitter::pass(Bucket bucket, std::vector<Bucket>& pending) {
    const bool park = bucket.members.size() > readers_.capacity();
    const std::size_t block =
        blockFor(bucket.members.size(), bucket.block == 0 ? options_.firstBlock : bucket.block);
    // One byte past the size found means a file that ends where it should is
    // known to end after this read.
    const std::int64_t size = files_[bucket.members.front()].identity.size;
    std::size_t request = block;
    if (bucket.offset <= size && size - bucket.offset < static_cast<std::int64_t>(block)) {
        request = static_cast<std::size_t>(size - bucket.offset) + 1;
    }

    if (hintReads_ && !park) {
        hintPass(bucket, request, block);
    }
    BlockSorter sorter(request);
    for (std::size_t m : bucket.members) {
        PhysicalFiles::Member& member = files_[m];
        if (!readers_.openAt(member, bucket.offset)) {
            readers_.fail(member);
            continue;
        }
        const std::int64_t count = readers_.read(member, sorter.scratch(), request);
        if (count < 0) {
            readers_.fail(member);
            continue;
        }
        sorter.place(m, static_cast<std::size_t>(count));
        if (park || static_cast<std::size_t>(count) < request) {
            readers_.close(member);
        }
    }
    noteBlockBytes(sorter.heldBytes());

    for (auto& part : sorter.parts()) {
        if (part.members.size() < 2) {
            readers_.close(files_[part.members.front()]);
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
void ContentSplitter::hintPass(const Bucket& bucket, std::size_t request, std::size_t block) {
    const auto span =
        static_cast<std::int64_t>(request + std::min(block * 8, options_.largestBlock));
    for (std::size_t m : bucket.members) {
        PhysicalFiles::Member& member = files_[m];
        if (readers_.openAt(member, bucket.offset)) {
            member.reader->willNeed(bucket.offset, span);
        } else {
            readers_.fail(member);
        }
    }
}

// Files that cannot all stay open are opened again for every pass and read
// again up to where they stand. While blocks still grow eightfold, that costs
// a fraction of what they read; once memory stops the growth, it would not.
bool ContentSplitter::canGrowApart(const Bucket& bucket) const {
    return bucket.block < options_.largestBlock &&
           blockFor(bucket.members.size(), bucket.block) == bucket.block;
}

// More files share their start than may be open at once: each is read to its
// end alone and sorted by a hash of the rest, and every hash group is then
// confirmed byte for byte.
void ContentSplitter::classifyRemainders(const Bucket& bucket, std::vector<Bucket>& pending) {
    const std::size_t block = blockFor(1, options_.largestBlock);
    const auto buffer = allocateBlock(block);
    noteBlockBytes(block);
    std::map<std::pair<std::int64_t, std::uint64_t>, std::size_t> groupOf;
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t m : bucket.members) {
        PhysicalFiles::Member& member = files_[m];
        if (!readers_.openAt(member, bucket.offset)) {
            readers_.fail(member);
            continue;
        }
        std::int64_t length = 0;
        std::uint64_t hash = 0;
        std::int64_t count = 0;
        do {
            count = readers_.read(member, buffer.get(), block);
            if (count > 0) {
                hash = hash * 0x100000001b3ULL ^
                       hashOfBlock(buffer.get(), static_cast<std::size_t>(count));
                length += count;
            }
        } while (count == static_cast<std::int64_t>(block));
        readers_.close(member);
        if (count < 0) {
            readers_.fail(member);
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
void ContentSplitter::confirmGroup(const std::vector<std::size_t>& group, std::int64_t offset,
                                   std::vector<Bucket>& pending) {
    const std::size_t block = blockFor(1, options_.largestBlock);
    const auto expected = allocateBlock(block);
    const auto actual = allocateBlock(block);
    noteBlockBytes(2 * block);
    PhysicalFiles::Member& first = files_[group.front()];
    std::vector<std::size_t> confirmed{group.front()};
    std::vector<std::size_t> leftovers;
    const std::size_t slice = readers_.capacity() - 1;
    // Still to be read beside the first, in order; one that had to give its
    // descriptor back goes to the end.
    std::vector<std::size_t> queue(group.begin() + 1, group.end());
    std::size_t next = 0;
    while (next < queue.size()) {
        if (first.failed || !readers_.openAt(first, offset)) {
            readers_.fail(first);
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
            readers_.close(files_[live.back()]);
            queue.push_back(live.back());
            live.pop_back();
            full = true;
            return true;
        };
        while (next < queue.size() && live.size() < slice && !full) {
            PhysicalFiles::Member& member = files_[queue[next++]];
            if (readers_.openAt(member, offset, shrink)) {
                member.pinned = true;
                live.push_back(queue[next - 1]);
            } else {
                readers_.fail(member);
            }
        }
        std::int64_t count = 0;
        while (!live.empty()) {
            count = readers_.read(first, expected.get(), block);
            if (count < 0) {
                break;
            }
            std::erase_if(live, [&](std::size_t m) {
                const std::int64_t got = readers_.read(files_[m], actual.get(), block);
                if (got < 0) {
                    readers_.fail(files_[m]);
                    return true;
                }
                if (got != count || std::memcmp(expected.get(), actual.get(),
                                                static_cast<std::size_t>(count)) != 0) {
                    readers_.close(files_[m]);
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
            readers_.close(files_[m]);
        }
        if (count < 0) {
            readers_.fail(first);
            leftovers.insert(leftovers.end(), live.begin(), live.end());
            leftovers.insert(leftovers.end(), queue.begin() + static_cast<std::ptrdiff_t>(next),
                             queue.end());
            break;
        }
        confirmed.insert(confirmed.end(), live.begin(), live.end());
        readers_.close(first);
    }
    if (!first.failed && confirmed.size() >= 2) {
        makeClass(confirmed);
    }
    if (leftovers.size() >= 2) {
        pending.push_back(Bucket{std::move(leftovers), offset, 0});
    }
}

void ContentSplitter::makeClass(const std::vector<std::size_t>& members) {
    for (std::size_t m : members) {
        files_[m].contentClass = nextClass_;
        readers_.close(files_[m]);
    }
    ++nextClass_;
}

// As large as wanted, but never so large that one block for each of members
// files (and one more to read into) exceeds the memory budget.
std::size_t ContentSplitter::blockFor(std::size_t members, std::size_t wanted) const {
    const std::size_t affordable =
        std::max(options_.memoryBudget / (members + 1), std::min(wanted, kSmallestBlock));
    return std::max<std::size_t>(std::min({wanted, options_.largestBlock, affordable}), 1);
}

void ContentSplitter::noteBlockBytes(std::size_t bytes) {
    stats_.peakBlockBytes = std::max(stats_.peakBlockBytes, bytes);
}

}  // namespace folivar
