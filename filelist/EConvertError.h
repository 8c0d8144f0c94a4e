#pragma once

#include <stdexcept>

namespace folivar {

// A text that does not read as the number or date it should hold. The message
// is shown to the user as it stands.
class EConvertError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace folivar
