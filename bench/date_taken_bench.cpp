// The date taken of 10,000 photos (JPEG with EXIF, a camera's tags and some
// picture data), against `exiftool -fast2 -DateTimeOriginal` and
// `exiv2 -g Exif.Photo.DateTimeOriginal` on the same files, in one run:
// warm (the files in the page cache), and cold when the bench may drop the
// caches (as root). Each round the tools take turns; medians and the ratios
// are printed, and every date read is checked.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "datetaken/DatesTaken.h"
#include "filelist/FileTable.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

namespace {

using bench::median;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kStamp = "2023:04:15 12:34:56";

// One photo as a camera writes it: the EXIF in front, then the picture.
std::string photoTemplate(const std::string& scratch) {
    Exiv2::XmpParser::initialize();
    {
        auto image = Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg, scratch);
        Exiv2::ExifData& exif = image->exifData();
        exif["Exif.Image.Make"] = "Camera";
        exif["Exif.Image.Model"] = "Model 1";
        exif["Exif.Image.Orientation"] = uint16_t(1);
        exif["Exif.Image.DateTime"] = kStamp;
        exif["Exif.Photo.DateTimeOriginal"] = kStamp;
        exif["Exif.Photo.DateTimeDigitized"] = kStamp;
        exif["Exif.Photo.OffsetTimeOriginal"] = "+02:00";
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
        exif["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
        exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(100);
        image->writeMetadata();
    }
    std::string bytes(fs::file_size(scratch), '\0');
    std::ifstream(scratch, std::ios::binary)
        .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    fs::remove(scratch);
    // Picture data after the end of the picture exiv2 made: read by nobody.
    bytes += std::string(60 * 1024, '\x55');
    return bytes;
}

// n photos, each with its own minute of 15 April 2023 in DateTimeOriginal.
folivar::FileTable makePhotos(const std::string& root, std::size_t n) {
    fs::remove_all(root);
    fs::create_directories(root);
    std::string photo = photoTemplate(root + "/template.jpg");
    folivar::FileTable table;
    for (std::size_t i = 0; i < n; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "DSC%05zu.JPG", i);
        std::string bytes = photo;
        for (std::size_t at = bytes.find(kStamp); at != std::string::npos;
             at = bytes.find(kStamp, at + 1)) {
            char stamp[24];
            std::snprintf(stamp, sizeof stamp, "2023:04:15 %02zu:%02zu:00", (i / 60) % 24, i % 60);
            bytes.replace(at, std::strlen(kStamp), stamp);
        }
        std::ofstream(root + "/" + name, std::ios::binary) << bytes;
        table.append(folivar::FileRow{name, root + "/", std::to_string(bytes.size()), "JPG",
                                      "1.1.2024", "0", "-"});
    }
    return table;
}

// Processor time of this process (all its threads) or of its waited-for
// children: the part of a run that is its own on a machine others load too.
double cpuMs(int who) {
    struct rusage usage {};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

struct Run {
    double wall = 0;
    double cpu = 0;
};

bool dropCaches() {
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return static_cast<bool>(drop);
}

Run ours(const folivar::FileTable& table) {
    folivar::DatesTaken dates;
    const double cpuStart = cpuMs(RUSAGE_SELF);
    const auto start = Clock::now();
    dates.readAll(table, folivar::ProgressSink::silent());
    const Run run{std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
                  cpuMs(RUSAGE_SELF) - cpuStart};
    const auto sources = dates.sources(table);
    if (sources[static_cast<std::size_t>(folivar::DateSource::Metadata)] != table.size()) {
        std::fprintf(stderr, "FAIL: only %zu of %zu dates from the metadata\n", sources[0],
                     table.size());
        std::exit(1);
    }
    return run;
}

Run peer(const char* what, const std::function<void()>& child) {
    const double cpuStart = cpuMs(RUSAGE_CHILDREN);
    const double wall = bench::timedChild(what, child);
    return Run{wall, cpuMs(RUSAGE_CHILDREN) - cpuStart};
}

void quiet() {
    const int out = ::open("/dev/null", O_WRONLY);
    ::dup2(out, 1);
    ::dup2(out, 2);
}

Run exiftool(const std::string& root) {
    return peer("exiftool", [&root] {
        quiet();
        ::execlp("exiftool", "exiftool", "-fast2", "-DateTimeOriginal", root.c_str(),
                 static_cast<char*>(nullptr));
    });
}

Run exiv2Tool(const folivar::FileTable& table) {
    std::vector<std::string> args{"exiv2", "-g", "Exif.Photo.DateTimeOriginal"};
    for (const folivar::FileRow& row : table) {
        args.push_back(row.file());
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    return peer("exiv2", [&argv] {
        quiet();
        ::execvp("exiv2", argv.data());
    });
}

struct Timings {
    std::vector<Run> ours, exiftool, exiv2;
};

double medianOf(const std::vector<Run>& runs, double Run::*part) {
    std::vector<double> values;
    for (const Run& run : runs) {
        values.push_back(run.*part);
    }
    return median(values);
}

void report(const char* label, const Timings& t) {
    std::printf("\n%s\n%-38s %12s %12s\n", label, "tool", "median wall", "median cpu");
    const auto row = [](const char* tool, const std::vector<Run>& runs) {
        std::printf("%-38s %9.1f ms %9.1f ms\n", tool, medianOf(runs, &Run::wall),
                    medianOf(runs, &Run::cpu));
    };
    row("folivar (DatesTaken::readAll)", t.ours);
    row("exiftool -fast2 -DateTimeOriginal", t.exiftool);
    row("exiv2 -g Exif.Photo.DateTimeOriginal", t.exiv2);
    const auto ratio = [&t](const std::vector<Run>& peerRuns, double Run::*part) {
        return medianOf(peerRuns, part) / medianOf(t.ours, part);
    };
    std::printf("exiftool / folivar  wall %.2f, cpu %.2f (goal warm: at least 5)\n",
                ratio(t.exiftool, &Run::wall), ratio(t.exiftool, &Run::cpu));
    std::printf("exiv2 / folivar     wall %.2f, cpu %.2f (goal: at least 1)\n",
                ratio(t.exiv2, &Run::wall), ratio(t.exiv2, &Run::cpu));
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const char* tmp = std::getenv("TMPDIR");
    const std::string root = std::string(tmp && *tmp ? tmp : "/var/tmp") + "/folivar-dates-bench-" +
                             std::to_string(::getpid());
    const folivar::FileTable table = makePhotos(root, n);
    std::printf(
        "date taken of %zu photos of %s bytes, %d rounds, tools taking turns; "
        "folivar reads on %d threads\n",
        n, table[0].Size.c_str(), rounds, folivar::DatesTaken::defaultThreads());

    Timings warm;
    ours(table);  // into the page cache
    for (int round = 0; round < rounds; ++round) {
        warm.ours.push_back(ours(table));
        warm.exiftool.push_back(exiftool(root));
        warm.exiv2.push_back(exiv2Tool(table));
    }
    report("warm", warm);

    if (dropCaches()) {
        Timings cold;
        for (int round = 0; round < rounds; ++round) {
            dropCaches();
            cold.ours.push_back(ours(table));
            dropCaches();
            cold.exiftool.push_back(exiftool(root));
            dropCaches();
            cold.exiv2.push_back(exiv2Tool(table));
        }
        report("cold (page cache dropped before each run)", cold);
    } else {
        std::printf("\ncold: not measured (dropping the page cache needs root)\n");
    }
    fs::remove_all(root);
    std::printf("\nevery run of folivar: every date read from the metadata\n");
    return 0;
}
