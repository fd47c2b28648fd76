// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/RectList.hpp"
#include "platform/core/Types.hpp"
#include "platform/windows/Cursor.hpp"
#include "platform/windows/Input.hpp"

#include <memory>
#include <string>
#include <vector>

namespace platform {

class Canvas;
class Control;

// Modal results, numbered like the framework the windows were designed for.
inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

// A borderless window on the virtual screen with its own backing store. Painting never erases: when a
// part is invalid, paintEvent runs with the canvas clipped to it, then the controls paint in z-order.
// Whatever is drawn on the canvas, in paintEvent or not, reaches the screen. The backing store is made
// when the form is first drawn on or shown and freed when it is hidden, so windows made up front or
// closed cost nothing; paintEvent must therefore draw the whole form.
class Form {
public:
    explicit Form(std::string caption = {}, Rect bounds = {});
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    std::string name;

    // Bounds on the virtual screen; the client area is the whole form.
    Rect bounds() const { return bounds_; }
    int left() const { return bounds_.left; }
    int top() const { return bounds_.top; }
    int width() const { return bounds_.width(); }
    int height() const { return bounds_.height(); }
    Rect clientRect() const { return {0, 0, width(), height()}; }
    void setBounds(const Rect& bounds);
    void setBounds(int left, int top, int width, int height) {
        setBounds(Rect::fromSize(left, top, width, height));
    }
    void setPosition(int left, int top) { setBounds(left, top, width(), height()); }
    void setSize(int width, int height) { setBounds(left(), top(), width, height); }
    Point clientToScreen(Point p) const { return {p.x + left(), p.y + top()}; }
    Point screenToClient(Point p) const { return {p.x - left(), p.y - top()}; }

    bool visible() const { return visible_; }
    // Shows the form on top of the others and makes it active.
    void show();
    void hide();
    // Asks closeQueryEvent, runs closeEvent and hides; a modal form ends its modal loop (result
    // kModalCancel unless one was set); closing the main form ends the program's loop.
    void close();
    void bringToFront();

    // Shows the form and runs a nested loop until a modal result is set or the form is closed or hidden;
    // meanwhile only this form gets input. Returns the modal result (kModalCancel when none was set).
    int showModal();
    int modalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    bool modal() const { return modal_; }
    bool active() const;

    // Shape: a rounded rectangle (form coordinates) with corner ellipses of the given size; pixels outside
    // are neither shown nor hit. clearRegion makes the whole form rectangular again.
    void setRoundRegion(const Rect& rect, int ellipseWidth, int ellipseHeight);
    void clearRegion();
    bool hasRegion() const { return !spans_.empty(); }
    bool inRegion(int x, int y) const;
    // Visible columns [left, right) of row y (form coordinates); empty when the row is outside.
    void rowSpan(int y, int& left, int& right) const;

    Canvas& canvas();
    Bitmap& backing();
    const Bitmap& backing() const { return backing_; }

    void invalidate();
    void invalidate(const Rect& rect);
    // Paints the invalid parts now.
    void update();
    void repaint() {
        invalidate();
        update();
    }
    bool needsPaint() const { return !invalid_.empty(); }
    // While paintEvent and the controls' paint run: the part being painted.
    Rect paintArea() const { return paintArea_; }

    CursorId cursor() const { return cursor_; }
    void setCursor(CursorId cursor);

    // Moves the form with the mouse, as if its caption had been grabbed, until the left button is released.
    // The current press is dropped first: the control under it gets no release and no click.
    void beginCaptionDrag();

    // Child controls in z-order (first paints first).
    const std::vector<Control*>& controls() const { return controls_; }
    Control* controlAt(int x, int y) const; // topmost visible, enabled control at a client point
    Control* focusedControl() const { return focused_; }
    void setFocusedControl(Control* control);

    std::weak_ptr<void> lifeToken() const { return life_; }

protected:
    virtual void paintEvent() {}
    virtual void showEvent() {}
    virtual void hideEvent() {}
    virtual void activateEvent() {}
    virtual void deactivateEvent() {}
    virtual bool closeQueryEvent() { return true; }
    virtual void closeEvent() {}
    virtual void resizeEvent() {}
    virtual void keyPressEvent(int /*charCode*/) {}
    virtual void keyDownEvent(Key /*key*/, ShiftState /*shift*/) {}
    virtual void mouseDownEvent(MouseButton /*button*/, ShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void mouseUpEvent(MouseButton /*button*/, ShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void mouseMoveEvent(ShiftState /*shift*/, int /*x*/, int /*y*/) {}
    // delta in notches, positive away from the user.
    virtual void mouseWheelEvent(int /*delta*/, ShiftState /*shift*/, int /*x*/, int /*y*/) {}
    // A file dropped onto the form (native path), at x, y in the form's coordinates.
    virtual void dropFileEvent(const std::string& /*nativePath*/, int /*x*/, int /*y*/) {}
    virtual void dblClickEvent() {}

private:
    friend class Application;
    friend class Control;
    void paintNow();
    void canvasChanged(const Rect& r);
    void setVisibleFlag(bool visible);
    void makeBacking();

    std::string caption_;
    Rect bounds_{};
    bool visible_ = false;
    bool modal_ = false;
    bool painting_ = false;
    int paintDepth_ = 0;
    std::vector<Rect> paintAreas_;
    std::vector<Control*> paintControls_;
    int modalResult_ = kModalNone;
    Bitmap backing_;
    RectList invalid_;
    Rect paintArea_{};
    CursorId cursor_ = kCursorDefault;
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    std::vector<std::pair<int, int>> spans_; // per row when a region is set
    std::shared_ptr<char> life_ = std::make_shared<char>();
};

} // namespace platform
