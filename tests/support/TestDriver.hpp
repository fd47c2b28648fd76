// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/backends/Automation.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/windows/Input.hpp"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace platform {
class Application;
class Control;
class Form;
class HeadlessBackend;
} // namespace platform

namespace platform::testing {

struct DriverOptions {
    Size screen{1024, 768};
    std::vector<std::string> args;
    std::int64_t maxVirtualMs = 3'600'000;
};

// Runs a program (a function that builds forms and runs the loop) on the headless backend in a thread of
// its own and drives it with the automation verbs. Only one side runs at a time: each verb hands control
// to the program and returns when the program waits for input again (or has ended), so a test reads as
// a story: click, wait, look. Only one driver may exist at a time. Destroying the driver ends the program.
class Driver {
public:
    explicit Driver(std::function<void()> program, DriverOptions options = {});
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    void wait(int ms);
    void click(int x, int y);
    // Clicks the middle of a visible control found by name, on the topmost form that shows one; raises
    // when there is none.
    void click(std::string_view controlName);
    void dblClick(int x, int y);
    void press(int x, int y);
    void release(int x, int y);
    void move(int x, int y);
    void drag(int x1, int y1, int x2, int y2);
    void wheel(int notches);
    void key(int charCode);
    void key(Key key);
    void text(const std::string& utf8);
    // A file dropped onto the window at x, y.
    void drop(int x, int y, const std::string& nativePath);
    // The button the next message box returns (a MessageResult number).
    void answer(int result);
    void quit();
    void screenshot(const std::string& pngPath);

    bool finished() const;
    // What escaped the program, if anything did.
    const std::string& error() const { return error_; }
    // Event log lines (form-shown ..., message-box ..., sound ...), oldest first.
    const std::vector<std::string>& log() const { return log_; }
    std::vector<std::string> takeLog();
    bool logged(std::string_view line) const;
    // Virtual milliseconds since the program started.
    std::int64_t now() const;

    // The virtual screen as the user would see it now (the last one once the program has ended).
    const Bitmap& screen();
    Color pixel(int x, int y);
    std::vector<std::string> dump();
    // Lookups by caption or name (windows on screen first); nullptr when absent or when the program has
    // ended.
    Form* form(std::string_view caption) const;
    Control* control(std::string_view name) const;
    Application& application() const;
    HeadlessBackend& backend() const;

private:
    friend class DriverSource;
    void send(const Command& c);
    bool nextCommand(Command& c); // program thread

    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Command> commands_;
    bool programIdle_ = false;
    bool stop_ = false;
    bool finished_ = false;
    std::string error_;
    std::vector<std::string> log_;
    Bitmap finalScreen_;
    HeadlessBackend* backend_ = nullptr;
    std::thread thread_;
};

} // namespace platform::testing
