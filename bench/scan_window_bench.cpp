// scan_window_bench [--tree DIR] [--small-tree DIR] [--rounds N]
//
// SCAN through the window against the search component alone over the same
// tree, then header clicks over the rows of a large and a small tree. Runs the
// window offscreen. Both trees come from make_walk_tree (see README.md).

#include <sys/resource.h>
#include <QAbstractItemModel>
#include <QApplication>
#include <QListWidget>
#include <QStatusBar>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "LastProgress.h"
#include "app/Desktop.h"
#include "app/Unit1.h"
#include "filelist/ColumnSort.h"
#include "filelist/FileTable.h"
#include "filelist/ScanSettings.h"
#include "filelist/SearchMapping.h"
#include "search/EasyFileSearch.h"
#include "session/FileListSession.h"

namespace {

using bench::median;

using folivar::ScanSettings;

// Answers nothing and shows nothing; an error box would mean a broken run.
class QuietDesktop : public folivar::Desktop {
public:
    int errors = 0;
    void information(const QString&) override {}
    void warning(const QString&) override {}
    bool askYesNo(const QString&) override { return false; }
    void error(const QString& text) override {
        ++errors;
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
    std::optional<QString> browseForFolder(const QString&, const QString&) override {
        return std::nullopt;
    }
    void beep() override {}
    void open(const QString&, const QString&) override {}
    bool hasSpreadsheetApplication() override { return false; }
};

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

double cpuNowMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

Timing timed(const std::function<void()>& run) {
    const double cpu = cpuNowMs();
    const auto start = std::chrono::steady_clock::now();
    run();
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(), cpuNowMs() - cpu};
}

struct Series {
    std::vector<double> wall, cpu;
    void add(Timing t) {
        wall.push_back(t.wallMs);
        cpu.push_back(t.cpuMs);
    }
    double wallMedian() const { return median(wall); }
    double cpuMedian() const { return median(cpu); }
    double fastest() const { return *std::min_element(wall.begin(), wall.end()); }
};

ScanSettings settingsFor(const std::string& tree, const std::string& mask) {
    ScanSettings settings;  // the window's defaults: subfolders, every attribute
    settings.folders = {tree};
    settings.includeMasks = {mask};
    return settings;
}

// The search component alone, written as the scan writes it; counts files.
std::size_t walkerAlone(const ScanSettings& settings) {
    folivar::TEasyFileSearch search;
    folivar::writeScanSettings(settings, search);
    search.SetRootPath(settings.folders.front());
    std::size_t files = 0;
    std::string folder;
    search.OnChangeFolder = [&](std::string path) { folder = std::move(path); };
    search.OnFileFound = [&](const folivar::TFileInformations& file) {
        files += (file.Attr & folivar::faDirectory) == 0 ? 1 : 0;
    };
    search.Execute();
    return files;
}

// The session's scan into its table, without a window.
std::size_t sessionAlone(const ScanSettings& settings) {
    folivar::FileListSession session;
    folivar::bench::LastProgress shown;
    session.scan(settings, shown);
    return session.rows().size();
}

class Window {
public:
    Window() {
        auto quiet = std::make_unique<QuietDesktop>();
        desktop_ = quiet.get();
        form_.setDesktop(std::move(quiet));
        form_.show();
        // Let the window be shown once, so the status line really paints.
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
        }
    }

    std::size_t scan(const ScanSettings& settings) {
        setEntries("PathListBox", settings.folders);
        setEntries("ScanListBox1", settings.includeMasks);
        form_.ScanButtonClick();
        return rows();
    }

    std::size_t rows() const { return static_cast<std::size_t>(view()->model()->rowCount()); }
    QTableView* view() const { return form_.findChild<QTableView*>("ListView"); }
    folivar::TForm1& form() { return form_; }
    int errors() const { return desktop_->errors; }

private:
    void setEntries(const char* name, const std::vector<std::string>& texts) {
        auto* list = form_.findChild<QListWidget*>(name);
        list->clear();
        for (const std::string& text : texts) {
            list->addItem(QString::fromStdString(text));
        }
    }

    folivar::TForm1 form_;
    QuietDesktop* desktop_ = nullptr;
};

const char* kColumns[] = {"FileName", "Path", "Size", "Type", "Modified", "Group", "Status"};

struct SortSeries {
    std::vector<Series> engine = std::vector<Series>(7);  // sortRows on a copy of the rows
    std::vector<Series> window = std::vector<Series>(7);  // the header click
};

// Each header once, left to right, per round: every click is an ascending sort
// of the order the click before left. The engine's sort of a copy of the same
// rows, just before, tells the window's share.
SortSeries sortColumns(Window& window, int rounds) {
    SortSeries series;
    for (int round = 0; round < rounds; ++round) {
        for (int column = 0; column < 7; ++column) {
            const auto c = static_cast<std::size_t>(column);
            folivar::FileTable copy = window.form().session().rows();
            series.engine[c].add(timed([&] {
                folivar::sortRows(copy, static_cast<folivar::TFileColumn>(column), false);
            }));
            series.window[c].add(timed([&] { window.form().ListViewColumnClick(column); }));
        }
    }
    return series;
}

}  // namespace

