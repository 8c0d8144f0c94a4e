#include "duplicates/LinkRecorder.h"

namespace folivar {

const char* linkResultText(LinkResult result) {
    switch (result) {
        case LinkResult::Shared:
            return "Shared";
        case LinkResult::Linked:
            return "Linked";
        case LinkResult::Remained:
            break;
    }
    return "Remained";
}

LinkRecorder& LinkRecorder::none() {
    class None final : public LinkRecorder {
    public:
        bool before(const LinkStep&) override { return true; }
        void after(const LinkStep&, LinkResult) override {}
    };
    static None none;
    return none;
}

}  // namespace folivar
