// folivar_dupes ROOT [--requests N]
//
// What SCAN and FIND DUPL do, without the window: lists every regular file
// below ROOT through the search component, adds the rows a scan adds, runs
// the duplicate search over them and prints each group, one full path a line
// and a blank line after each group. What the search read goes to standard
// error. --requests sets the sets the search sorts at once ahead of itself
// (default: the search's own). Exit status 2 on a usage or output error.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "ScanEverything.h"
#include "duplicates/DuplicateFinder.h"

int main(int argc, char** argv) {
    folivar::ContentClassifier::Options options;
    const char* root = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--requests" && i + 1 < argc) {
            options.requests = std::atoi(argv[++i]);
        } else if (root == nullptr && !arg.starts_with("--")) {
            root = argv[i];
        } else {
            root = nullptr;
            break;
        }
    }
    if (root == nullptr || options.requests < 1) {
        std::fprintf(stderr, "usage: %s ROOT [--requests N]\n", argv[0]);
        return 2;
    }
    folivar::FileTable table;
    folivar::DuplicateFinder finder(options);
    try {
        table = folivar::bench::scanEverything(root);
        finder.search(table, folivar::ProgressSink::silent());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 2;
    }

    // Rows of one group may interleave with other groups of the same size.
    std::vector<std::vector<std::string>> groups;
    for (const folivar::FileRow& row : table) {
        const auto group = static_cast<std::size_t>(std::stoul(row.Group));
        if (group > groups.size()) {
            groups.resize(group);
        }
        groups[group - 1].push_back(row.file());
    }
    std::string out;
    for (const auto& group : groups) {
        for (const std::string& path : group) {
            out += path;
            out += '\n';
        }
        out += '\n';
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::perror("write");
        return 2;
    }
    const auto& stats = finder.readStatistics();
    std::fprintf(stderr,
                 "rows %zu, read %lld bytes, opened %zu files, peak open %zu, peak blocks %zu\n",
                 table.size(), static_cast<long long>(stats.bytesRead), stats.filesOpened,
                 stats.peakOpenFiles, stats.peakBlockBytes);
    return 0;
}
