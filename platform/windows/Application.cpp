// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/windows/Application.hpp"

#include "platform/backends/Backend.hpp"
#include "platform/core/RowOps.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/loop/TimerQueue.hpp"
#include "platform/windows/Control.hpp"
#include "platform/windows/Form.hpp"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

std::unique_ptr<Application> theApp;

ShiftState buttonBit(MouseButton b) {
    switch (b) {
    case MouseButton::Left:
        return kLeftButton;
    case MouseButton::Right:
        return kRightButton;
    case MouseButton::Middle:
        return kMiddleButton;
    default:
        return 0;
    }
}

// Code points of UTF-8 text; malformed bytes come out as U+FFFD.
std::vector<int> codePoints(const std::string& s) {
    std::vector<int> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + std::size_t(n) > s.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        int cp = n == 1 ? c : c & (0x7F >> n);
        for (int k = 1; k < n; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + std::size_t(k)]) & 0x3F);
        out.push_back(cp);
        i += std::size_t(n);
    }
    return out;
}

} // namespace

Application& app() {
    if (!theApp) throw Error("the platform is not initialized");
    return *theApp;
}

bool hasApp() {
    return theApp != nullptr;
}

void initialize(const Options& options, std::unique_ptr<Backend> backend) {
    theApp.reset();
    theApp = std::make_unique<Application>(options, std::move(backend));
}

void shutdown() {
    theApp.reset();
}

bool Application::Target::alive() const {
    return form && !formLife.expired() && (!control || !controlLife.expired());
}

void Application::Target::set(Form* f, Control* c) {
    form = f;
    control = c;
    formLife = f ? f->lifeToken() : std::weak_ptr<void>();
    controlLife = c ? c->lifeToken() : std::weak_ptr<void>();
}

Application::Application(Options options, std::unique_ptr<Backend> backend)
    : options_(std::move(options)), backend_(std::move(backend)) {
    screenSize_ = backend_->screenSize();
    screen_ = Bitmap(screenSize_.width, screenSize_.height, PixelFormat::Bgra32);
    screenDirty(Rect{0, 0, screenSize_.width, screenSize_.height});
}

Application::~Application() {
    // Forms still registered belong to their owners; they only lose the application.
    forms_.clear();
}

bool Application::headless() const {
    return backend_->headless();
}

void Application::run() {
    loopUntil([] { return false; });
}

void Application::processMessages() {
    pass([] { return false; });
    presentScreen();
}

void Application::sleep(int ms) {
    presentScreen();
    if (ms > 0) backend_->blockFor(ms);
}

void Application::terminate() {
    terminated_ = true;
    backend_->wake();
}

void Application::setTitle(std::string title) {
    title_ = std::move(title);
    backend_->setTitle(title_);
}

void Application::minimize() {
    backend_->log("minimize");
    backend_->minimize();
}

bool Application::minimised() const {
    return backend_->minimised();
}

void Application::raiseMainWindow() {
    backend_->log("raise-main-window");
    backend_->raise();
    if (mainForm_ && mainForm_->visible() && modalStack_.empty()) activate(mainForm_);
}

void Application::setCursorPos(Point p) {
    mouse_ = p;
    backend_->warpMouse(p);
}

const Bitmap& Application::screen() {
    presentScreen();
    return screen_;
}

void Application::post(std::function<void()> fn) {
    {
        std::lock_guard lock(postMutex_);
        posted_.push_back(std::move(fn));
    }
    backend_->wake();
}

void Application::queueInput(InputEvent event) {
    events_.push_back(std::move(event));
}

bool Application::hasPendingWork() const {
    if (!events_.empty()) return true;
    {
        std::lock_guard lock(const_cast<std::mutex&>(postMutex_));
        if (!posted_.empty()) return true;
    }
    return std::any_of(forms_.begin(), forms_.end(), [](Form* f) { return f->visible() && f->needsPaint(); });
}

void Application::handleException(const std::exception& e) {
    presentScreen();
    backend_->messageBox(e.what(), title_, MessageIcon::Error, MessageButtons::Ok);
}

// ---- the loop

void Application::loopUntil(const std::function<bool()>& done) {
    while (!terminated_ && !done()) {
        pass(done);
        if (terminated_ || done()) break;
        waitForInput();
    }
}

