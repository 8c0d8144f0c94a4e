#include "platform/StopQuery.h"

namespace folivar::platform {

namespace {

class NeverStop final : public StopQuery {
public:
    bool stopRequested() override { return false; }
};

}  // namespace

StopQuery& StopQuery::never() {
    static NeverStop query;
    return query;
}

}  // namespace folivar::platform
