// stop_bench [--tree DIR] [--corpus DIR] [--rows N] [--runs N] [--cold] [--only NAME,...]
//
// How long Stop takes, from the click to the end of the work, in the window
// as the user has it (offscreen): each long operation is run once to its end
// for its length, then --runs times with a click on Stop due at a moment drawn
// between 10 % and 90 % of that length. The click waits in the event queue
// until the window next looks at its events, as a real one does; the latency
// runs from the moment it was due to the handler's return. Prints the median
// and the worst latency of each operation; the goal is a worst of 100 ms.
//
// The operations (--only picks some): scan (the 200,000-file tree of
// make_walk_tree, mask *.*), dupes (FIND DUPL over a scan of the duplicate
// corpus of dupes_bench.py, warm; with --cold also from a cold cache, as
// root), move (MOVE of one 1 GiB file between two tmpfs mounts, as root),
// export (EXPORT of a synthetic list of --rows rows, stopped while its rows
// are written, and, for comparison, while the finished workbook is written,
// the one step that runs to its end).
#include <sys/mount.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "SyntheticFileList.h"
#include "app/Desktop.h"
#include "app/Unit1.h"
#include "platform/FileSystem.h"
#include "session/FileListSession.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Says yes, picks the folder it was given and has a spreadsheet program; an
// error box would mean a broken run.
class BenchDesktop : public folivar::Desktop {
public:
    QString folder;
    int errors = 0;
    void information(const QString&) override {}
    void warning(const QString& text) override { error(text); }
    bool askYesNo(const QString&) override { return true; }
    void error(const QString& text) override {
        ++errors;
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
    std::optional<QString> browseForFolder(const QString&, const QString&) override {
        return folder;
    }
    void beep() override {}
    void open(const QString&, const QString&) override {}
    bool hasSpreadsheetApplication() override { return true; }
};

class Window {
public:
    Window() {
        auto desktop = std::make_unique<BenchDesktop>();
        desktop_ = desktop.get();
        form_.setDesktop(std::move(desktop));
        click_.setSingleShot(true);
        click_.setTimerType(Qt::PreciseTimer);
        auto* stop = form_.findChild<QPushButton*>("StopButton");
        QObject::connect(&click_, &QTimer::timeout, stop, [this, stop] {
            *clicked_ = Clock::now();
            stop->click();
        });
        form_.show();
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
        }
    }

    folivar::TForm1& form() { return form_; }
    BenchDesktop& desktop() { return *desktop_; }
    QString status() const { return form_.findChild<QStatusBar*>("StatusBar")->currentMessage(); }
    bool stopped() const { return status().startsWith("Stopped"); }
    std::size_t rows() { return form_.session().rows().size(); }

    void scan(const std::string& folder, const char* mask) {
        set("PathListBox", folder);
        set("ScanListBox1", mask);
        form_.ScanButtonClick();
    }

    // A click on Stop, due ms from now; the window takes it in when it next
    // looks at its events (clicked: then).
    void clickStopIn(double ms, Clock::time_point& due, Clock::time_point& clicked) {
        const int delay = static_cast<int>(ms);
        clicked_ = &clicked;
        clicked = Clock::time_point::max();
        due = Clock::now() + std::chrono::milliseconds(delay);
        click_.start(delay);
    }
    // A click not yet due when the work ended goes nowhere.
    void dropClick() { click_.stop(); }

private:
    void set(const char* list, const std::string& entry) {
        auto* box = form_.findChild<QListWidget*>(list);
        box->clear();
        box->addItem(QString::fromStdString(entry));
    }

    folivar::TForm1 form_;
    BenchDesktop* desktop_ = nullptr;
    QTimer click_;
    Clock::time_point* clicked_ = nullptr;
};

struct Result {
    std::string what;
    double fullMs = 0;
    std::vector<double> latencies;  // from the click to the handler's return
    std::vector<double> takenIn;    // from the click to the window taking it in
    int endedFirst = 0;             // runs that ended before the click was taken in
};

// The operation run to its end three times (the median is its length), then
// `runs` times with a stop due between from and to (shares of the length,
// which may be given). restore puts things back after a run that was not
// stopped; beforeEach readies every run (a cold cache).
struct Scenario {
    std::string what;
    std::function<void()> run;
    std::function<void()> restore = [] {};
    std::function<void()> beforeEach = [] {};
    double from = 0.1;
    double to = 0.9;
    bool runsToItsEnd = false;  // a step that is not stopped: the latency is what remains
};