void Application::pass(const std::function<bool()>& done) {
    backend_->pollEvents(*this);
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard lock(postMutex_);
            if (posted_.empty()) break;
            fn = std::move(posted_.front());
            posted_.pop_front();
        }
        try {
            fn();
        } catch (const std::exception& e) {
            handleException(e);
        }
        if (terminated_ || done()) return;
    }
    // A modal loop ending leaves the rest of the input to the loop outside it.
    while (!events_.empty() && !terminated_ && !done()) {
        const InputEvent e = std::move(events_.front());
        events_.pop_front();
        try {
            dispatch(e);
        } catch (const std::exception& ex) {
            handleException(ex);
        }
    }
    if (terminated_ || done()) return;
    try {
        TimerQueue::instance().fireDue(monotonicMs());
    } catch (const std::exception& e) {
        handleException(e);
    }
    if (terminated_) return;
    paintForms();
    updateHover();
}

void Application::waitForInput() {
    if (hasPendingWork()) return;
    presentScreen();
    const auto next = TimerQueue::instance().nextDue();
    const std::int64_t timeout = next ? std::max<std::int64_t>(0, *next - monotonicMs()) : -1;
    backend_->waitEvents(*this, timeout);
}

int Application::runModal(Form& form) {
    const auto life = form.lifeToken();
    form.modalResult_ = kModalNone;
    form.modal_ = true;
    // A modal window takes the mouse: whatever was pressed loses its capture.
    capture_.clear();
    dragForm_ = nullptr;
    Form* prev = active_;
    const auto prevLife = prev ? prev->lifeToken() : std::weak_ptr<void>();
    modalStack_.push_back(&form);
    if (form.visible()) {
        raiseForm(form);
        activate(&form);
    } else {
        form.show();
    }
    loopUntil([&] { return life.expired() || form.modalResult_ != kModalNone || !form.visible_; });
    if (life.expired()) return kModalCancel;
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), &form), modalStack_.end());
    form.modal_ = false;
    const int result = form.modalResult_ != kModalNone ? form.modalResult_ : kModalCancel;
    form.hide();
    if (prev && !prevLife.expired() && prev->visible()) activate(prev);
    return result;
}

// ---- forms

void Application::addForm(Form& form) {
    forms_.push_back(&form);
    if (!mainForm_) mainForm_ = &form;
}

void Application::removeForm(Form& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), &form), modalStack_.end());
    if (mainForm_ == &form) mainForm_ = nullptr;
    if (dragForm_ == &form) dragForm_ = nullptr;
    if (active_ == &form) {
        active_ = nullptr;
        for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
            if ((*it)->visible() && acceptsInput(**it)) {
                activate(*it);
                break;
            }
    }
}

void Application::formShown(Form& form) {
    backend_->log("form-shown " + form.caption());
    raiseForm(form);
    screenDirty(form.bounds());
    if (acceptsInput(form)) activate(&form);
}

void Application::formHidden(Form& form) {
    backend_->log("form-hidden " + form.caption());
    screenDirty(form.bounds());
    if (capture_.form == &form) capture_.clear();
    if (hover_.form == &form) hover_.clear();
    if (dragForm_ == &form) dragForm_ = nullptr;
    if (active_ == &form) {
        Form* next = nullptr;
        if (!modalStack_.empty() && modalStack_.back() != &form && modalStack_.back()->visible())
            next = modalStack_.back();
        for (auto it = forms_.rbegin(); !next && it != forms_.rend(); ++it)
            if (*it != &form && (*it)->visible() && acceptsInput(**it)) next = *it;
        activate(next);
    }
}

void Application::activate(Form* form) {
    if (form == active_) return;
    if (form && !acceptsInput(*form)) return;
    // Hover belongs to the active form: the control under the pointer is left first.
    if (hover_.alive() && hover_.control) {
        Control* c = hover_.control;
        hover_.clear();
        Message m;
        m.kind = MessageKind::MouseLeave;
        deliverToControl(*c, m);
    }
    hover_.clear();
    Form* old = active_;
    active_ = form;
    const bool oldAlive = old && std::find(forms_.begin(), forms_.end(), old) != forms_.end();
    // A focused edit shows its caret only while its form is active.
    if (oldAlive && old->focusedControl()) old->focusedControl()->invalidate();
    if (form && form->focusedControl()) form->focusedControl()->invalidate();
    if (oldAlive) old->deactivateEvent();
    if (form && active_ == form) form->activateEvent();
}

