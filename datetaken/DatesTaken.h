#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "datetaken/DateTaken.h"
#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"

namespace folivar {

// The dates taken of the list's files, each read once, on first need (a
// scan reads none). Kept beside the table, whose rows hold their seven texts
// only, by full path: a date follows its row through sorting and removal,
// and through a rename or move when told of it.
class DatesTaken {
public:
    using Reader = std::function<DateTaken(const std::string& path)>;

    // How many files readAll() reads at once: their metadata is decoded on
    // every core, and a cold disk serves several requests together.
    static int defaultThreads();

    // read is called on threads of readAll's own when threads > 1.
    explicit DatesTaken(Reader read = readDateTaken, int threads = defaultThreads());

    // The date taken of the row's file, read now unless it was before.
    const DateTaken& of(const FileRow& row);
    // nullptr when the file's date was not read yet.
    const DateTaken* find(const std::string& path) const;

    // Reads the date of every row that has none yet, several at once,
    // telling the sink (on the caller's thread) how far it got and that it
    // is still working. Asked to stop, it ends between two files, the dates
    // read until then kept, its threads joined; false then.
    bool readAll(const FileTable& table, ProgressSink& progress);

    // The files of the rows were renamed or moved in place: before[i] was
    // the file of row i. Their dates go with them.
    void follow(const std::vector<std::string>& before, const FileTable& table);

    // A new list: every date is read afresh.
    void clear() { dates_.clear(); }

    // How many of these rows' dates came from each source, by DateSource.
    std::array<std::size_t, 4> sources(const FileTable& table) const;

private:
    Reader read_;
    int threads_;
    std::unordered_map<std::string, DateTaken> dates_;
};

// Every row's file, in row order: what follow() is to be given.
std::vector<std::string> filesOf(const FileTable& table);

}  // namespace folivar
