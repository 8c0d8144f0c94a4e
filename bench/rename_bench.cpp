// Renames 100,000 files in one folder four ways, in one run: through the
// engine (the RENAME button's "prefix+counter"), through the engine with the
// undo journal as the window runs it (each file's identity written down
// before it moves; then the undo of that batch, timed too),
// with Debian's perl `rename`, and with a bare loop of renameat2 calls (the
// floor). Each round gets a fresh folder; every result is checked file by
// file. With --tmpfs the same runs go to a tmpfs mounted for them (needs the
// right to mount), so the disk plays no part. Prints medians and ratios.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "filelist/FileTable.h"
#include "renaming/BatchJournal.h"
#include "renaming/BatchUndo.h"
#include "renaming/RenameOperations.h"

namespace {

using bench::median;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string oldName(std::size_t i) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "f%06zu.jpg", i);
    return buffer;
}

std::string newName(std::size_t i) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "pic%06zu.jpg", i + 1);
    return buffer;
}

// A fresh folder of n empty files; returns their inodes, in name order.
std::vector<ino_t> makeFolder(const std::string& folder, std::size_t n) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<ino_t> inodes(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int fd =
            ::open((folder + "/" + oldName(i)).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            std::perror("create");
            std::exit(2);
        }
        inodes[i] = st.st_ino;
        ::close(fd);
    }
    return inodes;
}

// Every old file now stands under its new name (the same inode), and nothing
// else is in the folder.
bool verify(const std::string& folder, const std::vector<ino_t>& inodes) {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        (void)entry;
        ++count;
    }
    if (count != inodes.size()) {
        std::fprintf(stderr, "FAIL: %zu entries instead of %zu\n", count, inodes.size());
        return false;
    }
    for (std::size_t i = 0; i < inodes.size(); ++i) {
        struct stat st {};
        if (::stat((folder + "/" + newName(i)).c_str(), &st) != 0 || st.st_ino != inodes[i]) {
            std::fprintf(stderr, "FAIL: %s is not the file %s was\n", newName(i).c_str(),
                         oldName(i).c_str());
            return false;
        }
    }
    return true;
}

folivar::FileTable tableOf(const std::string& folder, std::size_t n) {
    folivar::FileTable table;
    for (std::size_t i = 0; i < n; ++i) {
        table.append(folivar::FileRow{oldName(i), folder + "/", "10", "jpg", "1.1.2001", "0", "-"});
    }
    return table;
}

const folivar::RenameSettings kSettings{
    folivar::RenameKind::Rename,
    folivar::NamingScheme{"pic", folivar::FileStructure::PrefixCounter, 6, 1},
    {}};

void expectDone(const char* what, std::size_t done, std::size_t n) {
    if (done != n) {
        std::fprintf(stderr, "FAIL: %s: %zu of %zu\n", what, done, n);
        std::exit(1);
    }
}

double engine(const std::string& folder, std::size_t n) {
    folivar::FileTable table = tableOf(folder, n);
    const auto start = Clock::now();
    const std::size_t done = folivar::renameRows(table, kSettings, folivar::ProgressSink::silent());
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    expectDone("the engine renamed", done, n);
    return ms;
}

// The undo's times, one per journaled run, taken right after it.
std::vector<double> undoTimes;

// As the session runs RENAME: the batch written down in the state folder
// (beside the files, on the same file system) before the first file moves,
// every move recorded. Then the undo of that batch, timed on its own and
// checked: every file back under its old name.
double journaled(const std::string& folder, std::size_t n) {
    const std::string state = folder + ".state";
    folivar::FileTable table = tableOf(folder, n);
    const auto start = Clock::now();
    std::string why;
    std::unique_ptr<folivar::BatchJournal> journal =
        folivar::BatchJournal::begin(state, table, kSettings, why);
    if (!journal) {
        std::fprintf(stderr, "FAIL: no journal: %s\n", why.c_str());
        std::exit(1);
    }
    const std::size_t done =
        folivar::renameRows(table, kSettings, folivar::ProgressSink::silent(), *journal);
    journal->end();
    journal.reset();  // lets go of the journal's lock
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    expectDone("the engine with its journal renamed", done, n);

    ::sync();
    const auto undoStart = Clock::now();
    const folivar::UndoOutcome undone =
        folivar::undoBatch(state, table, folivar::ProgressSink::silent());
    undoTimes.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - undoStart).count());
    expectDone("the undo restored", undone.restored, n);
    for (std::size_t i = 0; i < n; i += 997) {
        struct stat st {};
        if (::stat((folder + "/" + oldName(i)).c_str(), &st) != 0) {
            std::fprintf(stderr, "FAIL: %s is not back\n", oldName(i).c_str());
            std::exit(1);
        }
    }
    // Renamed again without a journal, so the check after every tool holds.
    folivar::FileTable again = tableOf(folder, n);
    folivar::renameRows(again, kSettings, folivar::ProgressSink::silent());
    fs::remove_all(state);
    return ms;
}

