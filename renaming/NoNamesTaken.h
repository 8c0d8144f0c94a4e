#pragma once

#include "renaming/NameOracle.h"

namespace folivar {

// No name is taken, and nothing moves: the plan of a row as it would be in an
// empty folder, the destination a batch expects before it starts.
class NoNamesTaken : public NameOracle {
public:
    bool fileExists(const std::string&) override { return false; }
    bool move(std::size_t, const std::string&, const std::string&) override { return false; }
    bool moveSide(std::size_t, const std::string&, const std::string&) override { return false; }
    bool makeFolders(const std::string&, std::size_t, std::vector<std::string>&) override {
        return false;
    }
};

}  // namespace folivar
