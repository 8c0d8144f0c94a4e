// Each row's date taken is read once, on first need, follows its row, and
// orders the list.
#include "datetaken/DatesTaken.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "datetaken/CalendarTime.h"
#include "datetaken/DateTakenSort.h"
#include "support/RecordingSink.h"

namespace folivar {
namespace {

FileRow row(const std::string& name, const std::string& modified = "1.1.2020") {
    return FileRow{name, "/p/", "1", "jpg", modified, "0", "-"};
}

// Dates by file name, day of April 2023 at noon; a name not listed has none.
// Asked on several threads at once.
class ScriptedDates {
public:
    explicit ScriptedDates(std::map<std::string, int> days) : days_(std::move(days)) {}

    DateTaken operator()(const std::string& path) {
        const std::lock_guard lock(mutex_);
        ++reads[path];
        const auto found = days_.find(path.substr(3));
        if (found == days_.end()) {
            return DateTaken{};
        }
        return DateTaken{*calendarTime(2023, 4, found->second, 12), DateSource::Metadata};
    }

    std::map<std::string, int> reads;

private:
    std::mutex mutex_;
    std::map<std::string, int> days_;
};

FileTable tableOf(const std::vector<FileRow>& rows) {
    FileTable table;
    for (const FileRow& r : rows) {
        table.append(r);
    }
    return table;
}

std::vector<std::string> names(const FileTable& table) {
    std::vector<std::string> out;
    for (const FileRow& r : table) {
        out.push_back(r.FileName);
    }
    return out;
}

TEST(DatesTakenTest, ReadsEachFileOnceAndOnlyWhenAsked) {
    ScriptedDates script({{"a", 3}, {"b", 1}});
    DatesTaken dates([&script](const std::string& p) { return script(p); });
    const FileTable table = tableOf({row("a"), row("b")});
    EXPECT_EQ(dates.find("/p/a"), nullptr);
    EXPECT_EQ(dates.of(table[0]).when.day, 3);
    EXPECT_EQ(dates.of(table[0]).when.day, 3);
    test::RecordingSink sink;
    dates.readAll(table, sink);
    dates.readAll(table, sink);
    EXPECT_EQ(script.reads, (std::map<std::string, int>{{"/p/a", 1}, {"/p/b", 1}}));
    dates.clear();
    dates.of(table[1]);
    EXPECT_EQ(script.reads["/p/b"], 2);
}

TEST(DatesTakenTest, DatesFollowRenamedRows) {
    ScriptedDates script({{"a", 3}, {"b", 1}});
    DatesTaken dates([&script](const std::string& p) { return script(p); });
    FileTable table = tableOf({row("a"), row("b")});
    test::RecordingSink sink;
    dates.readAll(table, sink);
    const std::vector<std::string> before = filesOf(table);
    // a and b swap their names, as a rename and its undo may leave them.
    table[0].FileName = "b";
    table[1].FileName = "a";
    dates.follow(before, table);
    EXPECT_EQ(dates.of(table[0]).when.day, 3);
    EXPECT_EQ(dates.of(table[1]).when.day, 1);
    EXPECT_EQ(script.reads.size(), 2u);
}

TEST(DateTakenSortTest, OldestFirstStableAndUnreadableByModifiedCell) {
    // c and e were taken on the same day; x and y have no date taken, x's
    // Modified cell says 2 April, y's is no date at all.
    ScriptedDates script({{"a", 9}, {"b", 1}, {"c", 5}, {"d", 3}, {"e", 5}});
    DatesTaken dates([&script](const std::string& p) { return script(p); });
    FileTable table = tableOf(
        {row("y", "x"), row("c"), row("a"), row("x", "2.4.2023"), row("e"), row("b"), row("d")});
    test::RecordingSink sink;
    const std::optional<std::vector<std::size_t>> order = sortByDateTaken(table, dates, sink);
    EXPECT_EQ(names(table), (std::vector<std::string>{"b", "x", "d", "c", "e", "a", "y"}));
    EXPECT_EQ(order, (std::vector<std::size_t>{5, 3, 6, 1, 4, 2, 0}));
    EXPECT_EQ(sink.percents.back(), 100);
    EXPECT_EQ(sink.lastStatus(),
              "7 files in list; Dates taken: 5 from metadata, 0 from names, 0 from modification "
              "times, 2 unreadable");
}

}  // namespace
}  // namespace folivar
