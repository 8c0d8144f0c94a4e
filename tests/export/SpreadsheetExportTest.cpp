#include "export/SpreadsheetExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "export/ESpreadsheetError.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

using Log = std::vector<std::string>;

// Records every member call, as the automation interface would receive it,
// into one log shared with what the window is shown; a row's cells written
// left to right from column 1 make one entry, "Row 2: a|b|c". Can be told to
// fail at one call.
class RecordingApplication : public SpreadsheetApplication, public SpreadsheetSheet {
public:
    RecordingApplication(Log& log, int& alive, std::optional<std::string> failAt)
        : log_(log), alive_(alive), failAt_(std::move(failAt)) {
        ++alive_;
    }
    ~RecordingApplication() override { --alive_; }

    void setCaption(const std::string& caption) override { record("Caption=" + caption); }
    void addWorkbook() override { record("Workbooks.Add"); }
    void addSheets(int count, int type) override {
        record("Workbooks(1).Sheets.Add(,," + std::to_string(count) + "," + std::to_string(type) +
               ")");
    }
    void nameFirstWorksheet(const std::string& name) override {
        record("Workbooks(1).WorkSheets(1).Name=" + name);
    }
    SpreadsheetSheet& worksheet(const std::string& name) override {
        record("Workbooks(1).Worksheets(" + name + ")");
        return *this;
    }
    void setVisible(bool visible) override { record(visible ? "Visible=1" : "Visible=0"); }
    void quit() override { record("Quit"); }
    void setCell(std::size_t row, int column, const std::string& text) override {
        const std::string call =
            "Cells(" + std::to_string(row) + "," + std::to_string(column) + ")=" + text;
        const std::string head = "Row " + std::to_string(row) + ": ";
        const std::string& last = log_.empty() ? head : log_.back();
        const bool next =
            last.rfind(head, 0) == 0 && std::count(last.begin(), last.end(), '|') == column - 2;
        record(call, column == 1 ? head + text : call);
        if (column > 1 && next) {
            log_.pop_back();
            log_.back() += "|" + text;
        }
    }

private:
    void record(const std::string& call, const std::string& entry) {
        if (failAt_ && *failAt_ == call) {
            throw ESpreadsheetError("failed: " + call);
        }
        log_.push_back(entry);
    }
    void record(const std::string& call) { record(call, call); }

    Log& log_;
    int& alive_;
    std::optional<std::string> failAt_;
};

// What the window is shown, into the same log.
class LoggingSink : public ProgressSink {
public:
    explicit LoggingSink(Log& log) : log_(log) {}
    void status(const std::string& text) override { log_.push_back("status: " + text); }
    void percent(int percent) override { log_.push_back("progress " + std::to_string(percent)); }
    void progressShown(bool shown) override {
        log_.push_back(shown ? "showProgress" : "hideProgress");
    }

private:
    Log& log_;
};

class SpreadsheetExportTest : public testing::Test {
protected:
    SpreadsheetExportTest()
        : exporter([this](const std::string& programId) -> std::unique_ptr<SpreadsheetApplication> {
              log.push_back("create " + programId);
              if (!installed) {
                  return nullptr;
              }
              return std::make_unique<RecordingApplication>(log, alive, failAt);
          }) {}

    SpreadsheetExport::Result run(const FileTable& table) {
        return exporter.exportList(table, sink).result;
    }

    static FileTable rows(int count) {
        FileTable table;
        for (int i = 1; i <= count; ++i) {
            const std::string n = std::to_string(i);
            table.append(
                {"f" + n + ".jpg", "/p" + n + "/", n + "00", "jpg", n + ".1.2024", "0", "-"});
        }
        return table;
    }

    // The log entries that start with prefix, in order.
    Log only(const std::string& prefix) const {
        Log out;
        for (const auto& entry : log) {
            if (entry.rfind(prefix, 0) == 0) {
                out.push_back(entry);
            }
        }
        return out;
    }

    Log log;
    int alive = 0;
    bool installed = true;
    std::optional<std::string> failAt;
    SpreadsheetExport exporter;
    LoggingSink sink{log};
};

