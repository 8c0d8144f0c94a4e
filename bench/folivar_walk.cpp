// folivar_walk ROOT [--stats]
//
// Lists every regular file named *.jpg (any ASCII case) below ROOT through the
// search component, set up the way the window sets it up for a scan, and prints
// one line per file (see LineWriter.h). Exit status 1 when some folder could not
// be listed, 2 on a usage or output error.

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "LineWriter.h"
#include "search/EasyFileSearch.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::string_view(argv[2]) != "--stats")) {
        std::fprintf(stderr, "usage: %s ROOT [--stats]\n", argv[0]);
        return 2;
    }
    const bool printStats = argc == 3;

    folivar::bench::LineWriter out(1);
    folivar::TEasyFileSearch search;
    search.SetRootPath(argv[1]);
    search.SetFileNames({"*.jpg"});
    search.SetSearchOptions({folivar::okIncludeSubfolder, folivar::okLookForArchiveFile});

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
        if (printStats) {
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
