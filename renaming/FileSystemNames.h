#pragma once

#include "platform/StopQuery.h"
#include "renaming/NameOracle.h"

namespace folivar {

// The names as the file system has them, and its never-replacing move; a
// copy to another file system is abandoned when stop asks for it.
class FileSystemNames : public NameOracle {
public:
    explicit FileSystemNames(platform::StopQuery& stop = platform::StopQuery::never())
        : stop_(&stop) {}

    // The query a copy asks from now on.
    void stopWhen(platform::StopQuery& stop) { stop_ = &stop; }

    bool fileExists(const std::string& path) override;
    bool move(std::size_t row, const std::string& from, const std::string& to) override;
    bool moveSide(std::size_t k, const std::string& from, const std::string& to) override;
    bool makeFolders(const std::string& folder, std::size_t kept,
                     std::vector<std::string>& made) override;

private:
    platform::StopQuery* stop_;
};

}  // namespace folivar
