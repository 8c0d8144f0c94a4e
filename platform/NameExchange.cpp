#include "platform/NameExchange.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>

#include <cerrno>

namespace folivar::platform {

ExchangeResult exchangeNames(const std::string& a, const std::string& b) {
    if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) {
        return ExchangeResult::Exchanged;
    }
    return errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ? ExchangeResult::Unsupported
                                                                     : ExchangeResult::Failed;
}

}  // namespace folivar::platform
