#include "app/CommandLine.h"

#include <cstdlib>
#include <string_view>

namespace folivar {

namespace {

constexpr const char* kUsage =
    "Usage: folivar [Qt options]\n"
    "\n"
    "Mirosel Folivar lists the files of many folders by wildcard masks and filters,\n"
    "lets you order and prune the list, and then renames, moves, de-duplicates,\n"
    "deletes or exports every listed file in one go. It is a desktop program: it\n"
    "needs a graphical session (X11 or Wayland).\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and end\n"
    "  -v, --version  show the version and end\n"
    "\n"
    "Qt's own options, such as -platform, are passed on to Qt.\n";

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

std::optional<int> answerWithoutWindow(int argc, char* argv[], std::FILE* out, std::FILE* err) {
    bool platformGiven = isSet("QT_QPA_PLATFORM");
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, out);
            return 0;
        }
        if (argument == "--version" || argument == "-v") {
            std::fputs("Mirosel Folivar " FOLIVAR_VERSION "\n", out);
            return 0;
        }
        platformGiven = platformGiven || argument == "-platform" || argument == "--platform";
    }
    if (!platformGiven && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        std::fputs(
            "folivar: no graphical session was found (neither DISPLAY nor WAYLAND_DISPLAY is "
            "set).\nMirosel Folivar is a desktop program: start it from a desktop session.\n",
            err);
        return 1;
    }
    return std::nullopt;
}

}  // namespace folivar
