// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/TestDriver.hpp"

#include "platform/backends/HeadlessBackend.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Control.hpp"
#include "platform/windows/Form.hpp"

#include <SDL.h>

#include <algorithm>
#include <utility>

namespace platform::testing {

class DriverSource : public InputSource {
public:
    explicit DriverSource(Driver& d) : driver_(d) {}
    bool next(Command& c) override { return driver_.nextCommand(c); }

private:
    Driver& driver_;
};

Driver::Driver(std::function<void()> program, DriverOptions options) {
    if (hasApp()) throw Error("a program is already running");
    thread_ = std::thread([this, program = std::move(program), options] {
        try {
            Options o;
            o.headless = true;
            o.window = options.screen;
            o.maxVirtualMs = options.maxVirtualMs;
            o.args = options.args;
            auto backend = std::make_unique<HeadlessBackend>(
                options.screen, std::make_unique<DriverSource>(*this), options.maxVirtualMs,
                [this](std::string_view l) { log_.emplace_back(l); });
            backend_ = backend.get();
            initialize(o, std::move(backend));
            program();
        } catch (const std::exception& e) {
            error_ = e.what();
        } catch (...) {
            error_ = "unknown exception";
        }
        try {
            if (hasApp()) finalScreen_ = app().screen();
        } catch (...) {
        }
        shutdown();
        // SDL keeps per-thread data (its error text) for threads it did not create; free this one's.
        SDL_TLSCleanup();
        std::lock_guard lock(mutex_);
        backend_ = nullptr;
        finished_ = true;
        cv_.notify_all();
    });
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return programIdle_ || finished_; });
}

Driver::~Driver() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        cv_.notify_all();
    }
    thread_.join();
}

bool Driver::nextCommand(Command& c) {
    std::unique_lock lock(mutex_);
    if (commands_.empty() && !stop_) {
        programIdle_ = true;
        cv_.notify_all();
        cv_.wait(lock, [&] { return !commands_.empty() || stop_; });
        programIdle_ = false;
    }
    if (stop_) return false;
    c = std::move(commands_.front());
    commands_.pop_front();
    return true;
}

void Driver::send(const Command& c) {
    std::unique_lock lock(mutex_);
    if (finished_) return;
    commands_.push_back(c);
    cv_.notify_all();
    cv_.wait(lock, [&] { return finished_ || (programIdle_ && commands_.empty()); });
}

static Command make(Command::Verb v, int a = 0, int b = 0, int c = 0, int d = 0) {
    Command cmd;
    cmd.verb = v, cmd.a = a, cmd.b = b, cmd.c = c, cmd.d = d;
    return cmd;
}

void Driver::wait(int ms) {
    send(make(Command::Verb::Wait, ms));
}
void Driver::click(int x, int y) {
    send(make(Command::Verb::Click, x, y));
}
void Driver::click(std::string_view controlName) {
    if (!finished() && hasApp()) {
        const std::vector<Form*>& forms = app().forms();
        for (auto f = forms.rbegin(); f != forms.rend(); ++f) {
            if (!(*f)->visible()) continue;
            for (Control* c : (*f)->controls()) {
                if (c->name != controlName || !c->visible()) continue;
                const Rect b = c->bounds();
                const Point p = (*f)->clientToScreen({b.left + b.width() / 2, b.top + b.height() / 2});
                click(p.x, p.y);
                return;
            }
        }
    }
    throw Error("no visible control named " + std::string(controlName));
}
void Driver::dblClick(int x, int y) {
    send(make(Command::Verb::DblClick, x, y));
}
void Driver::press(int x, int y) {
    send(make(Command::Verb::Press, x, y));
}
void Driver::release(int x, int y) {
    send(make(Command::Verb::Release, x, y));
}
void Driver::move(int x, int y) {
    send(make(Command::Verb::Move, x, y));
}
void Driver::drag(int x1, int y1, int x2, int y2) {
    send(make(Command::Verb::Drag, x1, y1, x2, y2));
}
void Driver::wheel(int notches) {
    send(make(Command::Verb::Wheel, notches));
}
void Driver::key(int charCode) {
    send(make(Command::Verb::Key, charCode));
}
void Driver::answer(int result) {
    send(make(Command::Verb::Answer, result));
}
void Driver::quit() {
    send(make(Command::Verb::Quit));
}

void Driver::key(Key key) {
    Command c = make(Command::Verb::KeyDown);
    c.key = key;
    send(c);
}

void Driver::text(const std::string& utf8) {
    Command c = make(Command::Verb::Text);
    c.text = utf8;
    send(c);
}

void Driver::drop(int x, int y, const std::string& nativePath) {
    Command c = make(Command::Verb::Drop, x, y);
    c.text = nativePath;
    send(c);
}

void Driver::screenshot(const std::string& pngPath) {
    Command c = make(Command::Verb::Screenshot);
    c.text = pngPath;
    send(c);
}

bool Driver::finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

std::vector<std::string> Driver::takeLog() {
    return std::exchange(log_, {});
}

bool Driver::logged(std::string_view line) const {
    return std::find(log_.begin(), log_.end(), line) != log_.end();
}

std::int64_t Driver::now() const {
    return backend_ ? backend_->now() : 0;
}

const Bitmap& Driver::screen() {
    if (finished() || !hasApp()) return finalScreen_;
    return app().screen();
}

Color Driver::pixel(int x, int y) {
    return screen().pixel(x, y);
}

std::vector<std::string> Driver::dump() {
    if (finished() || !hasApp()) return {};
    return app().dump();
}

Form* Driver::form(std::string_view caption) const {
    if (finished() || !hasApp()) return nullptr;
    for (Form* f : app().forms())
        if (f->caption() == caption) return f;
    return nullptr;
}

Control* Driver::control(std::string_view name) const {
    if (finished() || !hasApp()) return nullptr;
    // Windows on screen first, the topmost first: hidden windows may hold controls of the same name.
    const std::vector<Form*>& forms = app().forms();
    for (bool onScreen : {true, false})
        for (auto f = forms.rbegin(); f != forms.rend(); ++f) {
            if ((*f)->visible() != onScreen) continue;
            for (Control* c : (*f)->controls())
                if (c->name == name) return c;
        }
    return nullptr;
}

Application& Driver::application() const {
    return app();
}

HeadlessBackend& Driver::backend() const {
    if (!backend_) throw Error("the program has ended");
    return *backend_;
}

} // namespace platform::testing
