#pragma once

#include <stdexcept>

namespace folivar {

// A spreadsheet call that failed after the application object was created. The
// message is shown to the user as it stands.
class ESpreadsheetError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace folivar
