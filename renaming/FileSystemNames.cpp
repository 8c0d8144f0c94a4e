#include "renaming/FileSystemNames.h"

#include "platform/FileSystem.h"

namespace folivar {

namespace {

class MadeFolders : public platform::FolderMaking {
public:
    explicit MadeFolders(std::vector<std::string>& made) : made_(made) {}
    void before(const std::string&) override {}
    void after(const std::string& path, const platform::FileStatus* made) override {
        if (made != nullptr) {
            made_.push_back(path);
        }
    }

private:
    std::vector<std::string>& made_;
};

}  // namespace

bool FileSystemNames::fileExists(const std::string& path) {
    return platform::fileSystem().fileExists(path);
}

bool FileSystemNames::move(std::size_t, const std::string& from, const std::string& to) {
    return platform::fileSystem().moveFile(from, to, *stop_);
}

bool FileSystemNames::moveSide(std::size_t, const std::string& from, const std::string& to) {
    return platform::fileSystem().moveFile(from, to);
}

bool FileSystemNames::makeFolders(const std::string& folder, std::size_t kept,
                                  std::vector<std::string>& made) {
    MadeFolders listener(made);
    return platform::fileSystem().makeFolders(folder, kept, &listener);
}

}  // namespace folivar
