// export_bench [--rows N] [--runs N]
//
// Times the spreadsheet export of a synthetic file list (SyntheticFileList.h)
// against writing the same cells as CSV with plain stdio, the floor, and
// reports each one's memory. Every run is a child process of its own: it
// builds the list, resets its peak resident set (/proc/self/clear_refs), runs
// the variant and reports how far the peak rose above what the list took
// (VmHWM against VmRSS), besides its whole peak (ru_maxrss), which building
// the list may set. A third variant only builds the list. The variants run
// interleaved, the order rotated every round. Output goes to a scratch folder
// in TMPDIR (or /tmp), removed at the end.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "BenchTiming.h"
#include "ExportVariants.h"
#include "SyntheticFileList.h"

namespace {

using bench::median;

using folivar::bench::VariantResult;
using Clock = std::chrono::steady_clock;

enum class Variant { List, Csv, Xlsx };
constexpr Variant kVariants[] = {Variant::List, Variant::Csv, Variant::Xlsx};

const char* nameOf(Variant v) {
    return v == Variant::List ? "list only" : v == Variant::Csv ? "csv (floor)" : "xlsx export";
}

struct Run {
    double buildMs = 0;  // making the list
    double writeMs = 0;  // the export or the CSV, file closed
    double peakMiB = 0;  // ru_maxrss of the whole child
    double riseMiB = 0;  // peak while writing, above the list's resident set
    double fileMiB = 0;
};

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A "VmRSS:"-style line of /proc/self/status, in KiB.
double statusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::strtod(line.c_str() + std::strlen(key), nullptr);
        }
    }
    throw std::runtime_error(std::string("no ") + key + " in /proc/self/status");
}

// The peak resident set starts again from the current one.
void resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    if (!clear.flush()) {
        throw std::runtime_error("cannot reset the peak resident set");
    }
}

// The child: builds the list, runs the variant, reports on the pipe, removes
// what it wrote.
[[noreturn]] void child(Variant variant, std::size_t rows, const std::string& scratch, int fd) {
    try {
        const auto built = Clock::now();
        const folivar::FileTable table = folivar::bench::syntheticFileList(rows);
        const double buildMs = msSince(built);
        resetPeak();
        const double listKiB = statusKiB("VmRSS:");
        const auto started = Clock::now();
        VariantResult result;
        if (variant == Variant::Csv) {
            result = folivar::bench::writeCsv(table, scratch);
        } else if (variant == Variant::Xlsx) {
            result = folivar::bench::exportWorkbook(table);
        }
        const double writeMs = msSince(started);
        const double riseKiB = statusKiB("VmHWM:") - listKiB;
        char line[128];
        const int length =
            std::snprintf(line, sizeof line, "%.3f %.3f %.0f %llu\n", buildMs, writeMs, riseKiB,
                          static_cast<unsigned long long>(result.fileBytes));
        if (length <= 0 || ::write(fd, line, static_cast<std::size_t>(length)) != length) {
            std::_Exit(3);
        }
        if (!result.file.empty()) {
            std::filesystem::remove(result.file);
            if (variant == Variant::Xlsx) {
                std::filesystem::remove(std::filesystem::path(result.file).parent_path());
            }
        }
        std::_Exit(0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", nameOf(variant), e.what());
        std::_Exit(2);
    }
}

Run runOnce(Variant variant, std::size_t rows, const std::string& scratch) {
    int fds[2];
    if (::pipe(fds) != 0) {
        throw std::runtime_error("pipe");
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork");
    }
    if (pid == 0) {
        ::close(fds[0]);
        child(variant, rows, scratch, fds[1]);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[256];
    for (ssize_t got = 0; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    int status = 0;
    struct rusage usage {};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(std::string(nameOf(variant)) + " run failed");
    }
    Run run;
    unsigned long long bytes = 0;
    if (std::sscanf(text.c_str(), "%lf %lf %lf %llu", &run.buildMs, &run.writeMs, &run.riseMiB,
                    &bytes) != 4) {
        throw std::runtime_error("no result from " + std::string(nameOf(variant)));
    }
    run.riseMiB /= 1024.0;
    run.fileMiB = static_cast<double>(bytes) / 1048576.0;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB on Linux
    return run;
}

template <typename Field>
std::vector<double> column(const std::vector<Run>& runs, Field field) {
    std::vector<double> values;
    for (const Run& run : runs) {
        values.push_back(run.*field);
    }
    return values;
}

std::string machine() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, model = "?";
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    double load[1] = {0};
    ::getloadavg(load, 1);
    char text[256];
    std::snprintf(text, sizeof text, "%s, %ld cpus, load %.2f", model.c_str(),
                  ::sysconf(_SC_NPROCESSORS_ONLN), load[0]);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t rows = 200000;
    int runs = 7;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        if (option == "--rows") {
            rows = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (option == "--runs") {
            runs = std::atoi(argv[i + 1]);
        }
    }
    if (argc % 2 == 0 || rows == 0 || runs < 1) {
        std::fprintf(stderr, "usage: %s [--rows N] [--runs N]\n", argv[0]);
        return 2;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/folivar-export-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::string scratch = pattern;
    ::setenv("TMPDIR", scratch.c_str(), 1);  // the workbooks go there too

    std::vector<Run> results[3];
    try {
        runOnce(Variant::Xlsx, rows, scratch);  // warm-up, untimed
        for (int round = 0; round < runs; ++round) {
            for (int k = 0; k < 3; ++k) {
                const auto v = static_cast<std::size_t>((round + k) % 3);
                results[v].push_back(runOnce(kVariants[v], rows, scratch));
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "export_bench: %s\n", e.what());
        std::filesystem::remove_all(scratch);
        return 1;
    }
    std::filesystem::remove_all(scratch);

    const std::time_t now = std::time(nullptr);
    char date[64];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S UTC", std::gmtime(&now));
    std::printf("date      %s\nmachine   %s\n", date, machine().c_str());
    std::printf("list      %zu rows x 7 cells (synthetic, seed 20240611)\n", rows);
    std::printf("runs      %d per variant, interleaved, after one warm-up; libxlsxwriter %s\n\n",
                runs, LXW_VERSION);
    std::printf("%-12s %10s %9s %9s %10s %14s %9s\n", "variant", "median ms", "min", "max",
                "rise MiB", "child peak MiB", "file MiB");
    for (std::size_t v = 0; v < 3; ++v) {
        const auto times = column(results[v], &Run::writeMs);
        std::printf("%-12s %10.1f %9.1f %9.1f %10.1f %14.1f %9.1f\n", nameOf(kVariants[v]),
                    median(times), *std::min_element(times.begin(), times.end()),
                    *std::max_element(times.begin(), times.end()),
                    median(column(results[v], &Run::riseMiB)),
                    median(column(results[v], &Run::peakMiB)),
                    median(column(results[v], &Run::fileMiB)));
    }
    const auto ratio = [&](double Run::*field) {
        return median(column(results[2], field)) / median(column(results[1], field));
    };
    std::printf(
        "\nbuilding the list: median %.1f ms, not timed above; rise: the peak resident\n"
        "set while writing, above the list's own (medians)\n",
        median(column(results[0], &Run::buildMs)));
    std::printf("\nratio xlsx/csv     time %.2f   rise %.2f   child peak %.2f\n",
                ratio(&Run::writeMs), ratio(&Run::riseMiB), ratio(&Run::peakMiB));
    return 0;
}
