// Moves 1 GiB from one file system to another, through the engine's move and
// with coreutils `mv`, on the same files, in one run: once as one file, once
// as 256 files of 4 MiB. Two tmpfs mounts hold the data (needs the right to
// mount), so the disk plays no part and both tools copy the same bytes; each
// run moves the data to the other mount, the tools taking turns. Every run is
// checked: the source is gone and each file arrived whole. Prints medians and
// the ratio to mv.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "platform/FileSystem.h"

namespace {

using bench::median;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::int64_t kTotal = std::int64_t{1} << 30;

struct Shape {
    const char* name;
    int files;
};

std::string fileName(int i) {
    return "part" + std::to_string(i) + ".bin";
}

// The words of file i at offset: every block differs from every other.
void fill(std::vector<std::uint64_t>& block, int file, std::int64_t offset) {
    std::uint64_t x = (static_cast<std::uint64_t>(file) << 40) ^ static_cast<std::uint64_t>(offset);
    for (auto& word : block) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        word = x;
    }
}

void makeFiles(const std::string& folder, int files) {
    fs::create_directories(folder);
    const std::int64_t size = kTotal / files;
    std::vector<std::uint64_t> block(1 << 17);  // 1 MiB
    const auto blockBytes = static_cast<std::int64_t>(block.size() * sizeof block[0]);
    for (int i = 0; i < files; ++i) {
        const int fd = ::open((folder + "/" + fileName(i)).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        for (std::int64_t at = 0; at < size; at += blockBytes) {
            fill(block, i, at);
            const auto n = static_cast<std::size_t>(std::min(blockBytes, size - at));
            if (fd < 0 || ::write(fd, block.data(), n) != static_cast<ssize_t>(n)) {
                std::perror("make");
                std::exit(2);
            }
        }
        ::close(fd);
    }
}

// Every file is in `to`, none left in `from`, and each holds what was made
// (its size, and its first and last blocks checked word for word).
bool verify(const std::string& from, const std::string& to, int files) {
    if (!fs::is_empty(from)) {
        std::fprintf(stderr, "FAIL: %s is not empty\n", from.c_str());
        return false;
    }
    const std::int64_t size = kTotal / files;
    std::vector<std::uint64_t> expected(1 << 17);
    std::vector<std::uint64_t> actual(expected.size());
    const auto blockBytes = static_cast<std::int64_t>(expected.size() * sizeof expected[0]);
    for (int i = 0; i < files; ++i) {
        const std::string path = to + "/" + fileName(i);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        bool ok = fd >= 0 && ::fstat(fd, &st) == 0 && st.st_size == size;
        for (const std::int64_t at : {std::int64_t{0}, size - blockBytes}) {
            fill(expected, i, at);
            ok = ok &&
                 ::pread(fd, actual.data(), static_cast<std::size_t>(blockBytes), at) ==
                     blockBytes &&
                 std::memcmp(expected.data(), actual.data(),
                             static_cast<std::size_t>(blockBytes)) == 0;
        }
        if (fd >= 0) {
            ::close(fd);
        }
        if (!ok) {
            std::fprintf(stderr, "FAIL: %s did not arrive whole\n", path.c_str());
            return false;
        }
    }
    return true;
}

double engine(const std::string& from, const std::string& to, int files) {
    auto& fileSystem = folivar::platform::fileSystem();
    const auto start = Clock::now();
    for (int i = 0; i < files; ++i) {
        if (!fileSystem.moveFile(from + "/" + fileName(i), to + "/" + fileName(i))) {
            std::fprintf(stderr, "FAIL: the engine did not move %s\n", fileName(i).c_str());
            std::exit(1);
        }
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// mv FROM/part0.bin ... TO/ in one process, as a person would type it.
double mv(const std::string& from, const std::string& to, int files) {
    std::vector<std::string> args{"mv"};
    for (int i = 0; i < files; ++i) {
        args.push_back(from + "/" + fileName(i));
    }
    args.push_back(to + "/");
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    return bench::timedChild("mv", [&argv] { ::execvp("mv", argv.data()); });
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const char* tmp = std::getenv("TMPDIR");
    const std::string scratch = std::string(tmp && *tmp ? tmp : "/tmp") + "/folivar-move-bench-" +
                                std::to_string(::getpid());
    const std::string mounts[2] = {scratch + "/a", scratch + "/b"};
    for (const auto& where : mounts) {
        fs::create_directories(where);
        if (::mount("tmpfs", where.c_str(), "tmpfs", 0, "size=1100m") != 0) {
            std::perror("mount tmpfs (the bench needs the right to mount)");
            return 2;
        }
    }
    std::printf("moving 1 GiB between two tmpfs mounts, %d rounds per tool and shape\n", rounds);
    const Shape shapes[] = {{"1 file of 1 GiB", 1}, {"256 files of 4 MiB", 256}};
    for (const Shape& shape : shapes) {
        makeFiles(mounts[0], shape.files);
        int at = 0;  // the mount holding the files
        std::vector<double> times[2];
        for (int round = 0; round < rounds; ++round) {
            for (int k = 0; k < 2; ++k) {
                const int tool = (k + round) % 2;
                const std::string& from = mounts[at];
                const std::string& to = mounts[1 - at];
                times[tool].push_back(tool == 0 ? engine(from, to, shape.files)
                                                : mv(from, to, shape.files));
                if (!verify(from, to, shape.files)) {
                    return 1;
                }
                at = 1 - at;
            }
        }
        for (const auto& entry : fs::directory_iterator(mounts[at])) {
            fs::remove(entry.path());
        }
        const double ours = median(times[0]);
        const double theirs = median(times[1]);
        std::printf("\n%s\n%-8s %10s %10s %10s\n", shape.name, "tool", "median ms", "min", "max");
        for (int tool = 0; tool < 2; ++tool) {
            std::printf("%-8s %10.1f %10.1f %10.1f\n", tool == 0 ? "engine" : "mv",
                        median(times[tool]),
                        *std::min_element(times[tool].begin(), times[tool].end()),
                        *std::max_element(times[tool].begin(), times[tool].end()));
        }
        std::printf("engine / mv  %.2f   goal <= 1.2  %s\n", ours / theirs,
                    ours / theirs <= 1.2 ? "met" : "MISSED");
        std::fflush(stdout);
    }
    for (const auto& where : mounts) {
        ::umount2(where.c_str(), MNT_DETACH);
    }
    fs::remove_all(scratch);
    std::printf(
        "\nevery run: the source emptied, every file arrived whole (size, first and last MiB)\n");
    return 0;  // a missed goal is reported, not failed
}