Result measure(Window& w, const Scenario& s, int runs, std::mt19937& random,
               std::optional<double> knownFull = std::nullopt) {
    Result result;
    result.what = s.what;
    if (knownFull) {
        result.fullMs = *knownFull;
    } else {
        std::vector<double> full;
        for (int i = 0; i < 3; ++i) {
            s.beforeEach();
            const auto start = Clock::now();
            s.run();
            full.push_back(msBetween(start, Clock::now()));
            s.restore();
        }
        result.fullMs = bench::median(full);
    }
    std::uniform_real_distribution<double> share(s.from, s.to);
    for (int i = 0; i < runs; ++i) {
        s.beforeEach();
        Clock::time_point due;
        Clock::time_point clicked;
        w.clickStopIn(share(random) * result.fullMs, due, clicked);
        s.run();
        const auto end = Clock::now();
        if (clicked <= end && (w.stopped() || s.runsToItsEnd)) {
            result.latencies.push_back(std::max(0.0, msBetween(due, end)));
            result.takenIn.push_back(std::max(0.0, msBetween(due, clicked)));
        } else {
            ++result.endedFirst;
        }
        w.dropClick();
        if (!w.stopped()) {
            s.restore();
        }
    }
    return result;
}

void dropCaches() {
    ::sync();
    std::ofstream("/proc/sys/vm/drop_caches") << "3\n";
}

bool canDropCaches() {
    return ::geteuid() == 0 && std::ofstream("/proc/sys/vm/drop_caches").good();
}

// Two tmpfs mounts under folder, unmounted when the object goes.
class TwoMounts {
public:
    explicit TwoMounts(const std::string& folder) : a_(folder + "/a"), b_(folder + "/b") {
        fs::create_directories(a_);
        fs::create_directories(b_);
        ok_ = ::mount("tmpfs", a_.c_str(), "tmpfs", 0, "size=1200m") == 0 &&
              ::mount("tmpfs", b_.c_str(), "tmpfs", 0, "size=1200m") == 0;
    }
    ~TwoMounts() {
        ::umount(a_.c_str());
        ::umount(b_.c_str());
    }
    TwoMounts(const TwoMounts&) = delete;
    TwoMounts& operator=(const TwoMounts&) = delete;

    bool ok() const { return ok_; }
    const std::string& a() const { return a_; }
    const std::string& b() const { return b_; }

private:
    std::string a_;
    std::string b_;
    bool ok_ = false;
};

void makeFile(const std::string& path, std::int64_t size) {
    std::ofstream out(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<char>(i * 131 + 7);
    }
    for (std::int64_t done = 0; done < size; done += static_cast<std::int64_t>(block.size())) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
}

bool wanted(const std::vector<std::string>& only, const char* name) {
    return only.empty() || std::find(only.begin(), only.end(), name) != only.end();
}

std::vector<std::string> splitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return parts;
}

}  // namespace

