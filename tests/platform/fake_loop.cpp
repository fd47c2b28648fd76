#include "fake_loop.hpp"

#include "platform/Clock.hpp"
#include "platform/LoopServices.hpp"
#include "platform/Timer.hpp"

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>

namespace {

struct State {
    bool headless = true;
    std::int64_t now = 0;
    std::vector<std::string> events;
    std::vector<platform::Timer*> timers;
    std::deque<std::pair<void (*)(void*), void*>> posted;
    int raises = 0;
};

State& state() {
    static State s;
    return s;
}

} // namespace

namespace platform {

class TimerQueue {
public:
    static void add(Timer* t) { state().timers.push_back(t); }
    static void remove(Timer* t) { std::erase(state().timers, t); }
    static void schedule(Timer* t) { t->dueAt_ = state().now + t->interval_; }

    // The earliest enabled timer due by limit, or null.
    static Timer* next(std::int64_t limit) {
        Timer* best = nullptr;
        for (Timer* t : state().timers)
            if (t->enabled_ && t->dueAt_ <= limit && (!best || t->dueAt_ < best->dueAt_)) best = t;
        return best;
    }
};

Timer::Timer() {
    TimerQueue::add(this);
}
Timer::Timer(int intervalMs, bool enabled) : interval_(intervalMs) {
    TimerQueue::add(this);
    setEnabled(enabled);
}
Timer::~Timer() {
    TimerQueue::remove(this);
}
void Timer::setInterval(int ms) {
    interval_ = ms;
    if (enabled_) TimerQueue::schedule(this);
}
void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled) TimerQueue::schedule(this);
}

std::int64_t monotonicMs() {
    return state().now;
}

namespace loop {
bool headless() {
    return state().headless;
}
void presentScreen() {}
void blockFor(int ms) {
    state().now += std::max(ms, 0);
}
void logEvent(std::string_view line) {
    state().events.emplace_back(line);
}
void post(void (*fn)(void*), void* data) {
    state().posted.emplace_back(fn, data);
}
void raiseMainWindow() {
    ++state().raises;
}
} // namespace loop

} // namespace platform

namespace fakeloop {

void reset(bool headless) {
    State& s = state();
    s.headless = headless;
    s.events.clear();
    s.posted.clear();
    s.raises = 0;
}

void runFor(int ms) {
    State& s = state();
    const std::int64_t end = s.now + ms;
    for (;;) {
        while (!s.posted.empty()) {
            auto [fn, data] = s.posted.front();
            s.posted.pop_front();
            fn(data);
        }
        platform::Timer* t = platform::TimerQueue::next(end);
        if (!t) break;
        s.now = std::max<std::int64_t>(s.now, t->dueAt());
        platform::TimerQueue::schedule(t);
        // The handler may destroy its timer.
        auto handler = t->onTimer;
        if (handler) handler();
    }
    s.now = end;
}

std::int64_t now() {
    return state().now;
}
const std::vector<std::string>& events() {
    return state().events;
}
int raiseRequests() {
    return state().raises;
}

} // namespace fakeloop
