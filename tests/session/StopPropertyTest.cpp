// Every long command stopped at random points over generated trees, the
// point chosen by how many times the command had asked whether to stop:
// nothing is lost, no final name holds a partial file, the rows tell where
// the files are, a stopped batch or undo is taken back to the last byte, and
// a stopped duplicate search leaves no mark. The read-ahead threads of the
// walk and of the duplicate search end with the work.
#include <dirent.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "duplicates/DuplicateFinder.h"
#include "export/XlsxApplication.h"
#include "session/FileListSession.h"
#include "support/FileEdits.h"
#include "support/ScopedTmpfs.h"
#include "support/ScopedVariable.h"
#include "support/StoppingSink.h"
#include "support/TempTree.h"
#include "support/TreeSnapshot.h"

namespace folivar {
namespace {

namespace fs = std::filesystem;

using test::StoppingSink;

constexpr int kRounds = 10;

// Threads of this process now.
std::size_t threadCount() {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator("/proc/self/task")) {
        static_cast<void>(entry);
        ++count;
    }
    return count;
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

// Contents a move would make from a file of its own: copies many, a few
// large enough to be copied to another file system in several chunks.
std::string contentsFor(std::mt19937& random) {
    static const std::size_t sizes[] = {0, 7, 1000, 4096, (2 << 20) + 5};
    const std::size_t size = sizes[std::uniform_int_distribution<std::size_t>(0, 4)(random)];
    const char fill = static_cast<char>('a' + std::uniform_int_distribution<int>(0, 2)(random));
    std::string text(size, fill);
    if (size > 0) {
        text.back() = static_cast<char>('0' + size % 10);
    }
    return text;
}

// One round's files, the same for the same seed: a few folders under in/,
// an empty tmpfs at other/ for the moves, the journal in state/, and every
// file listed.
class World {
public:
    explicit World(unsigned seed) {
        std::mt19937 random(seed);
        const char* folders[] = {"in/", "in/a/", "in/b/c/"};
        const int files = std::uniform_int_distribution<int>(4, 14)(random);
        for (int i = 0; i < files; ++i) {
            const char* folder = folders[std::uniform_int_distribution<int>(0, 2)(random)];
            tree.file(std::string(folder) + "f" + std::to_string(i) + ".jpg", contentsFor(random));
        }
        other.emplace(tree.dir("other"), "32m");
        session.setJournalFolder(tree.dir("state"));
        ScanSettings settings;
        settings.folders = {tree.at("in")};
        settings.includeMasks = {"*"};
        session.scan(settings, ProgressSink::silent());
    }

    bool canMove() const { return other->mounted(); }

    // The contents of every file of in/ and other/, and whether some name
    // is one of the move's own temporary names.
    std::multiset<std::string> contents(bool* temporaryNames = nullptr) const {
        std::multiset<std::string> all;
        for (const char* root : {"in", "other"}) {
            for (const auto& entry : fs::recursive_directory_iterator(tree.at(root))) {
                if (entry.is_regular_file()) {
                    all.insert(test::contentsOf(entry.path().string()));
                }
                const std::string name = entry.path().filename().string();
                if (temporaryNames != nullptr && name.find(".folivar-") != std::string::npos) {
                    *temporaryNames = true;
                }
            }
        }
        return all;
    }

    test::TreeSnapshot snapshot() const {
        test::TreeSnapshot both = test::snapshotOf(tree.at("in"));
        for (const auto& [path, what] : test::snapshotOf(tree.at("other"))) {
            both["other/" + path] = what;
        }
        return both;
    }

    std::size_t rowCount() const { return session.rows().size(); }

