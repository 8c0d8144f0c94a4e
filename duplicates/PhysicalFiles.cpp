#include "duplicates/PhysicalFiles.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <tuple>
#include <utility>

#include "platform/FileSystem.h"

namespace folivar {

// Paths lead to one physical file when they share its inode on one device, or
// its size and times on another.
void PhysicalFiles::gather(const std::vector<std::string>& paths) {
    members_.clear();
    memberOf_.assign(paths.size(), SIZE_MAX);
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::size_t> byInode;
    using State = std::tuple<std::int64_t, std::int32_t, std::int64_t, std::int32_t>;
    std::map<State, std::vector<std::size_t>> byState;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        platform::FileStatus status;
        if (!platform::fileSystem().status(paths[i], true, status) || !status.isRegular()) {
            continue;
        }
        const FileIdentity identity = FileIdentity::of(status);
        const auto [slot, fresh] = byInode.try_emplace({identity.device, identity.inode}, 0);
        if (!fresh) {
            memberOf_[i] = slot->second;
            continue;
        }
        auto& sameState = byState[State{identity.modified.seconds, identity.modified.nanoseconds,
                                        identity.changed.seconds, identity.changed.nanoseconds}];
        const auto known = std::find_if(sameState.begin(), sameState.end(), [&](std::size_t m) {
            return members_[m].identity.samePhysicalFile(identity);
        });
        if (known != sameState.end()) {
            memberOf_[i] = slot->second = *known;
            continue;
        }
        memberOf_[i] = slot->second = members_.size();
        sameState.push_back(members_.size());
        members_.push_back(Member{paths[i], identity, nullptr});
    }
}

std::vector<ClassifiedFile> PhysicalFiles::results() const {
    std::vector<ClassifiedFile> results(memberOf_.size());
    for (std::size_t i = 0; i < memberOf_.size(); ++i) {
        if (memberOf_[i] != SIZE_MAX) {
            const Member& member = members_[memberOf_[i]];
            results[i] = ClassifiedFile{member.contentClass, member.identity};
        }
    }
    return results;
}

}  // namespace folivar