void Application::raiseForm(Form& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    forms_.push_back(&form);
    if (form.visible()) screenDirty(form.bounds());
}

bool Application::acceptsInput(const Form& form) const {
    return modalStack_.empty() || modalStack_.back() == &form;
}

Form* Application::formAt(int x, int y) const {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        Form* f = *it;
        if (f->visible() && f->bounds().contains(x, y) && f->inRegion(x - f->left(), y - f->top())) return f;
    }
    return nullptr;
}

void Application::forgetControl(Control& control) {
    if (capture_.control == &control) capture_.clear();
    if (hover_.control == &control) hover_.clear();
    if (lastPress_.control == &control) lastPress_.clear();
}

void Application::beginCaptionDrag(Form& form) {
    capture_.clear();
    lastPress_.clear();
    if (!(buttons_ & kLeftButton)) return;
    dragForm_ = &form;
    dragOffset_ = {mouse_.x - form.left(), mouse_.y - form.top()};
}

void Application::resetMouse() {
    capture_.clear();
    lastPress_.clear();
    dragForm_ = nullptr;
    buttons_ = 0;
}

// ---- input

void Application::dispatch(const InputEvent& e) {
    using T = InputEvent::Type;
    keys_ = e.keys & (kShift | kCtrl | kAlt);
    switch (e.type) {
    case T::MouseMove:
    case T::MouseDown:
    case T::MouseUp:
    case T::Wheel:
        dispatchMouse(e);
        break;
    case T::Char:
    case T::KeyDown:
    case T::Text:
        dispatchKey(e);
        break;
    case T::Quit:
        if (mainForm_)
            mainForm_->close();
        else
            terminate();
        break;
    case T::Expose:
        screenDirty(Rect{0, 0, screenSize_.width, screenSize_.height});
        break;
    case T::DropFile:
        // Goes where typed keys go: the window in front, which a modal window always is.
        if (active_ && active_->visible() && acceptsInput(*active_))
            active_->dropFileEvent(e.text, e.x - active_->left(), e.y - active_->top());
        break;
    }
}

void Application::deliverToControl(Control& c, Message& m) {
    c.perform(m);
}

