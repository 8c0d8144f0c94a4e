#include "datetaken/DatesTaken.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>
#include <utility>

#include "filelist/ProgressReporter.h"
#include "platform/IoPool.h"

namespace folivar {

namespace {

constexpr int kMostThreads = 8;
constexpr std::chrono::milliseconds kProgressInterval{20};

// The files of rows whose dates were not read, each once.
std::vector<std::string> unread(const FileTable& table,
                                const std::unordered_map<std::string, DateTaken>& dates) {
    std::vector<std::string> files;
    std::unordered_set<std::string> seen;
    for (const FileRow& row : table) {
        std::string file = row.file();
        if (!dates.contains(file) && seen.insert(file).second) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

}  // namespace

int DatesTaken::defaultThreads() {
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 2, kMostThreads);
}

DatesTaken::DatesTaken(Reader read, int threads) : read_(std::move(read)), threads_(threads) {}

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

bool DatesTaken::readAll(const FileTable& table, ProgressSink& progress) {
    const std::vector<std::string> files = unread(table, dates_);
    ProgressReporter report(progress, files.size());
    if (threads_ <= 1) {
        for (const std::string& file : files) {
            if (report.stopRequested()) {
                return false;
            }
            dates_.emplace(file, read_(file));
            report.rowDone();
        }
        return true;
    }
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<std::optional<DateTaken>> read(files.size());
    std::size_t done = 0;
    bool stopped = false;
    {
        platform::IoPool pool(threads_);
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (report.stopRequested()) {
                stopped = true;
                break;
            }
            pool.submit(i, [&, i] {
                DateTaken taken;
                try {
                    taken = read_(files[i]);
                } catch (...) {
                    // No date: the row sorts by its Modified cell.
                }
                const std::lock_guard lock(mutex);
                read[i] = taken;
                if (++done == files.size()) {
                    finished.notify_one();
                }
            });
        }
        // Woken by the last file, else now and then to show how far it got
        // and to hear of a stop: not once per file, which would take a core's
        // time from the readers.
        std::unique_lock lock(mutex);
        while (!stopped) {
            const bool all =
                finished.wait_for(lock, kProgressInterval, [&] { return done == files.size(); });
            const std::size_t shown = done;
            lock.unlock();
            report.rowsDone(shown);
            if (all) {
                break;
            }
            if (report.stopRequested()) {
                stopped = true;  // the pool drops the files not started and waits for the rest
                break;
            }
            lock.lock();
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (read[i]) {
            dates_.emplace(files[i], *read[i]);
        }
    }
    return !stopped;
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
