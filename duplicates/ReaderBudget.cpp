#include "duplicates/ReaderBudget.h"

#include <algorithm>
#include <thread>

#include "platform/FileSystem.h"
#include "platform/OpenFileLimit.h"

namespace folivar {

ReaderBudget::ReaderBudget(std::size_t wanted, std::chrono::milliseconds patience)
    : capacity_(
          std::max<std::size_t>(std::min<std::uint64_t>(wanted, platform::openFileLimit() / 2), 2)),
      patience_(patience) {}

std::unique_ptr<platform::FileReader> ReaderBudget::open(
    const std::string& path, const std::function<bool()>& makeRoom) const {
    auto& files = platform::fileSystem();
    platform::OpenFailure failure = platform::OpenFailure::None;
    auto reader = files.openForReading(path, failure);
    auto waited = std::chrono::milliseconds(0);
    auto pause = std::chrono::milliseconds(1);
    while (!reader && failure == platform::OpenFailure::OutOfDescriptors) {
        if (!makeRoom || !makeRoom()) {
            if (waited >= patience_) {
                return nullptr;
            }
            std::this_thread::sleep_for(pause);
            waited += pause;
            pause = std::min(pause * 2, std::chrono::milliseconds(100));
        }
        reader = files.openForReading(path, failure);
    }
    return reader;
}

}  // namespace folivar
