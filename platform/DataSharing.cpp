#include "platform/DataSharing.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cerrno>

namespace folivar::platform {

namespace {

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Errors that say the pair cannot share data at all, as opposed to a refusal
// of this one request.
bool cannotShare(int error) {
    return error == EOPNOTSUPP || error == ENOTTY || error == EXDEV || error == EINVAL ||
           error == ENOSYS;
}

}  // namespace

RangeSharing shareDataRange(int original, int duplicate, std::int64_t offset, std::int64_t length) {
    // The request with room for its one target after it.
    alignas(struct file_dedupe_range) unsigned char
        buffer[sizeof(struct file_dedupe_range) + sizeof(struct file_dedupe_range_info)] = {};
    auto* request = reinterpret_cast<struct file_dedupe_range*>(buffer);
    request->src_offset = static_cast<__u64>(offset);
    request->src_length = static_cast<__u64>(length);
    request->dest_count = 1;
    struct file_dedupe_range_info& target = request->info[0];
    target.dest_fd = duplicate;
    target.dest_offset = static_cast<__u64>(offset);

    struct stat before {};
    const bool timed = ::fstat(duplicate, &before) == 0;
    RangeSharing answer;
    if (::ioctl(original, FIDEDUPERANGE, request) != 0) {
        answer.result = cannotShare(errno) ? SharingResult::Unsupported : SharingResult::Failed;
    } else if (target.status == FILE_DEDUPE_RANGE_SAME) {
        answer.result = SharingResult::Shared;
        answer.bytes = static_cast<std::int64_t>(target.bytes_deduped);
    } else if (target.status == FILE_DEDUPE_RANGE_DIFFERS) {
        answer.result = SharingResult::Differs;
    } else {
        answer.result =
            cannotShare(-target.status) ? SharingResult::Unsupported : SharingResult::Failed;
    }
    // No kernel of today moves them for a dedupe; one that did would make
    // the "Dupl" look edited.
    struct stat after {};
    if (timed && ::fstat(duplicate, &after) == 0 &&
        (!sameTime(before.st_atim, after.st_atim) || !sameTime(before.st_mtim, after.st_mtim))) {
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ::futimens(duplicate, times);
    }
    return answer;
}

}  // namespace folivar::platform
