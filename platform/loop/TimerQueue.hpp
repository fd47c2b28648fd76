// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

class Timer;

// Every live timer, by id, so that the loop can fire them and survive a timer (or its owner) being
// destroyed inside a handler: firing looks the timer up by id again before touching it.
class TimerQueue {
public:
    static TimerQueue& instance();

    void add(Timer& timer);
    void remove(Timer& timer);
    void arm(Timer& timer); // due one interval from now

    // Earliest due time of an enabled timer that may fire.
    std::optional<std::int64_t> nextDue() const;
    bool anyEnabled() const;
    // Fires every timer due at now once, earliest first; a handler still running is not entered again.
    // Returns how many fired.
    int fireDue(std::int64_t now);

private:
    bool running(std::uint64_t id) const;

    std::map<std::uint64_t, Timer*> timers_;
    // Ids of handlers still running (a handler may run a modal loop that fires timers again).
    std::vector<std::uint64_t> running_;
    // One list of due timers per nesting level, kept so that a pass of the loop allocates nothing; a deque
    // keeps the outer levels' lists in place while an inner level is added.
    std::deque<std::vector<std::pair<std::int64_t, std::uint64_t>>> due_;
    std::size_t depth_ = 0;
    std::uint64_t nextId_ = 1;
};

} // namespace platform