int main(int argc, char** argv) {
    std::string tree = std::getenv("TMPDIR") != nullptr
                           ? std::string(std::getenv("TMPDIR")) + "/folivar-walk-tree"
                           : "/tmp/folivar-walk-tree";
    std::string smallTree = tree + "-50k";
    int rounds = 7;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--tree") {
            tree = argv[i + 1];
        } else if (arg == "--small-tree") {
            smallTree = argv[i + 1];
        } else if (arg == "--rounds") {
            rounds = std::max(1, std::atoi(argv[i + 1]));
        } else {
            std::fprintf(stderr, "usage: %s [--tree DIR] [--small-tree DIR] [--rounds N]\n",
                         argv[0]);
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Window window;

    std::printf("SCAN of %s, %d rounds, tools interleaved after one warm-up round\n\n",
                tree.c_str(), rounds);
    std::printf("%-8s %-14s %10s %10s %10s %9s\n", "mask", "tool", "median ms", "min ms", "cpu ms",
                "rows");
    bool agree = true;
    for (const std::string mask : {"*.*", "*.jpg"}) {
        const ScanSettings settings = settingsFor(tree, mask);
        Series walker, session, scan;
        std::size_t walkerFiles = walkerAlone(settings);
        std::size_t sessionRows = sessionAlone(settings);
        std::size_t windowRows = window.scan(settings);
        for (int round = 0; round < rounds; ++round) {
            const std::function<void()> runs[] = {
                [&] { walker.add(timed([&] { walkerFiles = walkerAlone(settings); })); },
                [&] { session.add(timed([&] { sessionRows = sessionAlone(settings); })); },
                [&] { scan.add(timed([&] { windowRows = window.scan(settings); })); },
            };
            for (int k = 0; k < 3; ++k) {
                runs[(round + k) % 3]();
            }
        }
        agree = agree && walkerFiles == windowRows && sessionRows == windowRows;
        const auto row = [&](const char* name, const Series& s, std::size_t count) {
            std::printf("%-8s %-14s %10.1f %10.1f %10.1f %9zu\n", mask.c_str(), name,
                        s.wallMedian(), s.fastest(), s.cpuMedian(), count);
        };
        row("walker alone", walker, walkerFiles);
        row("session", session, sessionRows);
        row("ScanButton", scan, windowRows);
        const double ratio = scan.wallMedian() / walker.wallMedian();
        std::printf(
            "%-8s window/walker %.2f (min %.2f, cpu %.2f; goal <= 1.30 %s), "
            "window/session %.2f\n\n",
            mask.c_str(), ratio, scan.fastest() / walker.fastest(),
            scan.cpuMedian() / walker.cpuMedian(), ratio <= 1.30 ? "met" : "MISSED",
            scan.wallMedian() / session.wallMedian());
    }

    // The large list: scroll to its end and paint what shows.
    window.scan(settingsFor(tree, "*.*"));
    Series paint;
    for (int round = 0; round < rounds; ++round) {
        paint.add(timed([&] {
            window.view()->scrollToBottom();
            window.view()->viewport()->repaint();
            window.view()->scrollToTop();
            window.view()->viewport()->repaint();
        }));
    }
    std::printf("%zu rows: scroll to the end and back, painting both, median %.2f ms\n\n",
                window.rows(), paint.wallMedian());

    const SortSeries large = sortColumns(window, rounds);
    const std::size_t largeRows = window.rows();
    const std::size_t smallRows = window.scan(settingsFor(smallTree, "*.*"));
    const SortSeries small = sortColumns(window, rounds);
    std::printf(
        "header click (ListViewColumnClick) and the engine's sortRows alone,\n"
        "median ms over %d sorts per column; growth: log(time ratio) / log(rows ratio),\n"
        "1 for linear, 2 for quadratic\n",
        rounds);
    std::printf("%-10s %9s %9s %9s %9s %7s %7s\n", "column", "click", "click", "engine", "engine",
                "ratio", "growth");
    std::printf("%-10s %9zu %9zu %9zu %9zu\n", "rows", smallRows, largeRows, smallRows, largeRows);
    const double rowsRatio = static_cast<double>(largeRows) / static_cast<double>(smallRows);
    double steepest = 0;
    for (std::size_t c = 0; c < 7; ++c) {
        const double ratio = large.window[c].wallMedian() / small.window[c].wallMedian();
        const double growth = std::log(ratio) / std::log(rowsRatio);
        steepest = std::max(steepest, growth);
        std::printf("%-10s %9.1f %9.1f %9.1f %9.1f %7.2f %7.2f\n", kColumns[c],
                    small.window[c].wallMedian(), large.window[c].wallMedian(),
                    small.engine[c].wallMedian(), large.engine[c].wallMedian(), ratio, growth);
    }
    std::printf("rows ratio %.2f; steepest growth %.2f: %s\n", rowsRatio, steepest,
                steepest < 1.5 ? "no quadratic growth" : "SUSPECT");
    if (!agree || window.errors() > 0) {
        std::printf("FAIL: the tools disagree on the rows, or the window showed an error\n");
        return 1;
    }
    return 0;
}
