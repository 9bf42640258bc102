#include "platform/qt/frame_pacer.h"

#include <QByteArray>
#include <QtGlobal>
#include <thread>

namespace korvane::qt {

namespace {

std::chrono::milliseconds frameIntervalFromEnvironment() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("KORVANE_FRAME_MS", &ok);
    return std::chrono::milliseconds(ok && ms >= 0 ? ms : FramePacer::kDefaultFrameMs);
}

} // namespace

FramePacer::FramePacer() : interval_(frameIntervalFromEnvironment()) {}

FramePacer::Clock::time_point FramePacer::nextFrameTime(Clock::time_point now) {
    if (next_ + 2 * interval_ < now) {
        // The first frame of a turn: it stays up one whole interval.
        next_ = now + interval_;
    } else {
        next_ += interval_;
        if (next_ < now) {
            // A slow frame: show the next one at once rather than rushing to catch up.
            next_ = now;
        }
    }
    return next_;
}

void FramePacer::paceFrame() {
    if (interval_.count() <= 0) {
        return;
    }
    std::this_thread::sleep_until(nextFrameTime(Clock::now()));
}

} // namespace korvane::qt
