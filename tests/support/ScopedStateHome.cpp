#include "support/ScopedStateHome.h"

namespace folivar::test {

ScopedStateHome::ScopedStateHome() : tree_("/tmp"), variable_("XDG_STATE_HOME", tree_.path()) {}

}  // namespace folivar::test
