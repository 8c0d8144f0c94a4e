#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "search/FileSearch.h"

namespace folivar {

enum TOptionsKind : uint8_t {
    okIncludeSubfolder,
    okLookForReadOnlyFile,
    okLookForHiddenFile,
    okLookForSystemFile,
    okLookForDirectory,
    okLookForArchiveFile,
    okLookForAnyFile
};
enum TFilterKind : uint8_t { fkFilterOnDate, fkFilterOnSize };

// A set of enumeration members held in one byte, bit n for the member of ordinal n.
template <typename E>
class TByteSet {
public:
    constexpr TByteSet() = default;
    constexpr TByteSet(std::initializer_list<E> members) {
        for (E m : members) {
            insert(m);
        }
    }
    constexpr bool contains(E m) const { return (bits_ & bit(m)) != 0; }
    constexpr void insert(E m) { bits_ = static_cast<uint8_t>(bits_ | bit(m)); }
    constexpr void erase(E m) { bits_ = static_cast<uint8_t>(bits_ & ~bit(m)); }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr uint8_t bits() const { return bits_; }
    friend constexpr bool operator==(TByteSet, TByteSet) = default;

private:
    static constexpr uint8_t bit(E m) {
        return static_cast<uint8_t>(1u << static_cast<unsigned>(m));
    }
    uint8_t bits_ = 0;
};

using TOptions = TByteSet<TOptionsKind>;
using TFilter = TByteSet<TFilterKind>;

// The search component: holds the search settings, copies them into its own
// walker at every Execute and forwards the walker's events.
class TEasyFileSearch {
public:
    TEasyFileSearch();
    TEasyFileSearch(const TEasyFileSearch&) = delete;
    TEasyFileSearch& operator=(const TEasyFileSearch&) = delete;

    bool Execute();

    std::string Version() const;
    void SetVersion(const std::string& value);  // accepted and ignored

    TOptions SearchOptions() const { return searchOptions_; }
    void SetSearchOptions(TOptions value) { searchOptions_ = value; }
    TFilter FilterKind() const { return filterKind_; }
    void SetFilterKind(TFilter value) { filterKind_ = value; }
    TDateFilterAccessKind DateFilterFileAccess() const { return dateFilterFileAccess_; }
    void SetDateFilterFileAccess(TDateFilterAccessKind value) { dateFilterFileAccess_ = value; }
    TDateFilterKind DateFilterKind() const { return dateFilterKind_; }
    void SetDateFilterKind(TDateFilterKind value) { dateFilterKind_ = value; }
    TDateTime DateFilterFirstDate() const { return dateFilterFirstDate_; }
    void SetDateFilterFirstDate(TDateTime value) { dateFilterFirstDate_ = value; }
    TDateTime DateFilterSecondDate() const { return dateFilterSecondDate_; }
    void SetDateFilterSecondDate(TDateTime value) { dateFilterSecondDate_ = value; }
    TSizeFilterKind SizeFilterKind() const { return sizeFilterKind_; }
    void SetSizeFilterKind(TSizeFilterKind value) { sizeFilterKind_ = value; }
    int64_t SizeFilterSize() const { return sizeFilterSize_; }
    void SetSizeFilterSize(int64_t value) { sizeFilterSize_ = value; }

    std::vector<std::string>& ExcludedFiles() { return excludedFiles_; }
    void SetExcludedFiles(const std::vector<std::string>& value) { excludedFiles_ = value; }
    std::vector<std::string>& FileNames() { return fileNames_; }
    void SetFileNames(const std::vector<std::string>& value) { fileNames_ = value; }

    // Held by the walker itself.
    std::string RootPath() const { return walker_.RootPath; }
    void SetRootPath(const std::string& value) { walker_.RootPath = value; }
    // I/O requests the walk keeps in flight (1: one at a time); the results are
    // the same for every value.
    int RequestsInFlight() const { return walker_.ReadAhead.requests; }
    void SetRequestsInFlight(int value) { walker_.ReadAhead.requests = value; }
    // All of the walk's read-ahead limits at once.
    const WalkReadAhead& ReadAhead() const { return walker_.ReadAhead; }
    void SetReadAhead(const WalkReadAhead& value) { walker_.ReadAhead = value; }

    TOnFileFound OnFileFound;
    TOnAcceptFile OnAcceptFile;
    TOnChangeFolder OnChangeFolder;
    TOnStatistics OnStatistics;

private:
    TFileSearch walker_;
    TOptions searchOptions_;
    TFilter filterKind_;
    TDateFilterAccessKind dateFilterFileAccess_ = dfakAnyFiles;
    TDateFilterKind dateFilterKind_ = dfkSame;
    TDateTime dateFilterFirstDate_;
    TDateTime dateFilterSecondDate_;
    TSizeFilterKind sizeFilterKind_ = sfkSmallerOrEqualTo;
    int64_t sizeFilterSize_ = 0;
    std::vector<std::string> excludedFiles_;
    std::vector<std::string> fileNames_{"*.*"};
};

}  // namespace folivar
