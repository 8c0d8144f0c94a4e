// The preview of RENAME over 200,000 rows, against perl rename's dry run
// (`rename -n`, which prints what it would do and touches nothing) on the
// same names, in one run: rows of one folder, and rows spread over 2,000
// folders of 100. Each round the tools take turns; medians and the ratio are
// printed, and every preview is checked row by row.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "filelist/FileTable.h"
#include "renaming/NamePreview.h"

namespace {

using bench::median;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string oldName(std::size_t i) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "f%06zu.jpg", i);
    return buffer;
}

// n empty files, perFolder to a folder; their rows in list order.
folivar::FileTable makeTree(const std::string& root, std::size_t n, std::size_t perFolder) {
    fs::remove_all(root);
    folivar::FileTable table;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string folder = root + "/d" + std::to_string(i / perFolder) + "/";
        if (i % perFolder == 0) {
            fs::create_directories(folder);
        }
        const int fd = ::open((folder + oldName(i)).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) {
            std::perror("create");
            std::exit(2);
        }
        ::close(fd);
        table.append(folivar::FileRow{oldName(i), folder, "0", "jpg", "1.1.2001", "0", "-"});
    }
    return table;
}

const folivar::RenameSettings kSettings{
    folivar::RenameKind::Rename,
    folivar::NamingScheme{"pic", folivar::FileStructure::PrefixCounter, 6, 1},
    {}};

double cpuMs() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The preview's processor time, summed over the rounds: the part of the wall
// time that is its own on a machine others load too.
std::vector<double> previewCpu;

double preview(const folivar::FileTable& table) {
    const double cpuStart = cpuMs();
    const auto start = Clock::now();
    const std::vector<folivar::PreviewRow> rows = folivar::previewRows(table, kSettings);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    previewCpu.push_back(cpuMs() - cpuStart);
    char expected[32];
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::snprintf(expected, sizeof expected, "pic%06zu.jpg", i + 1);
        if (std::strcmp(rows[i].status, folivar::kRenamed) != 0 ||
            rows[i].newPath != table[i].Path + expected) {
            std::fprintf(stderr, "FAIL: row %zu: %s %s\n", i, rows[i].status,
                         rows[i].newPath.c_str());
            std::exit(1);
        }
    }
    return ms;
}

// perl rename -n reads the paths from its standard input, in list order.
double perlDryRun(const folivar::FileTable& table, const std::string& root) {
    const std::string list = root + ".list";
    {
        std::ofstream out(list);
        for (const folivar::FileRow& row : table) {
            out << row.Path << row.FileName << '\n';
        }
    }
    const double ms = bench::timedChild("rename -n", [&list] {
        const int in = ::open(list.c_str(), O_RDONLY);
        const int out = ::open("/dev/null", O_WRONLY);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execlp("rename", "rename", "-n", "our $i; s{[^/]*$}{sprintf(\"pic%06d.jpg\", ++$i)}e",
                 static_cast<char*>(nullptr));
    });
    fs::remove(list);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const char* tmp = std::getenv("TMPDIR");
    const std::string root = std::string(tmp && *tmp ? tmp : "/tmp") + "/folivar-preview-bench-" +
                             std::to_string(::getpid());
    std::printf("previewing RENAME over %zu rows, %d rounds, tools taking turns\n", n, rounds);
    bool allMet = true;
    for (const std::size_t perFolder : {n, std::size_t{100}}) {
        const folivar::FileTable table = makeTree(root, n, perFolder);
        std::vector<double> ours;
        std::vector<double> perl;
        for (int round = 0; round < rounds; ++round) {
            if (round % 2 == 0) {
                ours.push_back(preview(table));
                perl.push_back(perlDryRun(table, root));
            } else {
                perl.push_back(perlDryRun(table, root));
                ours.push_back(preview(table));
            }
        }
        const double mine = median(ours);
        const double theirs = median(perl);
        std::printf("\n%zu rows per folder\n%-16s %10s %10s %10s\n", perFolder, "tool", "median ms",
                    "min", "max");
        std::printf("%-16s %10.1f %10.1f %10.1f\n", "preview", mine,
                    *std::min_element(ours.begin(), ours.end()),
                    *std::max_element(ours.begin(), ours.end()));
        std::printf("%-16s %10.1f %10.1f %10.1f\n", "perl rename -n", theirs,
                    *std::min_element(perl.begin(), perl.end()),
                    *std::max_element(perl.begin(), perl.end()));
        std::printf("preview processor time, median %.1f ms\n", median(previewCpu));
        previewCpu.clear();
        std::printf("preview / perl rename -n  %.2f\n", mine / theirs);
        std::printf("preview under 1000 ms    %s\n", mine < 1000 ? "met" : "MISSED");
        allMet = allMet && mine < 1000;
    }
    fs::remove_all(root);
    std::printf("\nevery round: every row's new path and outcome checked\n");
    return allMet ? 0 : 1;
}