void Application::dispatchMouse(const InputEvent& e) {
    using T = InputEvent::Type;
    mouse_ = {e.x, e.y};
    const ShiftState bit = buttonBit(e.button);
    if (e.type == T::MouseDown) buttons_ |= bit;
    if (e.type == T::MouseUp) buttons_ &= ~bit;
    const ShiftState shift = keys_ | buttons_;

    if (dragForm_) {
        Form* f = dragForm_;
        if (e.type == T::MouseMove) f->setPosition(e.x - dragOffset_.x, e.y - dragOffset_.y);
        if (!(buttons_ & kLeftButton)) dragForm_ = nullptr;
        return;
    }

    // Enter and leave come before the move that caused them.
    if (e.type == T::MouseMove) updateHover();

    Target target;
    if ((e.type == T::MouseMove || e.type == T::MouseUp) && capture_.alive()) {
        target = capture_;
    } else {
        Form* f = formAt(e.x, e.y);
        if (f && acceptsInput(*f)) target.set(f, f->controlAt(e.x - f->left(), e.y - f->top()));
    }
    if (e.type == T::MouseUp && !buttons_) capture_.clear();
    if (e.type == T::Wheel) {
        if (active_ && acceptsInput(*active_))
            active_->mouseWheelEvent(e.value, shift, e.x - active_->left(), e.y - active_->top());
        return;
    }
    if (!target.alive() || !acceptsInput(*target.form)) return;
    Form& form = *target.form;
    const int fx = e.x - form.left(), fy = e.y - form.top();

    bool dbl = false;
    if (e.type == T::MouseDown) {
        if (active_ != &form) activate(&form);
        if (!target.alive()) return;
        if (!capture_.alive()) capture_ = target;
        dbl = e.button == MouseButton::Left && e.clicks >= 2 && e.clicks % 2 == 0 && lastPress_.alive() &&
              lastPress_.form == target.form && lastPress_.control == target.control;
        lastPress_ = target;
    }

    if (Control* c = target.control) {
        Message m;
        m.x = fx - c->left();
        m.y = fy - c->top();
        m.shift = shift;
        switch (e.type) {
        case T::MouseMove:
            m.kind = MessageKind::MouseMove;
            break;
        case T::MouseDown:
            if (e.button == MouseButton::Left) {
                const bool asDouble = dbl && c->acceptsDoubleClicks;
                m.kind = asDouble ? MessageKind::LButtonDblClk : MessageKind::LButtonDown;
                if (asDouble) m.shift |= kDouble;
            } else {
                m.kind = e.button == MouseButton::Right ? MessageKind::RButtonDown : MessageKind::MButtonDown;
            }
            break;
        case T::MouseUp:
            m.kind = e.button == MouseButton::Left    ? MessageKind::LButtonUp
                     : e.button == MouseButton::Right ? MessageKind::RButtonUp
                                                      : MessageKind::MButtonUp;
            break;
        default:
            return;
        }
        deliverToControl(*c, m);
        return;
    }

    switch (e.type) {
    case T::MouseMove:
        form.mouseMoveEvent(shift, fx, fy);
        break;
    case T::MouseDown: {
        const auto life = form.lifeToken();
        if (dbl) {
            form.dblClickEvent();
            if (life.expired()) return;
        }
        form.mouseDownEvent(e.button, shift | (dbl ? ShiftState(kDouble) : 0u), fx, fy);
        break;
    }
    case T::MouseUp:
        form.mouseUpEvent(e.button, shift, fx, fy);
        break;
    default:
        break;
    }
}

void Application::dispatchKey(const InputEvent& e) {
    using T = InputEvent::Type;
    Form* form = active_;
    if (!form || !form->visible() || !acceptsInput(*form)) return;
    const auto life = form->lifeToken();
    auto focused = [&]() -> Control* {
        if (life.expired() || active_ != form) return nullptr;
        Control* c = form->focusedControl();
        return c && c->visible() && c->enabled() ? c : nullptr;
    };
    switch (e.type) {
    case T::Char:
        form->keyPressEvent(e.value);
        if (Control* c = focused()) c->keyPress(e.value);
        break;
    case T::KeyDown:
        form->keyDownEvent(e.key, keys_);
        if (Control* c = focused()) c->keyDown(e.key, keys_);
        break;
    case T::Text: {
        // The form hears every typed character, as the windows' key handlers expect.
        for (int cp : codePoints(e.text)) {
            if (life.expired() || active_ != form) return;
            form->keyPressEvent(cp);
        }
        if (Control* c = focused()) c->textInput(e.text);
        break;
    }
    default:
        break;
    }
}

void Application::updateHover() {
    Form* f = nullptr;
    Control* c = nullptr;
    if (mouse_.x >= 0 && mouse_.y >= 0) {
        f = formAt(mouse_.x, mouse_.y);
        if (f && f == active_ && acceptsInput(*f))
            c = f->controlAt(mouse_.x - f->left(), mouse_.y - f->top());
    }
    // While a control holds the mouse only it hears enter and leave.
    if (capture_.alive() && capture_.control && c != capture_.control) c = nullptr;
    const bool same =
        hover_.alive() ? (hover_.control == c && hover_.form == (c ? f : hover_.form)) : c == nullptr;
    if (!same) {
        Target old = hover_;
        if (c)
            hover_.set(f, c);
        else
            hover_.clear();
        if (old.alive() && old.control) {
            Message m;
            m.kind = MessageKind::MouseLeave;
            deliverToControl(*old.control, m);
        }
        if (hover_.alive() && hover_.control == c && c) {
            Message m;
            m.kind = MessageKind::MouseEnter;
            deliverToControl(*c, m);
        }
    }
    CursorId id = kCursorDefault;
    if (dragForm_)
        id = kCursorArrow;
    else if (capture_.alive() && capture_.control)
        id = capture_.control->cursor();
    else if (c)
        id = c->cursor();
    if (id == kCursorDefault && f) id = f->cursor();
    if (id == kCursorDefault) id = kCursorArrow;
    updateCursor(id);
}

