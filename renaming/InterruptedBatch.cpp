#include "renaming/InterruptedBatch.h"

#include <algorithm>

namespace folivar {

namespace {

constexpr std::size_t kFoldersNamed = 3;

}  // namespace

std::string describe(const InterruptedBatch& batch) {
    std::string text = std::to_string(batch.files) + (batch.files == 1 ? " file" : " files");
    const std::size_t named = std::min(batch.folders.size(), kFoldersNamed);
    for (std::size_t i = 0; i < named; ++i) {
        const bool last = i + 1 == named && named == batch.folders.size();
        text += i == 0 ? " in " : last ? " and " : ", ";
        text += batch.folders[i];
    }
    if (const std::size_t more = batch.folders.size() - named; more > 0) {
        text += " and " + std::to_string(more) + (more == 1 ? " more folder" : " more folders");
    }
    if (!batch.when.empty()) {
        text += ", begun " + batch.when;
    }
    return text;
}

}  // namespace folivar
