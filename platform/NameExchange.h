#pragma once

#include <cstdint>
#include <string>

namespace folivar::platform {

enum class ExchangeResult : std::uint8_t {
    Exchanged,
    Unsupported,  // the file system cannot swap two names at once
    Failed,
};

// Swaps the files two names in one folder or file system lead to, at once
// (renameat2 RENAME_EXCHANGE): no moment exists at which either name is
// missing. Never falls back on anything that replaces.
ExchangeResult exchangeNames(const std::string& a, const std::string& b);

}  // namespace folivar::platform