TEST_F(SpreadsheetExportTest, ThreeRowsMakeTheCallsInOrder) {
    const FileTable table = rows(3);
    EXPECT_EQ(run(table), SpreadsheetExport::Result::Completed);
    const Log expected = {
        "create Excel.Application",
        "status: Please wait...",
        "Caption=Mirosel Folivar File List",
        "Workbooks.Add",
        "Workbooks(1).Sheets.Add(,,1,-4167)",
        "Workbooks(1).WorkSheets(1).Name=FileList",
        "Workbooks(1).Worksheets(FileList)",
        "showProgress",
        "Row 1: f1.jpg|/p1/|100|jpg|1.1.2024|0|-",
        "progress 33",
        "status: 33% are completed. Please wait...",
        "Row 2: f2.jpg|/p2/|200|jpg|2.1.2024|0|-",
        "progress 67",
        "status: 67% are completed. Please wait...",
        "Row 3: f3.jpg|/p3/|300|jpg|3.1.2024|0|-",
        "progress 100",
        "status: 100% are completed. Please wait...",
        "Visible=1",
        "status: 3 files in list",
        "hideProgress",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(SpreadsheetExportTest, EightRowsRoundHalvesToEven) {
    run(rows(8));
    EXPECT_EQ(only("progress"), (Log{"progress 12", "progress 25", "progress 38", "progress 50",
                                     "progress 62", "progress 75", "progress 88", "progress 100"}));
    EXPECT_EQ(only("status: 62%"), Log{"status: 62% are completed. Please wait..."});
    EXPECT_EQ(log[log.size() - 2], "status: 8 files in list");
}

TEST_F(SpreadsheetExportTest, ReportsEachPercentageOnceOnLongLists) {
    run(rows(1000));
    const Log progress = only("progress");
    ASSERT_EQ(progress.size(), 101U);
    for (int percent = 0; percent <= 100; ++percent) {
        EXPECT_EQ(progress[static_cast<std::size_t>(percent)],
                  "progress " + std::to_string(percent));
    }
    // "Please wait...", one per percentage, the count.
    EXPECT_EQ(only("status: ").size(), 103U);
    EXPECT_EQ(only("Row 1000: f1000.jpg|").size(), 1U);
}

TEST_F(SpreadsheetExportTest, EmptyListDoesNothingAtAll) {
    EXPECT_EQ(run(FileTable()), SpreadsheetExport::Result::EmptyList);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(exporter.application(), nullptr);
}

TEST_F(SpreadsheetExportTest, WithoutTheApplicationOnlyTheWarningShows) {
    run(rows(1));
    SpreadsheetApplication* previous = exporter.application();
    log.clear();
    installed = false;
    const SpreadsheetExport::Outcome outcome = exporter.exportList(rows(3), sink);
    EXPECT_EQ(outcome.result, SpreadsheetExport::Result::NoApplication);
    EXPECT_EQ(outcome.warning, "You need to first install Microsoft Excel!");
    EXPECT_EQ(log, (Log{"create Excel.Application"}));
    EXPECT_EQ(exporter.application(), previous);

    log.clear();
    SpreadsheetExport throwing([](const std::string&) -> std::unique_ptr<SpreadsheetApplication> {
        throw std::runtime_error("cannot start");
    });
    const SpreadsheetExport::Outcome refused = throwing.exportList(rows(1), sink);
    EXPECT_EQ(refused.result, SpreadsheetExport::Result::NoApplication);
    EXPECT_EQ(refused.warning, "You need to first install Microsoft Excel!");
    EXPECT_EQ(log, Log{});
}

TEST_F(SpreadsheetExportTest, TwoExportsHoldOnlyTheSecondApplication) {
    run(rows(2));
    SpreadsheetApplication* first = exporter.application();
    run(rows(2));
    EXPECT_NE(exporter.application(), first);
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(only("create").size(), 2U);
    EXPECT_EQ(only("Workbooks.Add").size(), 2U);
    log.clear();
    exporter.quit();
    EXPECT_EQ(log, Log{"Quit"});
}

TEST_F(SpreadsheetExportTest, WriteFailingMidwayRestoresTheButtons) {
    failAt = "Cells(2,3)=200";
    EXPECT_THROW_MSG(run(rows(3)), ESpreadsheetError, "failed: Cells(2,3)=200");
    EXPECT_EQ(only("status: "),
              (Log{"status: Please wait...", "status: 33% are completed. Please wait..."}));
    EXPECT_EQ(log.back(), "hideProgress");
    EXPECT_EQ(log[log.size() - 2], "Row 2: f2.jpg|/p2/");
    EXPECT_EQ(only("Visible").size(), 0U);
    EXPECT_NE(exporter.application(), nullptr);
}

TEST_F(SpreadsheetExportTest, FailingBeforeTheCellsLeavesTheButtonsAlone) {
    failAt = "Workbooks(1).WorkSheets(1).Name=FileList";
    EXPECT_THROW(run(rows(2)), ESpreadsheetError);
    EXPECT_EQ(log.back(), "Workbooks(1).Sheets.Add(,,1,-4167)");
    EXPECT_EQ(only("showProgress"), Log{});
    EXPECT_EQ(only("hideProgress"), Log{});
}

}  // namespace
}  // namespace folivar