    test::TempTree tree;
    std::optional<test::ScopedTmpfs> other;
    FileListSession session;
};

// Runs a command once to its end in one world, to count its questions, and
// then stopped at a random one of them in a fresh world of the same seed.
// prepare readies a world; run runs the command with a sink.
struct StopPoint {
    std::size_t questions = 0;  // in the run to the end
    std::size_t at = 0;         // where the stopped run was stopped
};

StopPoint pickStop(unsigned seed, const std::function<void(World&)>& prepare,
                   const std::function<void(World&, ProgressSink&)>& run, std::mt19937& random) {
    World counting(seed);
    prepare(counting);
    StoppingSink sink;
    run(counting, sink);
    StopPoint point;
    point.questions = sink.questions;
    point.at = std::uniform_int_distribution<std::size_t>(
        1, std::max<std::size_t>(1, sink.questions))(random);
    return point;
}

const std::function<void(World&)> kNothing = [](World&) {};

TEST(StopProperty, ABatchStoppedAnywhereLosesNothingAndItsUndoTakesItAllBack) {
    std::mt19937 random(20240611);
    const RenameKind kinds[] = {RenameKind::Rename, RenameKind::Move, RenameKind::RenameAndMove};
    for (const RenameKind kind : kinds) {
        for (int round = 0; round < kRounds; ++round) {
            const unsigned seed = 100 + static_cast<unsigned>(round);
            NamingScheme scheme;
            scheme.prefix = "x";
            const auto prepare = [kind](World& w) {
                if (kind != RenameKind::Rename) {
                    w.session.setMoveTarget(w.tree.at("other"));
                }
            };
            const auto run = [kind, &scheme](World& w, ProgressSink& sink) {
                w.session.rename(kind, scheme, sink);
            };
            const StopPoint stop = pickStop(seed, prepare, run, random);
            World w(seed);
            if (!w.canMove()) {
                GTEST_SKIP() << "cannot mount a tmpfs here";
            }
            prepare(w);
            const test::TreeSnapshot before = w.snapshot();
            const std::multiset<std::string> contents = w.contents();
            const FileTable rows = w.session.rows();
            std::vector<std::string> rowContents;
            for (const FileRow& row : rows) {
                rowContents.push_back(test::contentsOf(row.file()));
            }
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + ", seed " +
                         std::to_string(seed) + ", stopped at question " + std::to_string(stop.at) +
                         " of " + std::to_string(stop.questions));

            StoppingSink sink(stop.at);
            w.session.rename(kind, scheme, sink);

            EXPECT_TRUE(startsWith(sink.lastStatus(), "Stopped - ")) << sink.lastStatus();
            bool temporaryNames = false;
            EXPECT_EQ(w.contents(&temporaryNames), contents);
            EXPECT_FALSE(temporaryNames);
            // No name is taken in these trees: a row reached is done, a row
            // not reached (or whose copy was abandoned) is as it was.
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const FileRow& now = w.session.rows()[i];
                EXPECT_EQ(test::contentsOf(now.file()), rowContents[i]) << now.file();
                const bool done = now.Status == kRenamed || now.Status == kMoved;
                EXPECT_TRUE(done || now == rows[i]) << now.file() << ": " << now.Status;
            }

            w.session.undoLastBatch(ProgressSink::silent());
            EXPECT_EQ(w.snapshot(), before);
        }
    }
}

TEST(StopProperty, AStoppedUndoKeepsWhatIsBackAndTheNextUndoFinishesIt) {
    std::mt19937 random(20240612);
    for (const RenameKind kind : {RenameKind::Rename, RenameKind::RenameAndMove}) {
        for (int round = 0; round < kRounds; ++round) {
            const unsigned seed = 200 + static_cast<unsigned>(round);
            NamingScheme scheme;
            scheme.prefix = "y";
            test::TreeSnapshot before;
            const auto prepare = [&](World& w) {
                w.session.setMoveTarget(w.tree.at("other"));
                before = w.snapshot();
                w.session.rename(kind, scheme, ProgressSink::silent());
            };
            const auto run = [](World& w, ProgressSink& sink) { w.session.undoLastBatch(sink); };
            const StopPoint stop = pickStop(seed, prepare, run, random);
            World w(seed);
            if (!w.canMove()) {
                GTEST_SKIP() << "cannot mount a tmpfs here";
            }
            prepare(w);
            const std::multiset<std::string> contents = w.contents();
            SCOPED_TRACE("seed " + std::to_string(seed) + ", stopped at question " +
                         std::to_string(stop.at) + " of " + std::to_string(stop.questions));

            StoppingSink sink(stop.at);
            w.session.undoLastBatch(sink);

            EXPECT_TRUE(startsWith(sink.lastStatus(), "Stopped - ")) << sink.lastStatus();
            bool temporaryNames = false;
            EXPECT_EQ(w.contents(&temporaryNames), contents);
            EXPECT_FALSE(temporaryNames);
            for (const FileRow& row : w.session.rows()) {
                EXPECT_TRUE(fs::is_regular_file(row.file())) << row.file();
            }
            EXPECT_FALSE(w.session.hasInterruptedBatch());  // no question at the next start

            w.session.undoLastBatch(ProgressSink::silent());
            EXPECT_EQ(w.snapshot(), before);
        }
    }
}

