// folivar_walk ROOT [--stats] [--mask MASK] [--requests N]
//
// Lists every regular file named *.jpg (any ASCII case; another mask with
// --mask) below ROOT through the search component, set up the way the window
// sets it up for a scan, and prints one line per file (see LineWriter.h).
// --requests sets the I/O requests the walk keeps in flight (default: the
// component's). Exit status 1 when some folder could not be listed, 2 on a
// usage or output error.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "LineWriter.h"
#include "search/EasyFileSearch.h"

namespace {

struct Arguments {
    const char* root = nullptr;
    bool printStats = false;
    std::string mask = "*.jpg";
    int requests = 0;  // the component's default
};

bool parse(int argc, char** argv, Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--stats") {
            args.printStats = true;
        } else if (arg == "--mask" && i + 1 < argc) {
            args.mask = argv[++i];
        } else if (arg == "--requests" && i + 1 < argc) {
            args.requests = std::atoi(argv[++i]);
            if (args.requests < 1) {
                return false;
            }
        } else if (args.root == nullptr && !arg.starts_with("--")) {
            args.root = argv[i];
        } else {
            return false;
        }
    }
    return args.root != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!parse(argc, argv, args)) {
        std::fprintf(stderr, "usage: %s ROOT [--stats] [--mask MASK] [--requests N]\n", argv[0]);
        return 2;
    }

    folivar::bench::LineWriter out(1);
    folivar::TEasyFileSearch search;
    search.SetRootPath(args.root);
    search.SetFileNames({args.mask});
    search.SetSearchOptions({folivar::okIncludeSubfolder, folivar::okLookForArchiveFile});
    if (args.requests > 0) {
        search.SetRequestsInFlight(args.requests);
    }

    // The window shows each folder in its status line; keeping the last one costs
    // about what that hand-over costs the engine.
    std::string currentFolder;
    search.OnChangeFolder = [&](std::string path) { currentFolder = std::move(path); };
    search.OnFileFound = [&](folivar::TFileInformations file) {
        const folivar::TSystemTime& t = file.LastWriteTime;
        out.line(file.Path, file.Name, file.Size,
                 {t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second});
    };
    search.OnStatistics = [&](folivar::TStatistics s) {
        if (args.printStats) {
            std::fprintf(stderr, "files %d, folders with files %d, folders unreadable %d, %d ms\n",
                         s.FilesFound, s.FoldersWithFiles, s.FoldersUnreadable, s.ElapsedTime);
        }
    };

    bool complete = false;
    try {
        complete = search.Execute();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 2;
    }
    if (!out.flush()) {
        std::perror("write");
        return 2;
    }
    return complete ? 0 : 1;
}
