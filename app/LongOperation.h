#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/LongWork.h"
#include "filelist/ProgressSink.h"

class QWidget;

namespace folivar {

class ActionStrip;

// One long operation of the window, from its start to its end: what the
// strip shows, the sink the engine reports to, the window kept alive and
// taking no input but Stop and Esc, and the user's wish to stop, which the
// engine asks for at its safe points. Given out by ActionStrip::begin; when
// it goes, the strip is as before, Stop hides, and the window closes if the
// user chose to stop and close.
class LongOperation : public ProgressSink {
public:
    // What stands in the strip meanwhile: the buttons as they are (a scan,
    // Delete File(s)), the progress bar from 0 or the banner in their place
    // after "Please wait...", or the bar once the engine says so (the
    // export). Stop is shown in any case.
    enum class Strip : std::uint8_t { Kept, Bar, Banner, BarWhenTold };

    LongOperation(ActionStrip& strip, Strip look, QWidget* origin);
    ~LongOperation() override;
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    void status(const std::string& text) override;
    void percent(int percent) override;
    void progressShown(bool shown) override;
    void working() override;
    bool stopRequested() override;

private:
    ActionStrip& strip_;
    const Strip look_;
    QWidget* origin_;
    std::optional<LongWork::Running> running_;  // ends first, in the destructor
};

}  // namespace folivar