TEST(StopProperty, StoppedDeletionsDeleteOnlyWhatTheyReached) {
    std::mt19937 random(20240613);
    for (int round = 0; round < 2 * kRounds; ++round) {
        const unsigned seed = 300 + static_cast<unsigned>(round);
        const bool duplicates = round % 2 == 1;
        RowSelection selection;
        const auto prepare = [&](World& w) {
            if (duplicates) {
                w.session.findDuplicates(ProgressSink::silent());
            } else {
                std::mt19937 pick(seed);
                selection.clear();
                for (std::size_t i = 0; i < w.rowCount(); ++i) {
                    selection.push_back(pick() % 3 != 0);
                }
            }
        };
        const auto run = [&](World& w, ProgressSink& sink) {
            if (duplicates) {
                w.session.deleteDuplicates(sink);
            } else {
                w.session.deleteFiles(selection, sink);
            }
        };
        const StopPoint stop = pickStop(seed, prepare, run, random);
        if (stop.questions == 0) {
            continue;  // nothing to delete
        }
        World w(seed);
        prepare(w);
        const FileTable rows = w.session.rows();
        const std::multiset<std::string> contents = w.contents();
        SCOPED_TRACE(std::string(duplicates ? "DEL DUPL" : "Delete File(s)") + ", seed " +
                     std::to_string(seed) + ", stopped at question " + std::to_string(stop.at) +
                     " of " + std::to_string(stop.questions));

        StoppingSink sink(stop.at);
        run(w, sink);

        EXPECT_TRUE(startsWith(sink.lastStatus(), "Stopped - ")) << sink.lastStatus();
        std::set<std::string> listed;
        for (const FileRow& row : w.session.rows()) {
            listed.insert(row.file());
        }
        for (const FileRow& row : rows) {
            // A row leaves the list exactly when its file is gone.
            EXPECT_EQ(listed.count(row.file()) == 1, fs::exists(row.file())) << row.file();
        }
        const std::multiset<std::string> left = w.contents();
        EXPECT_EQ(contents.size() - left.size(), rows.size() - w.rowCount());
        if (duplicates) {
            // The "Orig" of every set stays: every contents is still there.
            EXPECT_EQ(std::set<std::string>(left.begin(), left.end()),
                      std::set<std::string>(contents.begin(), contents.end()));
        }
    }
}

TEST(StopProperty, AStoppedDuplicateSearchLeavesNoMarkAndEndsItsHelpers) {
    std::mt19937 random(20240614);
    for (int round = 0; round < 2 * kRounds; ++round) {
        const unsigned seed = 400 + static_cast<unsigned>(round);
        ContentClassifier::Options options;
        if (round % 2 == 1) {
            options.requests = 8;  // helpers sort the next runs from the start
            options.fromStart = true;
            options.waitsBeforeStart = 0;
        }
        const auto run = [&options](World& w, ProgressSink& sink) {
            FileTable table = w.session.rows();
            DuplicateFinder(options).search(table, sink);
        };
        const StopPoint stop = pickStop(seed, kNothing, run, random);
        World w(seed);
        FileTable table = w.session.rows();
        const FileTable before = table;
        const std::size_t threads = threadCount();
        SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(options.requests) +
                     " requests, stopped at question " + std::to_string(stop.at) + " of " +
                     std::to_string(stop.questions));

        DuplicateFinder finder(options);
        StoppingSink sink(stop.at);
        const DuplicateFinder::SearchOutcome found = finder.search(table, sink);

        EXPECT_EQ(threadCount(), threads);
        // With helpers the caller asks fewer questions the more they take on:
        // the stop point may lie past the end.
        if (startsWith(sink.lastStatus(), "Stopped - ")) {
            EXPECT_TRUE(found.stopped);
            EXPECT_FALSE(found.deleteMode);
            EXPECT_TRUE(std::equal(table.begin(), table.end(), before.begin(), before.end()));
            EXPECT_EQ(finder.deleteDuplicates(table, ProgressSink::silent()).deleted, 0);
            EXPECT_EQ(w.contents().size(), before.size());
        } else {
            EXPECT_NE(options.requests, 1) << sink.lastStatus();
            EXPECT_FALSE(found.stopped);
        }
    }
}

