#include "support/TempTree.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace folivar::test {

namespace {

void ensureParent(const std::string& full) {
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
}

int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
    ::chmod(path, 0700);  // a test may have taken permissions away
    return ::remove(path);
}

std::string temporaryBase() {
    const char* base = std::getenv("TMPDIR");
    return base != nullptr && *base != '\0' ? base : "/tmp";
}

}  // namespace

TempTree::TempTree() : TempTree(temporaryBase()) {}

TempTree::TempTree(const std::string& base) {
    std::string pattern = base + "/folivar-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    // Paths the window shows are resolved ones: the tests compare them to these.
    root_ = std::filesystem::canonical(buffer.data()).string();
}

TempTree::~TempTree() {
    ::nftw(root_.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string TempTree::at(const std::string& relative) const {
    return root_ + "/" + relative;
}

std::string TempTree::file(const std::string& relative, const std::string& contents) {
    const std::string full = at(relative);
    ensureParent(full);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out) {
        throw std::runtime_error("cannot write " + full);
    }
    return full;
}

std::string TempTree::dir(const std::string& relative) {
    const std::string full = at(relative);
    std::filesystem::create_directories(full);
    return full;
}

std::string TempTree::sparse(const std::string& relative, std::int64_t size) {
    const std::string full = file(relative);
    if (::truncate(full.c_str(), size) != 0) {
        throw std::runtime_error("cannot size " + full);
    }
    return full;
}

std::string TempTree::symlink(const std::string& target, const std::string& relative) {
    const std::string full = at(relative);
    ensureParent(full);
    if (::symlink(target.c_str(), full.c_str()) != 0) {
        throw std::runtime_error("cannot link " + full);
    }
    return full;
}

void TempTree::openToAll() {
    if (::chmod(root_.c_str(), 0755) != 0) {
        throw std::runtime_error("cannot open " + root_ + " to others");
    }
}

void TempTree::setTimes(const std::string& relative, std::time_t access, std::time_t write) {
    const struct timespec times[2] = {{access, 0}, {write, 0}};
    if (::utimensat(AT_FDCWD, at(relative).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        throw std::runtime_error("cannot set the times of " + relative);
    }
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::time_t localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

ScopedTimeZone::ScopedTimeZone(const char* tz) : tz_(std::in_place, "TZ", tz) {
    ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    tz_.reset();
    ::tzset();
}

}  // namespace folivar::test
