#include "filelist/ProgressSink.h"

namespace folivar {

namespace {

class SilentSink final : public ProgressSink {
public:
    void status(const std::string&) override {}
    void percent(int) override {}
};

}  // namespace

ProgressSink& ProgressSink::silent() {
    static SilentSink sink;
    return sink;
}

}  // namespace folivar
