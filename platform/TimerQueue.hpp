#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>

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
    std::map<std::uint64_t, Timer*> timers_;
    std::set<std::uint64_t> running_;
    std::uint64_t nextId_ = 1;
};

} // namespace platform
