// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/backends/HeadlessBackend.hpp"

#include "platform/graphics/Image.hpp"
#include "platform/loop/Signals.hpp"
#include "platform/loop/TimerQueue.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"

#include <ctime>
#include <fstream>
#include <sstream>

namespace platform {

VirtualClock::VirtualClock() : baseTicks_(realUtcTicks()) {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    baseLocal_ = std::int64_t(t) + local.tm_gmtoff;
}

HeadlessBackend::HeadlessBackend(Size screen, std::unique_ptr<InputSource> source, std::int64_t maxVirtualMs,
                                 LogSink sink)
    : HeadlessBackend(ScreenScale::none(screen), true, std::move(source), maxVirtualMs, std::move(sink)) {}

HeadlessBackend::HeadlessBackend(const ScreenScale& scale, bool layoutCoordinates,
                                 std::unique_ptr<InputSource> source, std::int64_t maxVirtualMs, LogSink sink)
    : scale_(scale), layoutCoordinates_(layoutCoordinates), source_(std::move(source)), limit_(maxVirtualMs),
      sink_(std::move(sink)) {
    setClockSource(&clock_);
}

HeadlessBackend::~HeadlessBackend() {
    if (&clockSource() == &clock_) setClockSource(nullptr);
}

void HeadlessBackend::log(std::string_view line) {
    if (sink_) sink_(line);
}

static InputEvent quitEvent() {
    InputEvent e;
    e.type = InputEvent::Type::Quit;
    return e;
}

void HeadlessBackend::wake() {
    std::lock_guard lock(wakeMutex_);
    woken_ = true;
    wakeCv_.notify_all();
}

void HeadlessBackend::waitEvents(Application& app, std::int64_t timeoutMs) {
    while (!app.terminated()) {
        if (app.hasPendingWork() || timeoutMs == 0) return;
        if (holding_) {
            // Virtual time stands still; only work posted from another thread (a signal) goes on.
            signals::Blocking waiting;
            std::unique_lock lock(wakeMutex_);
            wakeCv_.wait(lock, [&] { return woken_; });
            woken_ = false;
            return;
        }
        if (waitUntil_) {
            // Jump to the next timer inside the wait, or to the wait's end.
            if (timeoutMs > 0 && now() + timeoutMs <= *waitUntil_) {
                clock_.advance(timeoutMs);
                if (now() == *waitUntil_) waitUntil_.reset();
                return;
            }
            clock_.set(*waitUntil_);
            waitUntil_.reset();
        }
        if (overLimit()) {
            log("virtual-time-limit");
            app.terminate();
            return;
        }
        if (!TimerQueue::instance().anyEnabled()) {
            if (!idleLogged_) log("timer-idle");
            idleLogged_ = true;
        } else {
            idleLogged_ = false;
        }
        Command command;
        bool more = false;
        if (source_) {
            // A script read from a pipe may keep us waiting here.
            signals::Blocking waiting;
            more = source_->next(command);
        }
        if (!more) {
            // No more input: close the program normally, and if it does not end, end it.
            if (endings_++ == 0) {
                app.queueInput(quitEvent());
            } else {
                app.terminate();
            }
            return;
        }
        // Back to the loop: it works out the next timer afresh before waiting again.
        try {
            execute(command, app);
        } catch (const Error& e) {
            // A command that cannot be carried out (a screenshot into a missing directory...) ends the
            // run; the caller reports it and exits with an error.
            const std::string at = source_->where();
            failure_ = (at.empty() ? std::string() : at + ": ") + e.what();
            log("script-error " + failure_);
            app.terminate();
        }
        return;
    }
}

void HeadlessBackend::present(const Bitmap&, std::span<const Rect> dirty) {
    lastPresented_.assign(dirty.begin(), dirty.end());
    if (!dirty.empty()) ++presentCount_;
}

void HeadlessBackend::blockFor(int ms) {
    if (ms > 0) clock_.advance(ms);
}

static std::string oneLine(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

MessageResult HeadlessBackend::messageBox(std::string_view text, std::string_view title, MessageIcon,
                                          MessageButtons buttons) {
    log("message-box " + oneLine(title) + " | " + oneLine(text));
    const MessageResult first = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
                                    ? MessageResult::Yes
                                    : MessageResult::Ok;
    if (answers_.empty()) return first;
    const int a = answers_.front();
    answers_.pop_front();
    // "answer wait": the box stays until something from outside ends the program.
    if (a == kAnswerWait) {
        signals::waitForEnd();
        return first;
    }
    auto offered = [&](MessageResult r) {
        switch (buttons) {
        case MessageButtons::Ok:
            return r == MessageResult::Ok;
        case MessageButtons::OkCancel:
            return r == MessageResult::Ok || r == MessageResult::Cancel;
        case MessageButtons::YesNo:
            return r == MessageResult::Yes || r == MessageResult::No;
        case MessageButtons::YesNoCancel:
            return r == MessageResult::Yes || r == MessageResult::No || r == MessageResult::Cancel;
        }
        return false;
    };
    const auto r = static_cast<MessageResult>(a);
    return offered(r) ? r : first;
}

void HeadlessBackend::mouse(Application& app, InputEvent::Type type, int x, int y, int clicks) {
    if (!layoutCoordinates_) {
        const Point p = scale_.toScreen({x, y});
        x = p.x, y = p.y;
    }
    // A real pointer sends no motion when it is already where the press happens.
    if (type == InputEvent::Type::MouseMove && mouse_.x == x && mouse_.y == y && movedOnce_) return;
    movedOnce_ = true;
    InputEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.clicks = clicks;
    if (type != InputEvent::Type::MouseMove) e.button = MouseButton::Left;
    app.queueInput(e);
    mouse_ = {x, y};
}

static std::string utf8(int cp) {
    std::string s;
    if (cp < 0x80) {
        s += char(cp);
    } else if (cp < 0x800) {
        s += char(0xC0 | (cp >> 6)), s += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += char(0xE0 | (cp >> 12)), s += char(0x80 | ((cp >> 6) & 0x3F)), s += char(0x80 | (cp & 0x3F));
    } else {
        s += char(0xF0 | (cp >> 18)), s += char(0x80 | ((cp >> 12) & 0x3F));
        s += char(0x80 | ((cp >> 6) & 0x3F)), s += char(0x80 | (cp & 0x3F));
    }
    return s;
}

void HeadlessBackend::execute(const Command& c, Application& app) {
    using V = Command::Verb;
    using T = InputEvent::Type;
    switch (c.verb) {
    case V::Wait:
        if (c.a > 0) waitUntil_ = std::min(now() + c.a, limit_);
        break;
    case V::Click:
        mouse(app, T::MouseMove, c.a, c.b);
        mouse(app, T::MouseDown, c.a, c.b);
        mouse(app, T::MouseUp, c.a, c.b);
        break;
    case V::DblClick:
        mouse(app, T::MouseMove, c.a, c.b);
        mouse(app, T::MouseDown, c.a, c.b, 1);
        mouse(app, T::MouseUp, c.a, c.b, 1);
        mouse(app, T::MouseDown, c.a, c.b, 2);
        mouse(app, T::MouseUp, c.a, c.b, 2);
        break;
    case V::Press:
        mouse(app, T::MouseMove, c.a, c.b);
        mouse(app, T::MouseDown, c.a, c.b);
        break;
    case V::Release:
        mouse(app, T::MouseMove, c.a, c.b);
        mouse(app, T::MouseUp, c.a, c.b);
        break;
    case V::Move:
        mouse(app, T::MouseMove, c.a, c.b);
        break;
    case V::Drag: {
        mouse(app, T::MouseMove, c.a, c.b);
        mouse(app, T::MouseDown, c.a, c.b);
        constexpr int steps = 8;
        // In 64 bits: a test driver's command is not range-checked as a script line is.
        auto between = [](int from, int to, int i) {
            return int(std::int64_t(from) + (std::int64_t(to) - from) * i / steps);
        };
        for (int i = 1; i <= steps; ++i)
            mouse(app, T::MouseMove, between(c.a, c.c, i), between(c.b, c.d, i));
        mouse(app, T::MouseUp, c.c, c.d);
        break;
    }
    case V::Wheel: {
        InputEvent e;
        e.type = T::Wheel;
        e.x = mouse_.x, e.y = mouse_.y, e.value = c.a;
        app.queueInput(e);
        break;
    }
    case V::Key: {
        InputEvent e;
        if (c.a < 32 || c.a == 127) {
            e.type = T::Char, e.value = c.a;
        } else {
            e.type = T::Text, e.text = utf8(c.a);
        }
        app.queueInput(e);
        break;
    }
    case V::KeyDown: {
        InputEvent e;
        e.type = T::KeyDown, e.key = c.key;
        app.queueInput(e);
        break;
    }
    case V::Text: {
        InputEvent e;
        e.type = T::Text, e.text = c.text;
        if (!e.text.empty()) app.queueInput(e);
        break;
    }
    case V::Drop: {
        mouse(app, T::MouseMove, c.a, c.b);
        InputEvent e;
        e.type = T::DropFile, e.x = c.a, e.y = c.b, e.text = c.text;
        app.queueInput(e);
        break;
    }
    case V::Answer:
        answers_.push_back(c.a);
        break;
    case V::Screenshot:
        if (scale_.scaled()) {
            // What the screen would show: the virtual screen enlarged, the rest in the background colour.
            Bitmap shot(scale_.output.width, scale_.output.height, PixelFormat::Bgra32);
            shot.fill(0);
            scaleBilinear(app.screen(), shot, scale_.target);
            image::savePng(shot, c.text);
        } else {
            image::savePng(app.screen(), c.text);
        }
        log("screenshot " + c.text);
        break;
    case V::Dump:
        for (const std::string& line : app.dump())
            log(line);
        break;
    case V::Quit:
        app.queueInput(quitEvent());
        break;
    case V::Hold:
        holding_ = true;
        break;
    }
}

ScriptSource::ScriptSource(const std::string& path) : path_(path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ScriptError(path + ": cannot read the script");
    // Scripts are written by hand or by a recorder: far below this; /dev/zero is not a script.
    constexpr std::size_t kMaxBytes = 64u << 20;
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, std::size_t(in.gcount()));
        if (text.size() > kMaxBytes) throw ScriptError(path + ": the script is too long");
    }
    if (in.bad()) throw ScriptError(path + ": cannot read the script");
    std::size_t n = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        ++n;
        try {
            if (auto c = parseCommand(line)) commands_.emplace_back(n, std::move(*c));
        } catch (const ScriptError& e) {
            throw ScriptError(path_ + ":" + std::to_string(n) + ": " + e.what());
        }
    }
}

bool ScriptSource::next(Command& command) {
    if (pos_ >= commands_.size()) return false;
    command = commands_[pos_++].second;
    return true;
}

std::string ScriptSource::where() const {
    if (pos_ == 0) return path_;
    return path_ + ":" + std::to_string(commands_[pos_ - 1].first);
}

std::string scriptFailure() {
    if (!hasApp()) return {};
    auto* headless = dynamic_cast<HeadlessBackend*>(&app().backend());
    return headless ? headless->scriptFailure() : std::string();
}

} // namespace platform