int main(int argc, char** argv) {
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string scratchBase = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
    std::string tree = scratchBase + "/folivar-walk-tree";
    std::string corpus = scratchBase + "/folivar-dupes-corpus";
    std::size_t exportRows = 200000;
    int runs = 20;
    bool cold = false;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
        if (arg == "--tree") {
            tree = next();
        } else if (arg == "--corpus") {
            corpus = next();
        } else if (arg == "--rows") {
            exportRows = std::stoul(next());
        } else if (arg == "--runs") {
            runs = std::stoi(next());
        } else if (arg == "--cold") {
            cold = true;
        } else if (arg == "--only") {
            only = splitCommas(next());
        } else {
            std::fprintf(stderr,
                         "usage: stop_bench [--tree DIR] [--corpus DIR] [--rows N] "
                         "[--runs N] [--cold] [--only scan,dupes,move,export]\n");
            return 2;
        }
    }
    const std::string scratch = scratchBase + "/folivar-stop-bench-" + std::to_string(::getpid());
    fs::create_directories(scratch + "/tmp");
    ::setenv("TMPDIR", (scratch + "/tmp").c_str(), 1);  // the export's workbooks
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Window w;
    std::mt19937 random(20240611);
    std::vector<Result> results;

    if (wanted(only, "scan")) {
        if (!fs::is_directory(tree)) {
            std::fprintf(stderr, "no tree at %s: make it with make_walk_tree\n", tree.c_str());
            return 2;
        }
        Scenario scan;
        scan.what = "SCAN of the tree, *.*";
        scan.run = [&] { w.scan(tree, "*.*"); };
        w.scan(tree, "*.*");  // warm
        const std::size_t rows = w.rows();
        Result r = measure(w, scan, runs, random);
        r.what += " (" + std::to_string(rows) + " rows)";
        results.push_back(r);
    }

    if (wanted(only, "dupes")) {
        if (!fs::is_directory(corpus)) {
            std::fprintf(stderr, "no corpus at %s: make it with dupes_bench.py --keep\n",
                         corpus.c_str());
            return 2;
        }
        const auto rescan = [&] { w.scan(corpus, "*"); };
        Scenario dupes;
        dupes.what = "FIND DUPL over the corpus, warm";
        dupes.run = [&] { w.form().FindDuplButtonClick(); };
        dupes.restore = rescan;
        rescan();
        dupes.run();  // warms the cache
        rescan();
        Result r = measure(w, dupes, runs, random);
        r.what += " (" + std::to_string(w.rows()) + " rows)";
        results.push_back(r);
        if (cold && canDropCaches()) {
            dupes.what = "FIND DUPL over the corpus, cold";
            dupes.beforeEach = dropCaches;
            results.push_back(measure(w, dupes, runs, random));
        } else if (cold) {
            std::fprintf(stderr, "--cold needs root: the cold runs are left out\n");
        }
        w.form().setDuplicateMode(true);
    }

    if (wanted(only, "move")) {
        TwoMounts mounts(scratch + "/mounts");
        if (!mounts.ok()) {
            std::fprintf(stderr, "cannot mount two tmpfs (root needed): the move is left out\n");
        } else {
            const std::string from = mounts.a() + "/big.bin";
            const std::string to = mounts.b() + "/big.bin";
            makeFile(from, std::int64_t{1} << 30);
            w.scan(mounts.a(), "*");
            w.form().findChild<QComboBox*>("RenMovBox")->setCurrentIndex(1);  // move
            w.desktop().folder = QString::fromStdString(mounts.b());
            Scenario move;
            move.what = "MOVE of 1 GiB, tmpfs to tmpfs";
            move.run = [&] { w.form().RenameButtonClick(); };
            move.restore = [&] {
                folivar::platform::fileSystem().moveFile(to, from);
                w.scan(mounts.a(), "*");
            };
            results.push_back(measure(w, move, runs, random));
            if (!fs::exists(from) || fs::exists(to) || fs::file_size(from) != (1u << 30)) {
                std::fprintf(stderr, "FAIL: the file did not stay whole where it was\n");
                return 1;
            }
            w.form().findChild<QComboBox*>("RenMovBox")->setCurrentIndex(0);
        }
    }

    if (wanted(only, "export")) {
        const folivar::FileTable list = folivar::bench::syntheticFileList(exportRows);
        w.form().session().replaceRows({list.begin(), list.end()});
        Clock::time_point start;
        Clock::time_point rowsDone;
        auto* bar = w.form().findChild<QProgressBar*>("ProgressBar");
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
            if (value == 100) {
                rowsDone = Clock::now();
            }
        });
        const auto clearWorkbooks = [&] {
            fs::remove_all(scratch + "/tmp");
            fs::create_directories(scratch + "/tmp");
        };
        Scenario exporting;
        exporting.what = "EXPORT of " + std::to_string(exportRows) + " rows, while rows go in";
        exporting.run = [&] { w.form().ExportButtonClick(); };
        exporting.restore = clearWorkbooks;
        start = Clock::now();
        exporting.run();
        const double full = msBetween(start, Clock::now());
        const double rowsMs = msBetween(start, rowsDone);
        clearWorkbooks();
        const double rowsShare = rowsMs / full;
        exporting.from = 0.1 * rowsShare;
        exporting.to = 0.9 * rowsShare;
        results.push_back(measure(w, exporting, runs, random, full));
        Scenario writing = exporting;
        writing.what = "EXPORT, while the workbook is written (one step)";
        writing.runsToItsEnd = true;
        writing.from = rowsShare + 0.1 * (1 - rowsShare);
        writing.to = rowsShare + 0.9 * (1 - rowsShare);
        results.push_back(measure(w, writing, std::max(3, runs / 4), random, full));
        clearWorkbooks();
    }

    std::printf(
        "stop latency: from the click on Stop to the handler's return, window offscreen,\n"
        "%d stops each at a moment drawn between 10 %% and 90 %% of the full run\n\n",
        runs);
    std::printf("%-52s %8s %6s %10s %9s %10s\n", "work", "full ms", "stops", "median ms",
                "worst ms", "taken in");
    const auto worstOf = [](const std::vector<double>& values) {
        return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
    };
    bool met = true;
    for (const Result& r : results) {
        const double worst = worstOf(r.latencies);
        std::printf("%-52s %8.1f %6zu %10.1f %9.1f %10.1f", r.what.c_str(), r.fullMs,
                    r.latencies.size(), bench::median(r.latencies), worst, worstOf(r.takenIn));
        if (r.endedFirst > 0) {
            std::printf("  (%d ended before the click)", r.endedFirst);
        }
        std::printf("\n");
        if (r.what.find("one step") == std::string::npos) {
            met = met && worst <= 100;
        }
    }
    std::printf("\ngoal: worst <= 100 ms (the workbook's writing aside): %s\n",
                met ? "met" : "MISSED");
    fs::remove_all(scratch);
    return w.desktop().errors == 0 ? 0 : 1;
}
