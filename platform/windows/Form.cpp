// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/windows/Form.hpp"

#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Control.hpp"

#include <algorithm>
#include <cmath>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace platform {

namespace {

// Windows make their screen-sized pictures when shown and free them when hidden. With glibc's sliding
// threshold such a freed block raises it, and the next ones then stay in the heap after being freed; a
// fixed threshold keeps every large picture in its own mapping, returned to the system when freed.
void largeBlocksBackToTheSystem() {
#ifdef __GLIBC__
    static const bool done = mallopt(M_MMAP_THRESHOLD, 256 * 1024) != 0;
    (void)done;
#endif
}

} // namespace

Form::Form(std::string caption, Rect bounds) : caption_(std::move(caption)) {
    largeBlocksBackToTheSystem();
    backing_.canvas().setChangeListener([this](const Rect& r) { canvasChanged(r); });
    setBounds(bounds);
    app().addForm(*this);
}

Form::~Form() {
    if (hasApp()) {
        if (visible_) app().screenDirty(bounds_);
        app().removeForm(*this);
    }
}

void Form::setBounds(const Rect& bounds) {
    const Rect old = bounds_;
    const bool resized = bounds.width() != old.width() || bounds.height() != old.height();
    bounds_ = bounds;
    if (resized) {
        // A form nobody has drawn on or shown yet keeps no backing store.
        if (visible_ || !backing_.empty())
            makeBacking();
        else
            backing_.resize(0, 0);
        if (!spans_.empty()) spans_.resize(std::size_t(std::max(height(), 0)), {0, 0});
        invalidate();
    }
    if (visible_ && old != bounds_) {
        app().screenDirty(old);
        app().screenDirty(bounds_);
    }
    if (resized) resizeEvent();
}

void Form::setVisibleFlag(bool visible) {
    visible_ = visible;
}

void Form::makeBacking() {
    backing_.resize(std::max(width(), 0), std::max(height(), 0));
    backing_.canvas().resetClip();
}

void Form::show() {
    if (!visible_) {
        makeBacking();
        showEvent();
        visible_ = true;
        invalidate();
        app().formShown(*this);
    } else {
        bringToFront();
        app().activate(this);
    }
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    invalid_.clear();
    app().formHidden(*this);
    hideEvent();
    // Painting rebuilds it whole when the form is shown again.
    if (!visible_) backing_.resize(0, 0);
}

void Form::close() {
    if (!closeQueryEvent()) return;
    const auto life = lifeToken();
    closeEvent();
    if (life.expired()) return;
    if (modal_) {
        if (modalResult_ == kModalNone) modalResult_ = kModalCancel;
    } else {
        hide();
    }
    if (app().mainForm() == this) app().terminate();
}

void Form::bringToFront() {
    app().raiseForm(*this);
}

int Form::showModal() {
    return app().runModal(*this);
}

bool Form::active() const {
    return app().activeForm() == this;
}

void Form::setRoundRegion(const Rect& rect, int ellipseWidth, int ellipseHeight) {
    const int h = std::max(height(), 0);
    spans_.assign(std::size_t(h), {0, 0});
    const double a = std::max(ellipseWidth, 0) / 2.0, b = std::max(ellipseHeight, 0) / 2.0;
    for (int y = 0; y < h; ++y) {
        if (y < rect.top || y >= rect.bottom) continue;
        // Distance of the pixel row's centre into the corner band, if it lies in one.
        double dy = 0;
        const double cy = y + 0.5;
        if (cy < rect.top + b)
            dy = rect.top + b - cy;
        else if (cy > rect.bottom - b)
            dy = cy - (rect.bottom - b);
        int inset = 0;
        if (dy > 0 && b > 0) {
            const double t = std::min(dy / b, 1.0);
            inset = int(std::lround(a - a * std::sqrt(1.0 - t * t)));
        }
        const int l = std::max(rect.left + inset, 0), r = std::min(rect.right - inset, width());
        if (l < r) spans_[std::size_t(y)] = {l, r};
    }
    if (spans_.empty()) spans_.assign(1, {0, 0});
    if (visible_) app().screenDirty(bounds_);
}

