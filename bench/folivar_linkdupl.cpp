// folivar_linkdupl ROOT [--links]
//
// What SCAN, FIND DUPL and LINK DUPL do, without the window: lists every
// regular file below ROOT through the search component, runs the duplicate
// search over the rows, then LINK DUPL (sharing data where the file system
// can; --links: hard links where it cannot, as if the user had said yes).
// Prints the status line LINK DUPL ends with, the bytes it reclaimed and the
// milliseconds spent in scan and search, and in LINK DUPL (plan and run).
// Exit status 2 on a usage error.

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "LastProgress.h"
#include "ScanEverything.h"
#include "duplicates/DuplicateFinder.h"

namespace {

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    const char* root = nullptr;
    bool links = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--links") {
            links = true;
        } else if (root == nullptr && !arg.starts_with("--")) {
            root = argv[i];
        } else {
            root = nullptr;
            break;
        }
    }
    if (root == nullptr) {
        std::fprintf(stderr, "usage: %s ROOT [--links]\n", argv[0]);
        return 2;
    }
    folivar::FileTable table;
    folivar::DuplicateFinder finder;
    folivar::bench::LastProgress status;
    folivar::DuplicateFinder::LinkOutcome outcome;
    double searchMs = 0.0;
    double linkMs = 0.0;
    try {
        const auto start = std::chrono::steady_clock::now();
        table = folivar::bench::scanEverything(root);
        finder.search(table, folivar::ProgressSink::silent());
        searchMs = msSince(start);
        const auto plan = finder.planLink(table);
        outcome = finder.linkDuplicates(table, status, links && plan.asksBeforeLinking());
        linkMs = msSince(start) - searchMs;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 2;
    }
    std::printf("%s\nreclaimed %lld\nsearch ms %.1f\nlink ms %.1f\n", status.text.c_str(),
                static_cast<long long>(outcome.reclaimed), searchMs, linkMs);
    return 0;
}
