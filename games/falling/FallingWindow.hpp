// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/falling/FallingGame.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Label.hpp"

#include <cstddef>
#include <memory>

class GameButton;

// The falling-pictures game's window: covers the content area, composes everything off screen and
// brings to the screen only what moved.
class FallingWindow : public platform::Form {
public:
    // The window's own cursor over the playing area.
    static constexpr platform::CursorId kKursorCelownik = 5;

    // Raises FatalError code 1 when its pictures cannot be loaded.
    FallingWindow();
    ~FallingWindow() override;

    platform::Action A_Stop, A_NowaGra, A_Pomoc, A_EkranPaint;
    platform::Label vpSzukaj, vpSzukGloski;
    // One step of the falling pictures; while the program is minimised the timer only looks now and then
    // whether it is back, so a hidden game costs no CPU.
    static constexpr int kTaktMs = 25, kTaktUkrytegoMs = 250;
    platform::Timer t_Game{kTaktMs};

    int tryb() const { return tryb_; }
    platform::Canvas& kanwaRobocza() { return robocza_.canvas(); }
    platform::Canvas& kanwaTla() { return tlo_.canvas(); }
    const platform::Bitmap& obrazRoboczy() const { return robocza_; }
    GameButton& przyciskStop() { return *przyciskStop_; }
    GameButton& przyciskPomoc() { return *przyciskPomoc_; }

    // Pixels brought to the screen by paints so far (what a tick costs on screen).
    long long pomalowano() const { return pomalowano_; }

    // The current game; null between games.
    FallingGame* gra() const { return gra_.get(); }

    // The sight drawn in code: a red circle crossed by its diagonals, open in the middle.
    static platform::Bitmap rysujCelownik();

    // Bytes of the window's own screen-sized pictures: none while hidden.
    std::size_t bajtyObrazow() const;

protected:
    void paintEvent() override;
    void showEvent() override;
    void hideEvent() override;
    void keyPressEvent(int charCode) override;
    void mouseDownEvent(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;
    void mouseMoveEvent(platform::ShiftState shift, int x, int y) override;
    void mouseWheelEvent(int delta, platform::ShiftState shift, int x, int y) override;

private:
    void A_StopExecute();
    void A_NowaGraExecute();
    void A_PomocExecute();
    void A_EkranPaintExecute();
    const char* plikTla() const;
    void zbudujObrazy();
    void zwolnijObrazy();
    void tick();

    int tryb_ = 0;
    int W = 0, H = 0;
    platform::Rect prostokat{};
    long long pomalowano_ = 0;
    bool sledzKursor_ = false; // the mouse-move rule for the sight is installed
    platform::Bitmap obrazTla_;
    platform::Bitmap tlo_;     // kanwaTla's bitmap
    platform::Bitmap robocza_; // kanwaRobocza's bitmap
    std::unique_ptr<GameButton> przyciskStop_;
    std::unique_ptr<GameButton> przyciskPomoc_;
    std::unique_ptr<FallingGame> gra_;
};

// The game's window while the program runs (set by start-up), else null.
extern FallingWindow* fmSpadajace;