void Form::clearRegion() {
    spans_.clear();
    if (visible_) app().screenDirty(bounds_);
}

void Form::rowSpan(int y, int& left, int& right) const {
    left = right = 0;
    if (y < 0 || y >= height()) return;
    if (spans_.empty()) {
        right = width();
        return;
    }
    if (std::size_t(y) >= spans_.size()) return;
    left = spans_[std::size_t(y)].first;
    right = spans_[std::size_t(y)].second;
}

bool Form::inRegion(int x, int y) const {
    int l, r;
    rowSpan(y, l, r);
    return x >= l && x < r;
}

Canvas& Form::canvas() {
    if (backing_.empty()) makeBacking();
    return backing_.canvas();
}

Bitmap& Form::backing() {
    if (backing_.empty()) makeBacking();
    return backing_;
}

void Form::canvasChanged(const Rect& r) {
    if (visible_) app().screenDirty(r.offset(left(), top()));
}

void Form::invalidate() {
    invalidate(clientRect());
}

void Form::invalidate(const Rect& rect) {
    if (!visible_) return;
    invalid_.add(rect.intersect(clientRect()));
}

void Form::update() {
    if (visible_ && !painting_) paintNow();
}

void Form::paintNow() {
    painting_ = true;
    const auto life = lifeToken();
    Canvas& c = canvas();
    // The lists are kept between paints so that a frame allocates nothing; a paint started inside a
    // paint handler gets its own.
    struct Depth {
        Form* form;
        const std::weak_ptr<void>& life;
        ~Depth() {
            if (!life.expired()) --form->paintDepth_;
        }
    } depth{this, life};
    std::vector<Rect> ownAreas;
    std::vector<Control*> ownList;
    const bool nested = paintDepth_++ > 0;
    std::vector<Rect>& areas = nested ? ownAreas : paintAreas_;
    std::vector<Control*>& list = nested ? ownList : paintControls_;
    // Painting may invalidate again (a control moved by a paint handler); that waits for the next pass.
    areas.assign(invalid_.rects().begin(), invalid_.rects().end());
    invalid_.clear();
    for (const Rect& area : areas) {
        paintArea_ = area;
        c.setClipRect(area);
        try {
            paintEvent();
            if (life.expired()) return;
            // A control may go away while others paint; walk a copy and check each is still there.
            list.assign(controls_.begin(), controls_.end());
            for (Control* ctl : list) {
                if (std::find(controls_.begin(), controls_.end(), ctl) == controls_.end()) continue;
                if (!ctl->visible() || ctl->bounds().intersect(area).empty()) continue;
                Message m;
                m.kind = MessageKind::Paint;
                m.rect = area;
                ctl->perform(m);
                if (life.expired()) return;
            }
        } catch (const std::exception& e) {
            c.resetClip();
            painting_ = false;
            app().handleException(e);
            return;
        }
    }
    c.resetClip();
    paintArea_ = {};
    painting_ = false;
}

void Form::setCursor(CursorId cursor) {
    cursor_ = cursor;
}

void Form::beginCaptionDrag() {
    app().beginCaptionDrag(*this);
}

Control* Form::controlAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control* c = *it;
        if (c->visible() && c->enabled() && c->bounds().contains(x, y)) return c;
    }
    return nullptr;
}

void Form::setFocusedControl(Control* control) {
    if (control == focused_) return;
    Control* old = focused_;
    focused_ = control;
    if (old) {
        Message m;
        m.kind = MessageKind::FocusChanged;
        m.focused = false;
        old->perform(m);
    }
    if (focused_) {
        Message m;
        m.kind = MessageKind::FocusChanged;
        m.focused = true;
        focused_->perform(m);
    }
}

} // namespace platform
