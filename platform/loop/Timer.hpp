// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

namespace platform {

// A timer on the event loop: fires onTimer every interval ms while enabled, at most once per pass of
// the loop (no catching up after a blocking call). The timer, or whatever owns it, may be destroyed
// inside its own handler.
class Timer {
public:
    Timer();
    explicit Timer(int intervalMs, bool enabled = false);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int interval() const { return interval_; }
    // Restarts the countdown when enabled.
    void setInterval(int ms);
    bool enabled() const { return enabled_; }
    // Enabling (re)starts the countdown from now.
    void setEnabled(bool enabled);
    void start() { setEnabled(true); }
    void stop() { setEnabled(false); }

    std::function<void()> onTimer;

    // Loop side: when the next firing is due (monotonic ms); meaningful while enabled.
    long long dueAt() const { return dueAt_; }

private:
    friend class TimerQueue;
    int interval_ = 1000;
    bool enabled_ = false;
    long long dueAt_ = 0;
    unsigned long long id_ = 0;
};

} // namespace platform
