#pragma once

#include <cstdint>
#include <string>

#include "duplicates/DuplicateRecords.h"
#include "duplicates/LinkRecorder.h"

namespace folivar {

// Makes the name of a "Dupl" another name of its group's "Orig": a hard link
// to the original is made under a hidden name beside the duplicate and
// swapped with it (RENAME_EXCHANGE), so the duplicate's name never goes
// missing and always leads to the same bytes. What was taken out is removed
// only while it is provably the duplicate that was compared; otherwise the
// swap is taken back. Never a replacing rename: where names cannot be
// swapped, nothing changes.
class InPlaceLink {
public:
    // Checks that both are still the files compared, on one device; false
    // when the row is to stay as it is.
    bool check(const std::string& duplicate, const DuplicateRecords::Pair& pair);

    // Links, under step.aside, what check approved.
    LinkResult make(const LinkStep& step);

    // After a Linked result: the bytes given back (the duplicate's size, when
    // the name taken away was its last, so its data is freed) and the
    // original as it is now (linking moved its change time).
    std::int64_t bytesGivenBack() const { return givenBack_; }
    const FileIdentity& originalNow() const { return originalNow_; }

private:
    void undo(const LinkStep& step);

    DuplicateRecords::Pair pair_;
    std::int64_t givenBack_ = 0;
    FileIdentity originalNow_;
};

}  // namespace folivar
