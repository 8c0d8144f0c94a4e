#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "duplicates/FileIdentity.h"

namespace folivar {

// What LINK DUPL made of one "Dupl" row; also its Status text.
enum class LinkResult : std::uint8_t {
    Shared,    // its data is stored once with its "Orig"'s, the file its own
    Linked,    // its name is another name of its "Orig"
    Remained,  // left as it was
};

const char* linkResultText(LinkResult result);

// One step of LINK DUPL over one row, told before anything is changed.
struct LinkStep {
    enum class Kind : std::uint8_t { Share, Link };
    std::size_t row = 0;
    Kind kind = Kind::Share;
    std::string duplicate;  // the "Dupl" file
    std::string original;   // its group's "Orig"
    // Link: the hidden name beside the duplicate under which the link to the
    // original is made, and to which the duplicate is then taken out. A
    // step killed halfway leaves at most this name behind, holding either.
    std::string aside;
    // Both as the search compared them.
    FileIdentity duplicateFile;
    FileIdentity originalFile;
};

// Hears of every step of LINK DUPL as it is made, so that a journal can
// write down what is about to change before it does: a step it could not
// write down (before returns false) is not made.
class LinkRecorder {
public:
    virtual ~LinkRecorder() = default;
    virtual bool before(const LinkStep& step) = 0;
    virtual void after(const LinkStep& step, LinkResult result) = 0;

    // One that keeps nothing.
    static LinkRecorder& none();
};

}  // namespace folivar
