#pragma once

#include <string>

#include "platform/FileStatus.h"

namespace folivar::platform {

// Hears of each folder FileSystem::makeFolders makes, before and after, so a
// journal can write a folder down before it exists.
class FolderMaking {
public:
    virtual ~FolderMaking() = default;

    // The folder at path (with its trailing "/") is missing and made next.
    virtual void before(const std::string& path) = 0;
    // What came of it: its status once made, or nullptr when this call did
    // not make it (someone else did meanwhile, or it could not be made).
    virtual void after(const std::string& path, const FileStatus* made) = 0;
};

}  // namespace folivar::platform
