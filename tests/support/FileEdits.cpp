#include "support/FileEdits.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace folivar::test {

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

void saveAsEditorsDo(const std::string& path, const std::string& contents) {
    const std::string temporary = path + ".swp";
    std::ofstream(temporary, std::ios::binary) << contents;
    ASSERT_EQ(std::rename(temporary.c_str(), path.c_str()), 0) << path;
}

void editInPlaceKeepingTheTime(const std::string& path, const std::string& bytes,
                               std::size_t offset) {
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0) << path;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << path;
    // The change time comes from a coarse clock: the edit is made again until
    // that clock has moved past the time the file had.
    struct stat after = before;
    while (after.st_ctim.tv_sec == before.st_ctim.tv_sec &&
           after.st_ctim.tv_nsec == before.st_ctim.tv_nsec) {
        EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
                  static_cast<ssize_t>(bytes.size()));
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        EXPECT_EQ(::futimens(fd, times), 0);
        ASSERT_EQ(::fstat(fd, &after), 0) << path;
        if (after.st_ctim.tv_sec == before.st_ctim.tv_sec &&
            after.st_ctim.tv_nsec == before.st_ctim.tv_nsec) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ::close(fd);
}

}  // namespace folivar::test
