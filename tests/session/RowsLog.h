#pragma once

#include <string>
#include <vector>

#include "session/RowsObserver.h"

namespace folivar::test {

// Records what the observer hears: "rows about to change", "rows changed",
// "cells changed", in order.
class RowsLog : public RowsObserver {
public:
    std::vector<std::string> heard;

    void rowsAboutToChange() override { heard.emplace_back("rows about to change"); }
    void rowsChanged() override { heard.emplace_back("rows changed"); }
    void cellsChanged() override { heard.emplace_back("cells changed"); }
};

}  // namespace folivar::test
