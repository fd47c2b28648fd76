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
    static constexpr platform::CursorId kKursorCelownik = 5;

    // Raises FatalError code 1 when its pictures cannot be loaded.
    explicit FallingWindow(ProgramWindows& windows);
    ~FallingWindow() override;

    platform::Label vpSzukaj, vpSzukGloski;
    // One step of the falling pictures; while the program is minimised the timer only looks now and then
    // whether it is back, so a hidden game costs no CPU.
    static constexpr int kTaktMs = 25, kTaktUkrytegoMs = 250;
    platform::Timer t_Game{kTaktMs};

    GameButton& przyciskStop() { return *przyciskStop_; }
    GameButton& przyciskPomoc() { return *przyciskPomoc_; }

    // Pixels brought to the screen by paints so far (what a tick costs on screen).
    long long pomalowano() const { return pomalowano_; }

    // The current game; null between games.
    FallingGame* gra() const { return gra_.get(); }

    // The sight drawn in code: a red circle crossed by its diagonals, open in the middle.
    static platform::Bitmap rysujCelownik();

    // Bytes of the window's own screen-sized pictures: none while hidden.
    std::size_t bajtyObrazow() const override;

protected:
    void paintEvent() override;
    void showEvent() override;
    void hideEvent() override;
    void mouseDownEvent(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;
    void mouseMoveEvent(platform::ShiftState shift, int x, int y) override;
    void mouseWheelEvent(int delta, platform::ShiftState shift, int x, int y) override;

private:
    void A_StopExecute() override;
    void A_NowaGraExecute() override;
    void A_PomocExecute() override;
    void A_EkranPaintExecute() override;
    void zbudujObrazy() override;
    void tick();

    long long pomalowano_ = 0;
    bool sledzKursor_ = false; // the mouse-move rule for the sight is installed
    platform::Bitmap obrazTla_;
    std::unique_ptr<FallingGame> gra_;
};
