#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace folivar {

// Receives each status line text a list command writes.
using StatusSink = std::function<void(const std::string&)>;

// What a list command shows while it works.
inline constexpr const char* kPleaseWait = "Please wait...";

// "<rows> files in list": the status a list command ends with.
std::string filesInListText(std::size_t rowCount);

// The action buttons after rows went. A command that removes rows only ever
// disables: a button that another operation disabled stays so, however many
// rows remain.
struct ButtonsAfterRemoval {
    bool disableRename = false;    // fewer than 1 row left
    bool disableFindDupl = false;  // fewer than 2 rows left
};

ButtonsAfterRemoval buttonsAfterRemoval(std::size_t rowCount);

// Calls sink with text when there is a sink.
void report(const StatusSink& sink, const std::string& text);

}  // namespace folivar
