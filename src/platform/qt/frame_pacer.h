#pragma once

#include <chrono>

namespace korvane::qt {

// Keeps the frames of a turn at a steady interval so turns are seen on fast machines: each
// call sleeps until the next frame time. It never handles events: a turn draws all its frames
// before anything else happens. An interval of 0 paces nothing.
class FramePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kDefaultFrameMs = 25;

    // The interval from KORVANE_FRAME_MS when it holds a number of 0 or more, else the default.
    FramePacer();
    explicit FramePacer(std::chrono::milliseconds interval) : interval_(interval) {}

    void paceFrame();
    std::chrono::milliseconds interval() const { return interval_; }
    // The time a frame shown at `now` should stay up to; moves the schedule on.
    Clock::time_point nextFrameTime(Clock::time_point now);

private:
    std::chrono::milliseconds interval_;
    Clock::time_point next_{};
};

} // namespace korvane::qt