double floorLoop(const std::string& folder, std::size_t n) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    const auto start = Clock::now();
    for (std::size_t i = 0; i < n; ++i) {
        if (::renameat2(dir, oldName(i).c_str(), dir, newName(i).c_str(), RENAME_NOREPLACE) != 0) {
            std::perror("renameat2");
            std::exit(1);
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ::close(dir);
    return ms;
}

// perl rename reads the names from its standard input, in list order.
double perlRename(const std::string& folder, std::size_t n) {
    const std::string list = folder + ".list";
    {
        std::ofstream out(list);
        for (std::size_t i = 0; i < n; ++i) {
            out << oldName(i) << '\n';
        }
    }
    const double ms = bench::timedChild("rename", [&folder, &list] {
        if (::chdir(folder.c_str()) != 0) {
            _exit(3);
        }
        const int in = ::open(list.c_str(), O_RDONLY);
        ::dup2(in, 0);
        ::execlp("rename", "rename", "our $i; $_ = sprintf(\"pic%06d.jpg\", ++$i)",
                 static_cast<char*>(nullptr));
    });
    fs::remove(list);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool onTmpfs = !args.empty() && args[0] == "--tmpfs";
    if (onTmpfs) {
        args.erase(args.begin());
    }
    const std::size_t n = !args.empty() ? std::strtoul(args[0].c_str(), nullptr, 10) : 100000;
    const int rounds = args.size() > 1 ? std::atoi(args[1].c_str()) : 5;
    const char* tmp = std::getenv("TMPDIR");
    std::string base = std::string(tmp && *tmp ? tmp : "/tmp") + "/folivar-rename-bench-" +
                       std::to_string(::getpid());
    if (onTmpfs) {
        fs::create_directories(base);
        if (::mount("tmpfs", base.c_str(), "tmpfs", 0, "size=512m") != 0) {
            std::perror("mount tmpfs (needs root)");
            return 2;
        }
    }
    const std::string folder = onTmpfs ? base + "/files" : base;

    struct Tool {
        const char* name;
        std::function<double(const std::string&, std::size_t)> run;
        std::vector<double> times;
    };
    std::vector<Tool> tools = {{"engine", engine, {}},
                               {"engine+journal", journaled, {}},
                               {"perl rename", perlRename, {}},
                               {"renameat2 loop", floorLoop, {}}};
    std::printf("renaming %zu files in one folder on %s, %d rounds, fresh folder each time\n", n,
                onTmpfs ? "tmpfs" : "the disk", rounds);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t k = 0; k < tools.size(); ++k) {
            Tool& tool = tools[(k + static_cast<std::size_t>(round)) % tools.size()];
            const std::vector<ino_t> inodes = makeFolder(folder, n);
            ::sync();
            tool.times.push_back(tool.run(folder, n));
            if (!verify(folder, inodes)) {
                return 1;
            }
        }
    }
    fs::remove_all(folder);
    if (onTmpfs) {
        ::umount(base.c_str());
        fs::remove_all(base);
    }
    std::printf("\n%-16s %10s %10s %10s\n", "tool", "median ms", "min", "max");
    for (const Tool& tool : tools) {
        std::printf("%-16s %10.1f %10.1f %10.1f\n", tool.name, median(tool.times),
                    *std::min_element(tool.times.begin(), tool.times.end()),
                    *std::max_element(tool.times.begin(), tool.times.end()));
    }
    std::printf("%-16s %10.1f %10.1f %10.1f\n", "undo of it", median(undoTimes),
                *std::min_element(undoTimes.begin(), undoTimes.end()),
                *std::max_element(undoTimes.begin(), undoTimes.end()));
    const double ours = median(tools[0].times);
    const double withJournal = median(tools[1].times);
    const double perl = median(tools[2].times);
    const double bare = median(tools[3].times);
    const double undo = median(undoTimes);
    std::printf("\nengine+journal / renameat2 loop  %.2f   goal <= 1.1  %s\n", withJournal / bare,
                withJournal / bare <= 1.1 ? "met" : "MISSED");
    std::printf("engine+journal / engine   %.2f   goal <= 1.1  %s\n", withJournal / ours,
                withJournal / ours <= 1.1 ? "met" : "MISSED");
    std::printf("undo / engine+journal    %.2f   goal <= 1.2  %s\n", undo / withJournal,
                undo / withJournal <= 1.2 ? "met" : "MISSED");
    std::printf("undo / engine            %.2f   (the rename without its journal)\n", undo / ours);
    std::printf("\nengine / renameat2 loop  %.2f   goal <= 1.1  %s\n", ours / bare,
                ours / bare <= 1.1 ? "met" : "MISSED");
    std::printf("engine / perl rename     %.2f   goal <  1.0  %s\n", ours / perl,
                ours / perl < 1.0 ? "met" : "MISSED");
    std::printf("every round: every file checked under its new name (same inode)\n");
    return 0;
}