TEST(StopProperty, AStoppedScanKeepsTheRowsFoundAndItsReadAheadEnds) {
    std::mt19937 random(20240615);
    WalkReadAhead readAhead;
    readAhead.fromStart = true;  // the walk's requests run from its first folder
    readAhead.waitsBeforeStart = 0;
    readAhead.batch = 2;
    readAhead.chunk = 1;
    for (int round = 0; round < 2 * kRounds; ++round) {
        const unsigned seed = 500 + static_cast<unsigned>(round);
        const auto run = [&readAhead](World& w, ProgressSink& sink) {
            w.session.search().SetReadAhead(readAhead);
            ScanSettings settings;
            settings.folders = {w.tree.at("in"), w.tree.at("other")};
            settings.includeMasks = {"*"};
            w.session.scan(settings, sink);
        };
        const StopPoint stop = pickStop(seed, kNothing, run, random);
        World w(seed);
        const std::size_t files = w.rowCount();
        const std::size_t threads = threadCount();
        SCOPED_TRACE("seed " + std::to_string(seed) + ", stopped at question " +
                     std::to_string(stop.at) + " of " + std::to_string(stop.questions));

        StoppingSink sink(stop.at);
        run(w, sink);

        EXPECT_EQ(threadCount(), threads);
        EXPECT_EQ(sink.lastStatus(),
                  "Stopped - " + std::to_string(w.rowCount()) + " files in list");
        EXPECT_LE(w.rowCount(), files);
        std::set<std::string> seen;
        for (const FileRow& row : w.session.rows()) {
            EXPECT_TRUE(seen.insert(row.file()).second) << row.file();
            EXPECT_EQ(std::to_string(fs::file_size(row.file())), row.Size) << row.file();
        }
    }
}

TEST(StopProperty, AStoppedExportOpensNothingAndLeavesNoFile) {
    std::mt19937 random(20240616);
    for (int round = 0; round < kRounds; ++round) {
        const unsigned seed = 600 + static_cast<unsigned>(round);
        test::TempTree temporary;
        int opened = 0;
        const auto run = [&opened, &temporary](World& w, ProgressSink& sink) {
            const test::ScopedVariable tmpdir("TMPDIR", temporary.path());  // the workbook's
            XlsxDesktop desktop;
            desktop.open = [&opened](const std::string&, const std::string&) { ++opened; };
            FileListSession exporting(XlsxApplication::creator(desktop));
            exporting.replaceRows({w.session.rows().begin(), w.session.rows().end()});
            exporting.exportList(sink);
        };
        const StopPoint stop = pickStop(seed, kNothing, run, random);
        ASSERT_EQ(opened, 1);
        fs::remove_all(temporary.path());
        fs::create_directory(temporary.path());
        World w(seed);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", stopped at question " +
                     std::to_string(stop.at) + " of " + std::to_string(stop.questions));

        StoppingSink sink(stop.at);
        run(w, sink);

        EXPECT_EQ(opened, 1);
        EXPECT_EQ(sink.lastStatus(), "Stopped - " + std::to_string(w.rowCount()) +
                                         " files in list; no workbook is made");
        for (const auto& left : fs::recursive_directory_iterator(temporary.path())) {
            ADD_FAILURE() << "left behind: " << left.path();
        }
    }
}

}  // namespace
}  // namespace folivar
