// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/loop/Timer.hpp"

#include "platform/loop/Clock.hpp"
#include "platform/loop/TimerQueue.hpp"

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
        if (active(*t) && !running(id) && (!best || t->dueAt() < *best)) best = t->dueAt();
    return best;
}

bool TimerQueue::anyEnabled() const {
    return std::any_of(timers_.begin(), timers_.end(), [](const auto& e) { return active(*e.second); });
}

bool TimerQueue::running(std::uint64_t id) const {
    return std::find(running_.begin(), running_.end(), id) != running_.end();
}

int TimerQueue::fireDue(std::int64_t now) {
    if (depth_ == due_.size()) due_.emplace_back();
    auto& due = due_[depth_];
    struct Level {
        std::size_t& depth;
        ~Level() { --depth; }
    } level{++depth_};
    due.clear();
    for (const auto& [id, t] : timers_)
        if (active(*t) && t->dueAt() <= now && !running(id)) due.emplace_back(t->dueAt(), id);
    std::sort(due.begin(), due.end());
    int fired = 0;
    for (const auto& [at, id] : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue; // destroyed by an earlier handler
        Timer& t = *it->second;
        if (!active(t) || t.dueAt() > now || running(id)) continue;
        // Re-armed from now: a late timer fires once, it does not catch up.
        t.dueAt_ = monotonicMs() + t.interval_;
        auto handler = t.onTimer; // the timer may die inside its own handler
        ++fired;
        if (!handler) continue;
        running_.push_back(id);
        struct Done {
            std::vector<std::uint64_t>& ids;
            ~Done() { ids.pop_back(); }
        } done{running_};
        handler();
    }
    return fired;
}

} // namespace platform
