// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/backends/Automation.hpp"
#include "platform/backends/Backend.hpp"
#include "platform/graphics/ScreenScale.hpp"
#include "platform/loop/Clock.hpp"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Where headless input comes from: a script file or the test driver. next() is asked whenever the
// program waits for input with nothing pending; false means there is no more input.
class InputSource {
public:
    virtual ~InputSource() = default;
    virtual bool next(Command& command) = 0;
    // Where the last command came from, for error reports ("script.txt:12"); empty when unknown.
    virtual std::string where() const { return {}; }
};

// Time that passes only when the program waits (or blocks): starts at 0 ms, with the wall clock of the
// moment it was made as its date.
class VirtualClock : public ClockSource {
public:
    VirtualClock();
    std::int64_t monotonicMs() override { return now_; }
    std::int64_t utcTicks() override { return baseTicks_ + now_ * 10000; }
    std::int64_t localSeconds() override { return baseLocal_ + now_ / 1000; }
    void advance(std::int64_t ms) { now_ += ms; }
    void set(std::int64_t ms) { now_ = ms; }

private:
    std::int64_t now_ = 0;
    std::int64_t baseTicks_ = 0;
    std::int64_t baseLocal_ = 0;
};

// A virtual screen in memory, a virtual clock that jumps to the next timer when nothing else is
// pending, input from an InputSource, and a log of what a user would have seen or heard.
class HeadlessBackend : public Backend {
public:
    using LogSink = std::function<void(std::string_view)>;
    HeadlessBackend(Size screen, std::unique_ptr<InputSource> source, std::int64_t maxVirtualMs,
                    LogSink sink);
    // A scaled screen: screenshots are taken at the output's size, and the pointer commands' coordinates
    // are output pixels, or virtual-screen (layout) coordinates when layoutCoordinates is set.
    HeadlessBackend(const ScreenScale& scale, bool layoutCoordinates, std::unique_ptr<InputSource> source,
                    std::int64_t maxVirtualMs, LogSink sink);
    ~HeadlessBackend() override;

    bool headless() const override { return true; }
    Size screenSize() const override { return scale_.screen; }
    void pollEvents(Application&) override {}
    void waitEvents(Application& app, std::int64_t timeoutMs) override;
    void present(const Bitmap& screen, std::span<const Rect> dirty) override;
    void blockFor(int ms) override;
    MessageResult messageBox(std::string_view text, std::string_view title, MessageIcon icon,
                             MessageButtons buttons) override;
    void setCursor(CursorId cursor) override { cursor_ = cursor; }
    void setTitle(const std::string& title) override { title_ = title; }
    void minimize() override {}
    bool minimised() const override { return minimised_; }
    // Tests stand for the user minimising and restoring the window.
    void setMinimised(bool minimised) { minimised_ = minimised; }
    void raise() override {}
    void warpMouse(Point) override {}
    void log(std::string_view line) override;
    void wake() override;

    // Carries out one command on the application (queues its input, starts its wait...).
    void execute(const Command& command, Application& app);
    std::int64_t now() const { return clock_.monotonicMs(); }
    VirtualClock& clock() { return clock_; }
    CursorId cursor() const { return cursor_; }
    // Rectangles of the last present (screen coordinates), and how many presents brought anything.
    const std::vector<Rect>& lastPresented() const { return lastPresented_; }
    int presentCount() const { return presentCount_; }
    // Why the script could not be carried out ("file:line: reason"); empty while all is well. A failing
    // command ends the run.
    const std::string& scriptFailure() const { return failure_; }

private:
    void mouse(Application& app, InputEvent::Type type, int x, int y, int clicks = 1);
    bool overLimit() const { return clock_.monotonicMs() >= limit_; }

    ScreenScale scale_;
    bool layoutCoordinates_ = true;
    std::unique_ptr<InputSource> source_;
    std::int64_t limit_;
    LogSink sink_;
    mutable VirtualClock clock_;
    std::optional<std::int64_t> waitUntil_;
    std::deque<int> answers_;
    CursorId cursor_ = kCursorArrow;
    std::string title_;
    Point mouse_{0, 0};
    bool movedOnce_ = false;
    bool idleLogged_ = false;
    int endings_ = 0;
    std::vector<Rect> lastPresented_;
    int presentCount_ = 0;
    std::string failure_;
    std::atomic<bool> minimised_{false};
    bool holding_ = false;
    std::mutex wakeMutex_;
    std::condition_variable wakeCv_;
    bool woken_ = false;
};

// Reads commands from a script file, one per line. The whole file is checked when it is read: a
// malformed line raises ScriptError ("file:line: reason") before the run starts.
class ScriptSource : public InputSource {
public:
    explicit ScriptSource(const std::string& path);
    bool next(Command& command) override;
    std::string where() const override;

private:
    std::vector<std::pair<std::size_t, Command>> commands_; // with their line numbers
    std::size_t pos_ = 0;
    std::string path_;
};

// The script failure of the headless run in progress, if any (empty otherwise).
std::string scriptFailure();

} // namespace platform
