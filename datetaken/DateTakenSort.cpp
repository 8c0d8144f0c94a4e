#include "datetaken/DateTakenSort.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>

#include "datetaken/CalendarTime.h"
#include "filelist/DateText.h"
#include "filelist/EConvertError.h"
#include "filelist/ListStatus.h"
#include "filelist/ProgressReporter.h"
#include "search/DateTime.h"

namespace folivar {

namespace {

constexpr std::int64_t kNoDate = std::numeric_limits<std::int64_t>::max();

std::int64_t modifiedCellKey(const FileRow& row) {
    try {
        int year = 0;
        int month = 0;
        int day = 0;
        DecodeDate(StrToDate(row.Modified), year, month, day);
        if (const auto midnight = calendarTime(year, month, day)) {
            return millisecondsOf(*midnight);
        }
    } catch (const EConvertError&) {
        // Not a date either: the row goes last.
    }
    return kNoDate;
}

}  // namespace

std::optional<std::vector<std::size_t>> sortByDateTaken(FileTable& table, DatesTaken& dates,
                                                        ProgressSink& progress) {
    if (!dates.readAll(table, progress)) {
        ProgressReporter(progress).status(
            stoppedText(filesInListText(table.size()) + "; the list is not sorted"));
        return std::nullopt;
    }
    std::vector<std::int64_t> keys(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DateTaken& taken = dates.of(table[i]);
        keys[i] = taken.usable() ? millisecondsOf(taken.when) : modifiedCellKey(table[i]);
    }
    std::vector<std::size_t> order(table.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    table.reorder(order);
    ProgressReporter(progress).status(dateSourcesText(table.size(), dates.sources(table)));
    return order;
}

std::string dateSourcesText(std::size_t rowCount, const std::array<std::size_t, 4>& sources) {
    std::string text = filesInListText(rowCount) + "; Dates taken: " + std::to_string(sources[0]) +
                       " from metadata, " + std::to_string(sources[1]) + " from names, " +
                       std::to_string(sources[2]) + " from modification times";
    if (sources[3] > 0) {
        text += ", " + std::to_string(sources[3]) + " unreadable";
    }
    return text;
}

}  // namespace folivar
