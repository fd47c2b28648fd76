// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"
#include "platform/windows/Cursor.hpp"
#include "platform/windows/Input.hpp"
#include "platform/windows/Message.hpp"

#include <functional>
#include <memory>
#include <string>

namespace platform {

class Canvas;
class Form;

// A child of a form: a rectangle on it that receives mouse messages and paints itself on the form's
// canvas. Every message goes through the control's message procedure: by default windowProc, which
// subclasses override; an owner can also save the current procedure, install its own and forward to
// the saved one.
class Control {
public:
    using Procedure = std::function<void(Message&)>;
    using MouseHandler = std::function<void(MouseButton button, ShiftState shift, int x, int y)>;

    explicit Control(Form& form);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return *form_; }
    virtual const char* kind() const { return "Control"; }
    // What a dump shows as the control's text (a caption, an edit's contents).
    virtual std::string text() const { return {}; }
    std::string name;

    Rect bounds() const { return bounds_; }
    int left() const { return bounds_.left; }
    int top() const { return bounds_.top; }
    int width() const { return bounds_.width(); }
    int height() const { return bounds_.height(); }
    // Moving or resizing invalidates the old and the new rectangle on the form.
    void setBounds(const Rect& bounds);
    void setBounds(int left, int top, int width, int height) {
        setBounds(Rect::fromSize(left, top, width, height));
    }
    void setPosition(int left, int top) { setBounds(left, top, width(), height()); }
    void setSize(int width, int height) { setBounds(left(), top(), width, height); }
    void setLeft(int v) { setPosition(v, top()); }
    void setTop(int v) { setPosition(left(), v); }
    void setWidth(int v) { setSize(v, height()); }
    void setHeight(int v) { setSize(width(), v); }

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    CursorId cursor() const { return cursor_; }
    void setCursor(CursorId cursor);
    // Off: the second press of a double click arrives as an ordinary press.
    bool acceptsDoubleClicks = true;

    // Painting order among the form's controls; later ones paint over earlier ones and are hit first.
    void bringToFront();
    void sendToBack();

    void invalidate();
    bool focused() const;
    void setFocus();
    virtual bool canFocus() const { return false; }

    // Sends a message through the current procedure.
    void perform(Message& message);
    Procedure windowProcedure() const;
    // An empty procedure restores windowProc.
    void setWindowProcedure(Procedure procedure);
    // Liveness token: expires when the control is destroyed.
    std::weak_ptr<void> lifeToken() const { return life_; }

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;
    std::function<void()> onMouseEnter;
    std::function<void()> onMouseLeave;

    // Keyboard input while focused (on the focused control of the active form).
    virtual void keyPress(int /*charCode*/) {}
    virtual void keyDown(Key /*key*/, ShiftState /*shift*/) {}
    virtual void textInput(const std::string& /*utf8*/) {}

protected:
    // Default handling: turns messages into the on... events and paints.
    virtual void windowProc(Message& message);
    // Draws the control on the form's canvas, clipped to the part being painted. Default: nothing.
    virtual void paint(Canvas& /*canvas*/, const Rect& /*area*/) {}
    Canvas& canvas() const;

private:
    Form* form_;
    Rect bounds_{};
    bool visible_ = true;
    bool enabled_ = true;
    bool clicked_ = false; // pressed with the left button; the release on it clicks
    CursorId cursor_ = kCursorDefault;
    Procedure procedure_;
    std::shared_ptr<char> life_ = std::make_shared<char>();
};

} // namespace platform
