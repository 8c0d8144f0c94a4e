#pragma once

#include <cstdio>
#include <optional>

namespace folivar {

// What the command line asks before any window is made: --help and
// --version are answered on the terminal, and a start without a display is
// refused with a word on why, instead of the toolkit's abort. Everything
// else (Qt's own options among it) goes on to the window. Returns the exit
// code when the program is to end here.
std::optional<int> answerWithoutWindow(int argc, char* argv[], std::FILE* out, std::FILE* err);

}  // namespace folivar
