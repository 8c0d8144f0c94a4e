#include "support/ScopedStateHome.h"

#include <stdlib.h>

namespace folivar::test {

ScopedStateHome::ScopedStateHome() : tree_("/tmp") {
    if (const char* value = ::getenv("XDG_STATE_HOME")) {
        previous_ = value;
    }
    ::setenv("XDG_STATE_HOME", tree_.path().c_str(), 1);
}

ScopedStateHome::~ScopedStateHome() {
    if (previous_) {
        ::setenv("XDG_STATE_HOME", previous_->c_str(), 1);
    } else {
        ::unsetenv("XDG_STATE_HOME");
    }
}

}  // namespace folivar::test
