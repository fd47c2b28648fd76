#include "Timer.hpp"

#include "Clock.hpp"
#include "TimerQueue.hpp"

#include <algorithm>
#include <vector>

namespace platform {

Timer::Timer() {
    TimerQueue::instance().add(*this);
}

Timer::Timer(int intervalMs, bool enabled) : interval_(intervalMs) {
    TimerQueue::instance().add(*this);
    setEnabled(enabled);
}

Timer::~Timer() {
    TimerQueue::instance().remove(*this);
}

void Timer::setInterval(int ms) {
    interval_ = ms;
    if (enabled_) TimerQueue::instance().arm(*this);
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled_) TimerQueue::instance().arm(*this);
}

TimerQueue& TimerQueue::instance() {
    static TimerQueue queue;
    return queue;
}

void TimerQueue::add(Timer& timer) {
    timer.id_ = nextId_++;
    timers_[timer.id_] = &timer;
}

void TimerQueue::remove(Timer& timer) {
    timers_.erase(timer.id_);
}

void TimerQueue::arm(Timer& timer) {
    timer.dueAt_ = monotonicMs() + std::max(timer.interval_, 0);
}

// A timer with no interval never fires, as in the framework the windows were written for.
static bool active(const Timer& t) {
    return t.enabled() && t.interval() > 0;
}

std::optional<std::int64_t> TimerQueue::nextDue() const {
    std::optional<std::int64_t> best;
    for (const auto& [id, t] : timers_)
        if (active(*t) && !running_.contains(id) && (!best || t->dueAt() < *best)) best = t->dueAt();
    return best;
}

bool TimerQueue::anyEnabled() const {
    return std::any_of(timers_.begin(), timers_.end(), [](const auto& e) { return active(*e.second); });
}

int TimerQueue::fireDue(std::int64_t now) {
    std::vector<std::pair<std::int64_t, std::uint64_t>> due;
    for (const auto& [id, t] : timers_)
        if (active(*t) && t->dueAt() <= now && !running_.contains(id)) due.emplace_back(t->dueAt(), id);
    std::sort(due.begin(), due.end());
    int fired = 0;
    for (const auto& [at, id] : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue; // destroyed by an earlier handler
        Timer& t = *it->second;
        if (!active(t) || t.dueAt() > now || running_.contains(id)) continue;
        // Re-armed from now: a late timer fires once, it does not catch up.
        t.dueAt_ = monotonicMs() + t.interval_;
        auto handler = t.onTimer; // the timer may die inside its own handler
        ++fired;
        if (!handler) continue;
        running_.insert(id);
        struct Done {
            std::set<std::uint64_t>& set;
            std::uint64_t id;
            ~Done() { set.erase(id); }
        } done{running_, id};
        handler();
    }
    return fired;
}

} // namespace platform
