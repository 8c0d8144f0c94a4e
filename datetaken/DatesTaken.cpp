#include "datetaken/DatesTaken.h"

#include <utility>

#include "filelist/ProgressReporter.h"

namespace folivar {

DatesTaken::DatesTaken(Reader read) : read_(std::move(read)) {}

const DateTaken& DatesTaken::of(const FileRow& row) {
    std::string path = row.file();
    const auto found = dates_.find(path);
    if (found != dates_.end()) {
        return found->second;
    }
    DateTaken taken = read_(path);
    return dates_.emplace(std::move(path), taken).first->second;
}

const DateTaken* DatesTaken::find(const std::string& path) const {
    const auto found = dates_.find(path);
    return found == dates_.end() ? nullptr : &found->second;
}

void DatesTaken::readAll(const FileTable& table, ProgressSink& progress) {
    ProgressReporter report(progress, table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        of(table[i]);
        report.rowDone();
    }
}

void DatesTaken::follow(const std::vector<std::string>& before, const FileTable& table) {
    // Taken out first, put back after: a row may move to where another was.
    std::vector<std::pair<std::string, DateTaken>> moving;
    for (std::size_t i = 0; i < before.size() && i < table.size(); ++i) {
        std::string now = table[i].file();
        if (now == before[i]) {
            continue;
        }
        const auto found = dates_.find(before[i]);
        if (found != dates_.end()) {
            moving.emplace_back(std::move(now), found->second);
            dates_.erase(found);
        }
    }
    for (auto& [path, taken] : moving) {
        dates_.insert_or_assign(std::move(path), taken);
    }
}

std::array<std::size_t, 4> DatesTaken::sources(const FileTable& table) const {
    std::array<std::size_t, 4> counts{};
    for (const FileRow& row : table) {
        if (const DateTaken* taken = find(row.file())) {
            ++counts[static_cast<std::size_t>(taken->source)];
        }
    }
    return counts;
}

std::vector<std::string> filesOf(const FileTable& table) {
    std::vector<std::string> files;
    files.reserve(table.size());
    for (const FileRow& row : table) {
        files.push_back(row.file());
    }
    return files;
}

}  // namespace folivar
