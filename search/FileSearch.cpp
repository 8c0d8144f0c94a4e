#include "search/FileSearch.h"

#include <optional>
#include <unordered_set>

#include "platform/Clock.h"
#include "platform/LocalTime.h"
#include "search/FolderQueue.h"
#include "search/FolderReader.h"
#include "search/LinkRoutes.h"
#include "search/MaskList.h"
#include "search/StatusHint.h"

namespace folivar {

namespace {

TSystemTime toSystemTime(platform::FileTime time) {
    const platform::LocalTime t = platform::toLocalTime(time);
    auto u16 = [](int v) { return static_cast<uint16_t>(v); };
    return TSystemTime{u16(t.year), u16(t.month),  u16(t.dayOfWeek), u16(t.day),
                       u16(t.hour), u16(t.minute), u16(t.second),    u16(t.millisecond)};
}

bool sameSecond(platform::FileTime a, platform::FileTime b) {
    return a.seconds == b.seconds;
}

TSystemTime withMilliseconds(TSystemTime time, platform::FileTime exact) {
    time.Milliseconds = static_cast<uint16_t>(exact.nanoseconds / 1000000);
    return time;
}

int32_t attributesOf(std::string_view name, const platform::FileStatus& st) {
    int32_t attr = 0;
    if (!st.ownerCanWrite()) {
        attr |= faReadOnly;
    }
    if (!name.empty() && name.front() == '.') {
        attr |= faHidden;
    }
    if (st.isDirectory()) {
        attr |= faDirectory;
    } else if (st.isRegular()) {
        attr |= faArchive;
    } else {
        attr |= faSysFile;
    }
    return attr;
}

TFileInformations recordOf(std::string_view name, const std::string& folder,
                           const platform::FileStatus& st) {
    TFileInformations info;
    info.Name = std::string(name);
    info.Path = folder;
    info.Attr = attributesOf(name, st);
    info.Size = st.isRegular() ? st.size : 0;
    // The three times often fall in the same second: convert each second once.
    const platform::FileTime created = st.hasBirthTime ? st.birthTime : st.changeTime;
    info.LastWriteTime = toSystemTime(st.modificationTime);
    info.LastAccessTime = sameSecond(st.accessTime, st.modificationTime)
                              ? withMilliseconds(info.LastWriteTime, st.accessTime)
                              : toSystemTime(st.accessTime);
    info.CreationTime =
        sameSecond(created, st.modificationTime) ? withMilliseconds(info.LastWriteTime, created)
        : sameSecond(created, st.accessTime)     ? withMilliseconds(info.LastAccessTime, created)
                                                 : toSystemTime(created);
    return info;
}

bool attributeTest(const TFileSearch& s, int32_t attr) {
    int32_t wanted = 0;
    wanted |= s.LookForReadOnlyFile ? faReadOnly : 0;
    wanted |= s.LookForHiddenFile ? faHidden : 0;
    wanted |= s.LookForSystemFile ? faSysFile : 0;
    wanted |= s.LookForDirectory ? faDirectory : 0;
    wanted |= s.LookForArchiveFile ? faArchive : 0;
    return (attr & wanted) != 0;
}

bool dateTest(const TFileSearch& s, const TFileInformations& info) {
    if (!s.FilterOnDate) {
        return true;
    }
    const TDateTime first = DateOf(s.DateFilterFirstDate);
    const TDateTime second = DateOf(s.DateFilterSecondDate);
    auto fits = [&](const TSystemTime& t) {
        const TDateTime d = EncodeDate(t.Year, t.Month, t.Day);
        switch (s.DateFilterKind) {
            case dfkBetween:
                return first <= d && d <= second;
            case dfkBefore:
                return d < first;
            case dfkAfter:
                return d > first;
            case dfkSame:
                return d == first;
        }
        return false;
    };
    switch (s.DateFilterFileAccess) {
        case dfakCreatedFiles:
            return fits(info.CreationTime);
        case dfakModifiedFiles:
            return fits(info.LastWriteTime);
        case dfakOpenedFiles:
            return fits(info.LastAccessTime);
        case dfakAnyFiles:
            return fits(info.CreationTime) || fits(info.LastWriteTime) || fits(info.LastAccessTime);
    }
    return false;
}

bool sizeTest(const TFileSearch& s, int64_t size) {
    if (!s.FilterOnSize) {
        return true;
    }
    switch (s.SizeFilterKind) {
        case sfkSmallerOrEqualTo:
            return size <= s.SizeFilterSize;
        case sfkBiggerOrEqualTo:
            return size >= s.SizeFilterSize;
    }
    return false;
}

}  // namespace

TFileSearch::TFileSearch() : DateFilterFirstDate(Today()), DateFilterSecondDate(Today()) {}

bool TFileSearch::Search() {
    platform::Clock& clock = platform::clock();

    // Compiled once per walk; an event handler cannot change them midway.
    MaskList includes(FileNames);
    MaskList excludes(ExcludedFiles);

    bool result = true;
    TStatistics stats{};
    const uint32_t startTick = clock.tickCount();
    FolderQueue queue;
    FolderReader reader(queue, ReadAhead, StatusHint(FileNames, ExcludedFiles));
    std::unordered_set<FolderId, FolderIdHash> walked;  // no folder is listed twice
    std::string folder = RootPath;
    std::size_t depth = 0;
    std::optional<LinkRoutes> links;
    bool firstCycle = true;

    for (;;) {
        if (!firstCycle) {
            if (queue.empty()) {
                break;
            }
            FolderQueue::Folder next = queue.pop();
            folder = std::move(next.path);
            depth = next.depth;
        }
        const bool listed = reader.open(folder, !firstCycle);
        firstCycle = false;
        if (listed && !walked.insert(reader.id()).second) {
            reader.skip();
            continue;
        }
        if (OnChangeFolder) {
            OnChangeFolder(folder);
        }
        if (!folder.empty() && folder.back() != '/') {
            folder += '/';
        }
        if (!listed) {
            result = false;
            ++stats.FoldersUnreadable;
            continue;
        }

        bool firstFileInFolder = true;
        while (const FolderReader::Entry* entry = reader.next()) {
            platform::FileStatus st;
            bool haveStatus = false;
            bool isLink = false;
            bool isDirectory = entry->kind == platform::EntryKind::Directory;
            if (entry->kind == platform::EntryKind::SymbolicLink ||
                entry->kind == platform::EntryKind::Unknown) {
                if (entry->status == FolderReader::Status::Gone) {
                    continue;
                }
                st = *entry->st;
                haveStatus = true;
                isLink = entry->isLink;
                isDirectory = st.isDirectory();
            }
            if (isDirectory && IncludeSubfolder) {
                std::string path = folder + std::string(entry->name);
                if (!isLink) {
                    queue.push(std::move(path), depth + 1);
                } else {
                    if (!links) {
                        links.emplace(RootPath.back() == '/' ? RootPath : RootPath + '/');
                    }
                    if (links->isRoute(path)) {
                        queue.pushLink(std::move(path), depth + 1, FolderId{st.device, st.inode});
                    }
                }
            }

            // The masks decide first, in the same order as the other tests would
            // leave them, so a name they reject costs no status call while an
            // invalid mask still surfaces at the same entry.
            const bool excluded = excludes.MatchesAny(entry->name);
            const bool included =
                includes.MatchesAny(entry->name) || (isDirectory && includes.HoldsAnyDotAny());
            if (excluded || !included) {
                continue;
            }
            if (!haveStatus) {
                if (entry->status == FolderReader::Status::Read) {
                    st = *entry->st;
                } else if (entry->status == FolderReader::Status::Gone ||
                           !reader.status(*entry, true, st)) {
                    continue;
                }
            }

            TFileInformations info = recordOf(entry->name, folder, st);
            const bool directory = (info.Attr & faDirectory) != 0;
            bool accepted = attributeTest(*this, info.Attr);
            if (LookForAnyFile && !directory) {
                accepted = true;
            }
            if (!dateTest(*this, info) || !sizeTest(*this, info.Size)) {
                accepted = false;
            }
            if (!accepted) {
                continue;
            }
            if (OnAcceptFile && !OnAcceptFile(info)) {
                continue;
            }
            if (directory) {
                ++stats.DirectoriesFound;
            } else {
                ++stats.FilesFound;
                if (firstFileInFolder) {
                    ++stats.FoldersWithFiles;
                    firstFileInFolder = false;
                }
            }
            if (OnFileFound) {
                OnFileFound(std::move(info));
            }
        }
    }

    stats.ElapsedTime = static_cast<int32_t>(clock.tickCount() - startTick);
    if (OnStatistics) {
        OnStatistics(stats);
    }
    return result;
}

}  // namespace folivar
