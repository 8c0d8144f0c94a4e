#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "support/ScopedVariable.h"

namespace folivar::test {

// A temporary folder that a test fills with files of given contents and times;
// removed with everything in it when the object goes.
class TempTree {
public:
    TempTree();
    // In that folder rather than in $TMPDIR.
    explicit TempTree(const std::string& base);
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The folder itself, its links resolved, without a trailing "/".
    const std::string& path() const { return root_; }
    // root + "/" + relative
    std::string at(const std::string& relative) const;

    // Creates the file (and its folders) with the contents; returns its full path.
    std::string file(const std::string& relative, const std::string& contents = {});
    // Creates the folder and its parents; returns its full path.
    std::string dir(const std::string& relative);
    // A sparse file of the given size, costing no disk.
    std::string sparse(const std::string& relative, std::int64_t size);
    // A symbolic link at relative pointing to target (taken as it is).
    std::string symlink(const std::string& target, const std::string& relative);
    // Lets other users reach the tree (its own folder is made for its owner only).
    void openToAll();
    // Sets the last access and last write times (seconds since 1970, UTC).
    void setTimes(const std::string& relative, std::time_t access, std::time_t write);

private:
    std::string root_;
};

// The contents of a file; empty when it cannot be read.
std::string readFile(const std::string& path);

// Seconds since 1970 of a local date and time, under the time zone in force.
std::time_t localTime(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

// Sets TZ for the life of the object and restores it afterwards; the C
// library's local time follows both ways.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<ScopedVariable> tz_;
};

}  // namespace folivar::test
