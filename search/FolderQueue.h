#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>

namespace folivar {

// A folder's identity: two paths with the same one name the same folder.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderId&) const = default;
};

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const noexcept {
        return std::hash<std::uint64_t>{}(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
    }
};

// The folders still to be listed, in breadth-first order. Links that lead to
// one folder from the same depth keep one place in the queue, under the
// smallest of their paths, so which one names the folder never depends on the
// order the names were listed in.
class FolderQueue {
public:
    struct Folder {
        std::string path;
        std::size_t depth = 0;
    };

    void push(std::string path, std::size_t depth);
    void pushLink(std::string path, std::size_t depth, FolderId target);

    bool empty() const { return folders_.empty(); }
    std::size_t size() const { return folders_.size(); }
    // The i-th folder from the front.
    const Folder& operator[](std::size_t i) const { return folders_[i]; }
    Folder pop();

private:
    std::deque<Folder> folders_;
    std::size_t popped_ = 0;  // folders taken from the front so far
    std::size_t linkDepth_ = 0;
    std::unordered_map<FolderId, std::size_t, FolderIdHash> links_;  // target: place since start
};

}  // namespace folivar
