#include "search/FolderQueue.h"

namespace folivar {

void FolderQueue::push(std::string path, std::size_t depth) {
    folders_.push_back(Folder{std::move(path), depth});
}

void FolderQueue::pushLink(std::string path, std::size_t depth, FolderId target) {
    if (depth != linkDepth_) {
        links_.clear();  // breadth-first: no more links arrive at the former depth
        linkDepth_ = depth;
    }
    const auto [known, added] = links_.emplace(target, popped_ + folders_.size());
    if (added) {
        push(std::move(path), depth);
        return;
    }
    // A whole depth is queued before any of it is taken, so the first link's
    // place is still in the queue.
    Folder& first = folders_[known->second - popped_];
    if (path < first.path) {
        first.path = std::move(path);
    }
}

FolderQueue::Folder FolderQueue::pop() {
    Folder front = std::move(folders_.front());
    folders_.pop_front();
    ++popped_;
    return front;
}

}  // namespace folivar
