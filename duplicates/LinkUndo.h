#pragma once

#include "renaming/BatchRecord.h"

namespace folivar {

// Takes back one link of a LINK DUPL batch: the name gets a file of its own
// again, a copy of the data it leads to with the duplicate's modification
// time, made complete under a hidden name beside it and then swapped in
// (RENAME_EXCHANGE), so the name never goes missing and nothing else is ever
// replaced. The further name of the original taken out is removed only while
// it provably is one. A link killed halfway is finished backwards. A name
// that leads elsewhere, or to the original changed since, stays as it is.
// Returns the row's Status (see BatchUndo), or nullptr when the link was
// never made.
const char* undoLink(const JournaledLink& link);

}  // namespace folivar
