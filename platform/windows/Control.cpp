// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/windows/Control.hpp"

#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"

#include <algorithm>

namespace platform {

const char* messageName(MessageKind kind) {
    switch (kind) {
    case MessageKind::Paint:
        return "Paint";
    case MessageKind::MouseEnter:
        return "MouseEnter";
    case MessageKind::MouseLeave:
        return "MouseLeave";
    case MessageKind::LButtonDown:
        return "LButtonDown";
    case MessageKind::LButtonUp:
        return "LButtonUp";
    case MessageKind::LButtonDblClk:
        return "LButtonDblClk";
    case MessageKind::RButtonDown:
        return "RButtonDown";
    case MessageKind::RButtonUp:
        return "RButtonUp";
    case MessageKind::MButtonDown:
        return "MButtonDown";
    case MessageKind::MButtonUp:
        return "MButtonUp";
    case MessageKind::MouseMove:
        return "MouseMove";
    case MessageKind::MouseWheel:
        return "MouseWheel";
    case MessageKind::VisibleChanged:
        return "VisibleChanged";
    case MessageKind::EnabledChanged:
        return "EnabledChanged";
    case MessageKind::FocusChanged:
        return "FocusChanged";
    }
    return "?";
}

Control::Control(Form& form) : form_(&form) {
    form_->controls_.push_back(this);
}

Control::~Control() {
    auto& list = form_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (form_->focused_ == this) form_->focused_ = nullptr;
    if (visible_ && !bounds_.empty()) form_->invalidate(bounds_);
    if (hasApp()) app().forgetControl(*this);
}

Canvas& Control::canvas() const {
    return form_->canvas();
}

void Control::setBounds(const Rect& bounds) {
    if (bounds == bounds_) return;
    const Rect old = bounds_;
    bounds_ = bounds;
    if (visible_) {
        form_->invalidate(old);
        form_->invalidate(bounds_);
    }
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (!visible_ && form_->focused_ == this) form_->setFocusedControl(nullptr);
    Message m;
    m.kind = MessageKind::VisibleChanged;
    perform(m);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Message m;
    m.kind = MessageKind::EnabledChanged;
    perform(m);
}

void Control::setCursor(CursorId cursor) {
    cursor_ = cursor;
}

void Control::bringToFront() {
    auto& list = form_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    invalidate();
}

void Control::sendToBack() {
    auto& list = form_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    invalidate();
}

void Control::invalidate() {
    if (visible_) form_->invalidate(bounds_);
}

bool Control::focused() const {
    return form_->focused_ == this;
}

void Control::setFocus() {
    if (canFocus() && visible_ && enabled_) form_->setFocusedControl(this);
}

void Control::perform(Message& message) {
    if (procedure_) {
        auto proc = procedure_; // the procedure may replace itself
        proc(message);
    } else {
        windowProc(message);
    }
}

Control::Procedure Control::windowProcedure() const {
    if (procedure_) return procedure_;
    return [this](Message& m) { const_cast<Control*>(this)->windowProc(m); };
}

void Control::setWindowProcedure(Procedure procedure) {
    procedure_ = std::move(procedure);
}

void Control::windowProc(Message& m) {
    const auto life = lifeToken();
    auto button = [&]() -> MouseButton {
        switch (m.kind) {
        case MessageKind::RButtonDown:
        case MessageKind::RButtonUp:
            return MouseButton::Right;
        case MessageKind::MButtonDown:
        case MessageKind::MButtonUp:
            return MouseButton::Middle;
        default:
            return MouseButton::Left;
        }
    };
    switch (m.kind) {
    case MessageKind::Paint: {
        Canvas& c = canvas();
        const Rect area = m.rect.intersect(bounds_);
        if (area.empty()) break;
        const Rect saved = c.clipRect();
        c.setClipRect(area);
        paint(c, area);
        c.setClipRect(saved);
        break;
    }
    case MessageKind::MouseEnter:
        if (onMouseEnter) onMouseEnter();
        break;
    case MessageKind::MouseLeave:
        if (onMouseLeave) onMouseLeave();
        break;
    case MessageKind::LButtonDown:
        clicked_ = true;
        if (canFocus()) setFocus();
        if (onMouseDown) onMouseDown(MouseButton::Left, m.shift, m.x, m.y);
        break;
    case MessageKind::LButtonDblClk:
        // The framework's way: the second press of a double click is no click of its own.
        if (onDblClick) onDblClick();
        if (life.expired()) return;
        if (onMouseDown) onMouseDown(MouseButton::Left, m.shift | kDouble, m.x, m.y);
        break;
    case MessageKind::RButtonDown:
    case MessageKind::MButtonDown:
        if (onMouseDown) onMouseDown(button(), m.shift, m.x, m.y);
        break;
    case MessageKind::LButtonUp: {
        const bool click = clicked_ && m.x >= 0 && m.y >= 0 && m.x < width() && m.y < height();
        clicked_ = false;
        if (click && onClick) {
            auto handler = onClick;
            handler();
            if (life.expired()) return;
        }
        if (onMouseUp) onMouseUp(MouseButton::Left, m.shift, m.x, m.y);
        break;
    }
    case MessageKind::RButtonUp:
    case MessageKind::MButtonUp:
        if (onMouseUp) onMouseUp(button(), m.shift, m.x, m.y);
        break;
    case MessageKind::MouseMove:
        if (onMouseMove) onMouseMove(MouseButton::None, m.shift, m.x, m.y);
        break;
    case MessageKind::VisibleChanged:
        form_->invalidate(bounds_);
        break;
    case MessageKind::EnabledChanged:
    case MessageKind::FocusChanged:
        invalidate();
        break;
    case MessageKind::MouseWheel:
        break;
    }
}

} // namespace platform
