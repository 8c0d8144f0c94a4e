#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "duplicates/ClassifiedFile.h"
#include "duplicates/FileIdentity.h"
#include "platform/FileReader.h"

namespace folivar {

// The physical files behind one set of paths, one member each: the paths
// that lead to one file (links, the same path twice) share its member and so
// its class.
class PhysicalFiles {
public:
    struct Member {
        std::string path;
        FileIdentity identity;
        std::unique_ptr<platform::FileReader> reader;
        std::int64_t position = 0;  // bytes read through reader
        std::size_t openSlot = 0;   // where it stands among the open readers while reader is set
        bool pinned = false;        // its reader must stay open for the pass under way
        bool failed = false;
        int contentClass = ClassifiedFile::kNone;
    };

    // Looks up every path; one that is not a regular file gets no member.
    void gather(const std::vector<std::string>& paths);

    std::size_t size() const { return members_.size(); }
    Member& operator[](std::size_t m) { return members_[m]; }
    const Member& operator[](std::size_t m) const { return members_[m]; }
    std::size_t indexOf(const Member& member) const {
        return static_cast<std::size_t>(&member - members_.data());
    }

    // One per path gathered, in the same order.
    std::vector<ClassifiedFile> results() const;

    // Closes what the members hold.
    void clear() { members_.clear(); }

private:
    std::vector<Member> members_;
    std::vector<std::size_t> memberOf_;  // per path; SIZE_MAX: none
};

}  // namespace folivar
