// The export's "is there a spreadsheet program?" check, as the window pays for
// it, against the helper it used to run: `xdg-mime query default` for the
// .xlsx type. Both read the same made-up desktop (XDG folders in a scratch
// folder: a few hundred program entries) and must name the same program, once
// with the user's default in mimeapps.list and once without one (then both
// look through the entries). Runs interleaved; prints medians and the ratio.
// Usage: spreadsheet_check_bench [--entries N] [--runs N]
#include <spawn.h>
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
#include "platform/DesktopApplications.h"

extern char** environ;

namespace {

using bench::median;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kXlsx = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// Programs of every kind, a few of which open workbooks; the user may have
// chosen one.
void makeDesktop(const fs::path& root, int entries, bool withDefault) {
    const char* kinds[] = {"image/png;image/jpeg;", "text/plain;text/x-csrc;",
                           "audio/mpeg;audio/ogg;", "application/pdf;", "video/mp4;"};
    for (int i = 0; i < entries; ++i) {
        std::string types = kinds[i % 5];
        if (i % 97 == 0) {
            types += kXlsx + ";";
        }
        write(root / "share/applications" / ("program" + std::to_string(i) + ".desktop"),
              "[Desktop Entry]\nType=Application\nName=Program " + std::to_string(i) +
                  "\nComment=Does things\nExec=/bin/true --program " + std::to_string(i) +
                  " %F\nIcon=program\nCategories=Utility;\nMimeType=" + types + "\n");
    }
    if (withDefault) {
        write(root / "config/mimeapps.list",
              "[Default Applications]\n" + kXlsx +
                  "=program97.desktop\ntext/plain=program1.desktop\n");
    }
}

std::string runXdgMime() {
    int out[2];
    if (::pipe(out) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string type = kXlsx;
    char* argv[] = {const_cast<char*>("xdg-mime"), const_cast<char*>("query"),
                    const_cast<char*>("default"), type.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-mime", &actions, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "cannot run xdg-mime (Debian: xdg-utils)\n");
        std::exit(2);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string answer;
    char buffer[256];
    ssize_t n = 0;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) {
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == ' ')) {
        answer.pop_back();
    }
    return answer;
}

}  // namespace

int main(int argc, char** argv) {
    int entries = 400;
    int runs = 15;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--entries") == 0) {
            entries = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::atoi(argv[i + 1]);
        }
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/folivar-mime-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const fs::path root = pattern;
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (root / "etc").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root / "home").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (root / "share").c_str(), 1);
    ::unsetenv("XDG_CURRENT_DESKTOP");
    ::unsetenv("DESKTOP_SESSION");

    int disagreements = 0;
    bool missed = false;
    std::printf("spreadsheet check, %d program entries, %d runs each (medians)\n", entries, runs);
    for (const bool withDefault : {true, false}) {
        fs::remove_all(root / "config");
        makeDesktop(root, entries, withDefault);
        std::vector<double> ours;
        std::vector<double> peer;
        for (int run = 0; run < runs; ++run) {
            // A new object each time: it reads every entry, as the first check does.
            auto start = Clock::now();
            const std::string found = folivar::platform::DesktopApplications(
                                          folivar::platform::XdgDirectories::fromEnvironment())
                                          .applicationFor({kXlsx});
            ours.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());

            start = Clock::now();
            const std::string answered = runXdgMime();
            peer.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            if (found != answered) {
                std::fprintf(stderr, "disagree: ours \"%s\", xdg-mime \"%s\"\n", found.c_str(),
                             answered.c_str());
                ++disagreements;
            }
        }
        const double oursMs = median(ours);
        const double peerMs = median(peer);
        missed = missed || oursMs >= 100.0;
        std::printf("%s\n", withDefault ? "the user's default in mimeapps.list:"
                                        : "no default, the entries looked through:");
        std::printf("  DesktopApplications::applicationFor  %8.2f ms\n", oursMs);
        std::printf("  xdg-mime query default               %8.2f ms\n", peerMs);
        std::printf("  ratio xdg-mime / ours                %8.1f\n", peerMs / oursMs);
    }
    fs::remove_all(root);
    std::printf("goal: well under 100 ms: %s\n", missed ? "MISSED" : "met");
    return disagreements == 0 ? 0 : 1;
}
