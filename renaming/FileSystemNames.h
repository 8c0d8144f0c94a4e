#pragma once

#include "renaming/NameOracle.h"

namespace folivar {

// The names as the file system has them, and its never-replacing move.
class FileSystemNames : public NameOracle {
public:
    bool fileExists(const std::string& path) override;
    bool move(std::size_t row, const std::string& from, const std::string& to) override;
    bool moveSide(std::size_t k, const std::string& from, const std::string& to) override;
    bool makeFolders(const std::string& folder, std::size_t kept,
                     std::vector<std::string>& made) override;
};

}  // namespace folivar
