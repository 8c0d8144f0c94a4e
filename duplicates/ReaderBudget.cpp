#include "duplicates/ReaderBudget.h"

#include <algorithm>
#include <thread>

#include "platform/FileSystem.h"
#include "platform/OpenFileLimit.h"

namespace folivar {

ReaderBudget::ReaderBudget(std::size_t wanted, std::chrono::milliseconds patience,
                           Shortage* shortage)
    : capacity_(platform::descriptorShare(wanted)), patience_(patience), shortage_(shortage) {}

ReaderBudget ReaderBudget::forHelper(std::size_t capacity, Shortage& shortage) {
    ReaderBudget budget(capacity, std::chrono::milliseconds(0), &shortage);
    budget.capacity_ = std::max<std::size_t>(capacity, 2);
    budget.helper_ = true;
    return budget;
}

std::unique_ptr<platform::FileReader> ReaderBudget::open(
    const std::string& path, const std::function<bool()>& makeRoom) const {
    keepOn();
    auto& files = platform::fileSystem();
    platform::OpenFailure failure = platform::OpenFailure::None;
    auto reader = files.openForReading(path, failure);
    if (reader || failure != platform::OpenFailure::OutOfDescriptors) {
        return reader;
    }
    if (helper_) {
        throw GiveWay{};
    }
    if (shortage_ != nullptr) {
        shortage_->store(true, std::memory_order_relaxed);
    }
    auto waited = std::chrono::milliseconds(0);
    auto pause = std::chrono::milliseconds(1);
    while (!reader && failure == platform::OpenFailure::OutOfDescriptors) {
        if (!makeRoom || !makeRoom()) {
            if (waited >= patience_) {
                break;
            }
            std::this_thread::sleep_for(pause);
            waited += pause;
            pause = std::min(pause * 2, std::chrono::milliseconds(100));
        }
        reader = files.openForReading(path, failure);
    }
    if (shortage_ != nullptr) {
        shortage_->store(false, std::memory_order_relaxed);
    }
    return reader;
}

}  // namespace folivar
