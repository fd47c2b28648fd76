// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/GameWindow.hpp"
#include "games/falling/FallingGame.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Label.hpp"

#include <cstddef>
#include <memory>

class GameButton;

// The falling-pictures game's window: covers the content area, composes everything off screen and
// brings to the screen only what moved.
class FallingWindow : public GameWindow {
public:
    // The window's own cursor over the playing area.
    static constexpr platform::CursorId kCrosshairCursor = 5;

    // Raises FatalError code 1 when its pictures cannot be loaded.
    explicit FallingWindow(ProgramWindows& windows);
    ~FallingWindow() override;

    platform::Label vpSearch, vpSearchSound;
    // One step of the falling pictures; while the program is minimised the timer only looks now and then
    // whether it is back, so a hidden game costs no CPU.
    static constexpr int kTickMs = 25, kHiddenTickMs = 250;
    platform::Timer t_Game{kTickMs};

    GameButton& stopButton() { return *stopButton_; }
    GameButton& helpButton() { return *helpButton_; }

    // Pixels brought to the screen by paints so far (what a tick costs on screen).
    long long paintedArea() const { return paintedArea_; }

    // The current game; null between games.
    FallingGame* game() const { return game_.get(); }

    // The sight drawn in code: a red circle crossed by its diagonals, open in the middle.
    static platform::Bitmap drawCrosshair();

    // Bytes of the window's own screen-sized pictures: none while hidden.
    std::size_t pictureBytes() const override;

protected:
    void paintEvent() override;
    void showEvent() override;
    void hideEvent() override;
    void mouseDownEvent(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;
    void mouseMoveEvent(platform::ShiftState shift, int x, int y) override;
    void mouseWheelEvent(int delta, platform::ShiftState shift, int x, int y) override;

private:
    void A_StopExecute() override;
    void A_NewGameExecute() override;
    void A_HelpExecute() override;
    void A_ScreenPaintExecute() override;
    void buildPictures() override;
    void tick();

    long long paintedArea_ = 0;
    bool trackingCursor_ = false; // the mouse-move rule for the sight is installed
    platform::Bitmap backgroundPicture_;
    std::unique_ptr<FallingGame> game_;
};
