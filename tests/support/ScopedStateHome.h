#pragma once

#include <string>

#include "support/ScopedVariable.h"
#include "support/TempTree.h"

namespace folivar::test {

// XDG_STATE_HOME points into a fresh temporary folder for the life of the
// object and back where it was afterwards: the undo journal of whatever runs
// meanwhile is kept there, never in the user's own state folder. The folder is
// not made in $TMPDIR: tests point that at a folder the program must leave empty.
class ScopedStateHome {
public:
    ScopedStateHome();
    ScopedStateHome(const ScopedStateHome&) = delete;
    ScopedStateHome& operator=(const ScopedStateHome&) = delete;

    // The state folder (XDG_STATE_HOME itself).
    const std::string& path() const { return tree_.path(); }
    // The program's folder in it, where its journal lives.
    std::string journalFolder() const { return tree_.path() + "/folivar"; }

private:
    TempTree tree_;
    ScopedVariable variable_;
};

}  // namespace folivar::test
