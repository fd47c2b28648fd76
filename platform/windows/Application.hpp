// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/RectList.hpp"
#include "platform/core/Types.hpp"
#include "platform/system/Options.hpp"
#include "platform/windows/Cursor.hpp"
#include "platform/windows/Input.hpp"
#include "platform/windows/Message.hpp"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

class Backend;
class Control;
class Form;

// The one application object: forms in z-order, the event loop and the virtual screen.
class Application {
public:
    Application(Options options, std::unique_ptr<Backend> backend);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the loop until terminate() or the main form closes.
    void run();
    // Handles whatever is pending (input, due timers, paints) without waiting, and updates the screen.
    void processMessages();
    // Brings the screen up to date, then blocks for ms (virtual time headless); timers do not fire meanwhile.
    void sleep(int ms);
    void terminate();
    bool terminated() const { return terminated_; }
    // After the main form closed: the loop may run again for a new main form.
    void resume() { terminated_ = false; }

    Form* mainForm() const { return mainForm_; }
    void setMainForm(Form* form) { mainForm_ = form; }
    Form* activeForm() const { return active_; }
    Form* modalForm() const { return modalStack_.empty() ? nullptr : modalStack_.back(); }
    // All forms, bottom of the z-order first.
    const std::vector<Form*>& forms() const { return forms_; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    void minimize();
    void raiseMainWindow();
    // True while the window cannot be seen; the screen is then neither composed nor shown.
    bool minimised() const;

    Size screenSize() const { return screenSize_; }
    Point cursorPos() const { return mouse_; }
    void setCursorPos(Point p);
    CursorId currentCursor() const { return cursor_; }
    const Options& options() const { return options_; }
    const std::vector<std::string>& args() const { return options_.args; }
    bool headless() const;
    Backend& backend() { return *backend_; }

    // The composed virtual screen, brought up to date first.
    const Bitmap& screen();
    // Paints what is invalid, composes the dirty parts and shows them.
    void presentScreen();
    // Runs fn on the loop soon; any thread.
    void post(std::function<void()> fn);
    // Backends queue input here.
    void queueInput(InputEvent event);
    bool hasPendingWork() const;
    // Reports an exception escaping an event handler (a message box), as the default handler does.
    void handleException(const std::exception& e);

    // Form and control bookkeeping (called by Form and Control).
    void addForm(Form& form);
    void removeForm(Form& form);
    void formShown(Form& form);
    void formHidden(Form& form);
    void activate(Form* form);
    void raiseForm(Form& form);
    void screenDirty(const Rect& screenRect);
    void forgetControl(Control& control);
    // One line per visible form and control (kind, name, bounds, text, state), for dumps.
    std::vector<std::string> dump() const;
    void beginCaptionDrag(Form& form);
    // Forgets pressed buttons and capture (after something else had the mouse).
    void resetMouse();
    int runModal(Form& form);

private:
    void loopUntil(const std::function<bool()>& done);
    void pass(const std::function<bool()>& done);
    void waitForInput();
    void dispatch(const InputEvent& e);
    void dispatchMouse(const InputEvent& e);
    void dispatchKey(const InputEvent& e);
    void deliverToControl(Control& c, Message& m);
    void updateHover();
    Form* formAt(int x, int y) const;
    bool acceptsInput(const Form& form) const;
    void paintForms();
    void compose(const Rect& r);
    void updateCursor(CursorId id);
    struct Target {
        Form* form = nullptr;
        Control* control = nullptr;
        std::weak_ptr<void> formLife, controlLife;
        bool alive() const;
        void set(Form* f, Control* c);
        void clear() { set(nullptr, nullptr); }
    };

    Options options_;
    std::unique_ptr<Backend> backend_;
    Size screenSize_;
    Bitmap screen_;
    RectList screenDirty_;
    RectList presentDirty_;
    std::vector<Rect> presentRects_;
    std::vector<Form*> paintList_;
    int paintDepth_ = 0;
    std::vector<Form*> forms_;
    std::vector<Form*> modalStack_;
    Form* mainForm_ = nullptr;
    Form* active_ = nullptr;
    std::string title_;
    bool terminated_ = false;
    std::deque<InputEvent> events_;
    std::mutex postMutex_;
    std::deque<std::function<void()>> posted_;
    Point mouse_{-1, -1};
    ShiftState buttons_ = 0;
    ShiftState keys_ = 0;
    Target capture_;
    Target hover_;
    Target lastPress_;
    Form* dragForm_ = nullptr;
    Point dragOffset_{};
    CursorId cursor_ = kCursorArrow;
};

// The application of the running program; initialize() makes it.
Application& app();
bool hasApp();
// Starts with a backend of the caller's (the test driver's).
void initialize(const Options& options, std::unique_ptr<Backend> backend);
// Ends it: the application is destroyed (forms must be gone by then).
void shutdown();

} // namespace platform
