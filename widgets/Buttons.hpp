// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Control.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Message.hpp"

#include <memory>
#include <string>

// A picture button that is itself the hit area: it draws its state pictures (N_D normal, N_A active,
// N_ pressed, masked by N_M) straight onto the window's canvas over the window's background.
// Construction failures raise FatalError code 1.
class MenuButton : public platform::ImageControl {
public:
    // screen: the window's own canvas; background: the canvas of the window's background bitmap, from which
    // the area under the button is restored. The click runs action (if given).
    MenuButton(platform::Form& window, const std::string& name, platform::Canvas& screen,
               platform::Canvas& background, int left, int top, platform::Action* action);
    ~MenuButton() override;

    const char* kind() const override { return "MenuButton"; }

    // A negative coordinate keeps the current one.
    void placeAt(int left, int top);
    // Mask and normal picture on canvas; (-999, -999) means the button's own position.
    void drawOn(platform::Canvas& canvas, int left = -999, int top = -999);

protected:
    void windowProc(platform::Message& m) override;

private:
    // Background under the button, masked state picture over it, then the whole to the screen.
    void compose(const platform::Bitmap& picture);
    void recomputeBounds();

    std::unique_ptr<platform::Bitmap> normal_;
    std::unique_ptr<platform::Bitmap> active_;
    std::unique_ptr<platform::Bitmap> pressed_;
    std::unique_ptr<platform::Bitmap> mask_;
    platform::Canvas* screen_ = nullptr;
    platform::Canvas* background_ = nullptr;
    platform::Rect frame_{};
    platform::Rect localRect_{};
    std::unique_ptr<platform::Bitmap> buffer_;
    bool ready_ = false;
};

// A picture button of the game windows: a fixed 70 x 60 hit area whose messages it hooks, drawing its
// current picture into the window's back buffer and copying that part to the window.
// Construction failures raise FatalError code 1.
class GameButton {
public:
    static constexpr int kButtonWidth = 70;
    static constexpr int kButtonHeight = 60;

    // canvas: the window's back-buffer canvas.
    GameButton(platform::Form& window, const std::string& name, platform::Canvas& canvas, int left, int top,
               platform::Action* action);
    ~GameButton();
    GameButton(const GameButton&) = delete;
    GameButton& operator=(const GameButton&) = delete;

    // Mask and current picture into the back buffer at the hit area's position (nothing to the screen).
    void draw();
    void show();
    // Nothing is redrawn: the window repaints its back buffer.
    void hide();
    platform::ImageControl& control() { return *control_; }

private:
    void messageProcedure(platform::Message& m);

    std::unique_ptr<platform::Bitmap> normal_;
    std::unique_ptr<platform::Bitmap> active_;
    std::unique_ptr<platform::Bitmap> pressed_;
    std::unique_ptr<platform::Bitmap> mask_;
    const platform::Bitmap* biezacy_ = nullptr;
    std::unique_ptr<platform::ImageControl> control_;
    platform::Canvas* canvas_;
    platform::Form* window_;
    platform::Control::Procedure previous_;
};
