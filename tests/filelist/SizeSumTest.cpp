#include "filelist/SizeSum.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "filelist/EConvertError.h"
#include "support/RecordingSink.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

struct MessageCase {
    double total;
    std::int64_t count;
    const char* message;
};

void PrintTo(const MessageCase& c, std::ostream* out) {
    *out << c.message;
}

class SumMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(SumMessage, ReadsAsTheInformationBoxShowsIt) {
    const MessageCase& c = GetParam();
    EXPECT_EQ(sumMessage(c.total, c.count), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, SumMessage,
    testing::Values(MessageCase{600, 3, "600 bytes in 3 files (average size - 200 bytes)"},
                    MessageCase{0, 1, "0 bytes in 1 files (average size - 0 bytes)"},
                    MessageCase{1023, 1, "1023 bytes in 1 files (average size - 1023 bytes)"},
                    MessageCase{1024, 1, "1,0 Kb in 1 files (average size - 1024 bytes)"},
                    MessageCase{1536, 1, "1,5 Kb in 1 files (average size - 1536 bytes)"},
                    MessageCase{2047, 1, "2,0 Kb in 1 files (average size - 2047 bytes)"},
                    MessageCase{1048575, 1, "1024,0 Kb in 1 files (average size - 1048575 bytes)"},
                    MessageCase{1048576, 1, "1,0 Mb in 1 files (average size - 1024 Kb)"},
                    MessageCase{2047999, 2, "2,0 Mb in 2 files (average size - 1000 Kb)"},
                    MessageCase{1073741823, 1, "1024,0 Mb in 1 files (average size - 1048576 Kb)"},
                    MessageCase{1073741824, 1, "1,0 Gb in 1 files (average size - 1024 Mb)"},
                    MessageCase{5368709120, 1, "5,0 Gb in 1 files (average size - 5120 Mb)"},
                    // 4 TiB: the amount is not capped at any unit
                    MessageCase{4398046511104, 1,
                                "4096,0 Gb in 1 files (average size - 4194304 Mb)"}));

// Both roundings take halves to even: an amount of 1.25 Kb is 1,2 and one of
// 1.75 Kb is 1,8; an average of 2.5 bytes is 2 and one of 3.5 bytes is 4.
INSTANTIATE_TEST_SUITE_P(
    HalvesToEven, SumMessage,
    testing::Values(MessageCase{1280, 1, "1,2 Kb in 1 files (average size - 1280 bytes)"},
                    MessageCase{1792, 1, "1,8 Kb in 1 files (average size - 1792 bytes)"},
                    MessageCase{5, 2, "5 bytes in 2 files (average size - 2 bytes)"},
                    MessageCase{7, 2, "7 bytes in 2 files (average size - 4 bytes)"},
                    MessageCase{3145728 + 1024, 2, "3,0 Mb in 2 files (average size - 1536 Kb)"}));

FileTable tableOfSizes(const std::vector<std::string>& sizes) {
    FileTable table;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        table.append({"f" + std::to_string(i), "/d/", sizes[i], "", "1.1.2001", "0", "-"});
    }
    return table;
}

struct SumRun {
    std::vector<std::string> statuses;
    std::optional<std::string> message;
};

SumRun runSum(const FileTable& table, const RowSelection& selection) {
    test::RecordingSink sink;
    SumRun run;
    run.message = sumSizes(table, selection, sink);
    run.statuses = sink.statuses;
    return run;
}

TEST(SumSizes, AddsOnlyTheSelectedRowsAndCountsEveryRowInTheStatus) {
    const FileTable table = tableOfSizes({"100", "9999", "200", "300", "77"});
    const SumRun run = runSum(table, {true, false, true, true, false});
    EXPECT_EQ(run.statuses, (std::vector<std::string>{"Please wait...", "5 files in list"}));
    EXPECT_EQ(run.message, "600 bytes in 3 files (average size - 200 bytes)");
}

TEST(SumSizes, ReadsSizesPastTwoAndFourGibibytes) {
    // 3 GiB + 2 GiB: neither fits a signed 32-bit number.
    const FileTable table = tableOfSizes({"3221225472", "2147483648"});
    EXPECT_EQ(runSum(table, {true, true}).message, "5,0 Gb in 2 files (average size - 2560 Mb)");
}

TEST(SumSizes, WithNothingSelectedOnlyTheStatusChanges) {
    const FileTable table = tableOfSizes({"1", "2"});
    const SumRun run = runSum(table, {false, false});
    EXPECT_EQ(run.statuses, (std::vector<std::string>{"Please wait...", "2 files in list"}));
    EXPECT_FALSE(run.message.has_value());

    const SumRun empty = runSum(FileTable(), {});
    EXPECT_EQ(empty.statuses, (std::vector<std::string>{"Please wait...", "0 files in list"}));
    EXPECT_FALSE(empty.message.has_value());
}

TEST(SumSizes, ASizeThatIsNoNumberStopsTheSumWithItsMessage) {
    const FileTable table = tableOfSizes({"10", "12x", "30"});
    test::RecordingSink sink;
    EXPECT_THROW_MSG(sumSizes(table, {true, true, true}, sink), EConvertError,
                     "'12x' is not a valid integer value");
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"Please wait..."}));
    // An unselected bad cell is never read.
    EXPECT_EQ(runSum(table, {true, false, true}).message,
              "40 bytes in 2 files (average size - 20 bytes)");
}

}  // namespace
}  // namespace folivar