void Application::updateCursor(CursorId id) {
    if (id == cursor_) return;
    cursor_ = id;
    backend_->setCursor(id);
}

// ---- painting and the screen

void Application::paintForms() {
    // Kept between passes so that a frame allocates nothing; a pass inside a paint handler gets its own.
    std::vector<Form*> own;
    std::vector<Form*>& list = paintDepth_ > 0 ? own : paintList_;
    list.assign(forms_.begin(), forms_.end());
    ++paintDepth_;
    struct Depth {
        int& n;
        ~Depth() { --n; }
    } depth{paintDepth_};
    for (Form* f : list) {
        if (std::find(forms_.begin(), forms_.end(), f) == forms_.end()) continue;
        if (f->visible() && f->needsPaint()) f->paintNow();
    }
}

void Application::screenDirty(const Rect& r) {
    screenDirty_.add(r.intersect(Rect{0, 0, screenSize_.width, screenSize_.height}));
}

void Application::presentScreen() {
    paintForms();
    // What changes meanwhile stays dirty and is shown when the window comes back.
    if (screenDirty_.empty() || backend_->minimised()) return;
    presentRects_.assign(screenDirty_.rects().begin(), screenDirty_.rects().end());
    screenDirty_.clear();
    for (const Rect& r : presentRects_)
        compose(r);
    backend_->present(screen_, presentRects_);
}

void Application::compose(const Rect& r) {
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* row = screen_.scanline(y) + std::size_t(r.left) * 4;
        for (int x = r.left; x < r.right; ++x, row += 4)
            row[0] = row[1] = row[2] = 0, row[3] = 255;
    }
    for (Form* f : forms_) {
        if (!f->visible()) continue;
        const Rect part = r.intersect(f->bounds());
        if (part.empty()) continue;
        const Bitmap& src = f->backing();
        for (int y = part.top; y < part.bottom; ++y) {
            const int fy = y - f->top();
            int l, rr;
            f->rowSpan(fy, l, rr);
            const int x0 = std::max(part.left, f->left() + l), x1 = std::min(part.right, f->left() + rr);
            if (x0 >= x1 || fy >= src.height()) continue;
            std::uint8_t* d = screen_.scanline(y) + std::size_t(x0) * 4;
            const int sx0 = x0 - f->left();
            const int n = std::min(x1, f->left() + src.width()) - x0;
            if (n <= 0) continue;
            if (src.format() == PixelFormat::Bgr24) {
                rows::widenOpaque(d, src.scanline(fy) + std::size_t(sx0) * 3, std::size_t(n));
            } else if (src.format() == PixelFormat::Bgra32) {
                rows::copyOpaque(d, src.scanline(fy) + std::size_t(sx0) * 4, std::size_t(n));
            } else {
                for (int i = 0; i < n; ++i, d += 4) {
                    const Color c = src.pixel(sx0 + i, fy);
                    d[0] = blueOf(c), d[1] = greenOf(c), d[2] = redOf(c), d[3] = 255;
                }
            }
        }
    }
}

} // namespace platform

namespace platform {

std::vector<std::string> Application::dump() const {
    auto box = [](const Rect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width()) + "x" +
               std::to_string(r.height());
    };
    std::vector<std::string> out;
    for (const Form* f : forms_) {
        if (!f->visible()) continue;
        std::string line = "form \"" + f->caption() + "\"";
        if (!f->name.empty()) line += " name=" + f->name;
        line += " bounds=" + box(f->bounds());
        if (f == active_) line += " active";
        if (f->modal()) line += " modal";
        out.push_back(line);
        for (const Control* c : f->controls()) {
            if (!c->visible()) continue;
            std::string l = std::string("  ") + c->kind();
            if (!c->name.empty()) l += " name=" + c->name;
            l += " bounds=" + box(c->bounds());
            if (!c->enabled()) l += " disabled";
            if (c->focused()) l += " focused";
            const std::string t = c->text();
            if (!t.empty()) l += " text=\"" + t + "\"";
            out.push_back(l);
        }
    }
    return out;
}

} // namespace platform
