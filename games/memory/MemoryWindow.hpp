// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/memory/MemoryGame.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"

#include <cstddef>
#include <memory>

class GameButton;

// The memory game's window: covers the content area, composes background, buttons and cards off screen
// and shows the composition. Each showing deals a new game.
class MemoryWindow : public platform::Form {
public:
    // Raises FatalError code 1 when its pictures cannot be loaded.
    MemoryWindow();
    ~MemoryWindow() override;

    platform::Action A_Stop, A_NowaGra, A_Pomoc, A_EkranPaint;

    // What the board draws with and on.
    int tryb() const { return tryb_; }
    platform::Canvas& kanwaRobocza() { return robocza_.canvas(); }
    const platform::Bitmap& obrazRoboczy() const { return robocza_; }
    // Brings the composition to the screen now.
    void odswiez() { repaint(); }
    // Blocks the window for ms with what is on screen shown.
    void czekaj(int ms);

    // The current game; null before the first one and after a board that could not be built.
    MemoryGame* gra() const { return gra_.get(); }

    // Bytes of the window's own screen-sized pictures: none while hidden.
    std::size_t bajtyObrazow() const;

protected:
    void paintEvent() override;
    void showEvent() override;
    void hideEvent() override;
    void keyPressEvent(int charCode) override;
    void mouseWheelEvent(int delta, platform::ShiftState shift, int x, int y) override;

private:
    void A_StopExecute();
    void A_NowaGraExecute();
    void A_PomocExecute();
    void A_EkranPaintExecute();
    const char* plikTla() const;
    void zbudujObrazy();
    void zwolnijObrazy();

    int tryb_ = 0;
    int W = 0, H = 0;
    platform::Rect prostokat{};
    platform::Bitmap tlo_;     // kanwaTla's bitmap
    platform::Bitmap robocza_; // kanwaRobocza's bitmap
    std::unique_ptr<GameButton> przyciskStop_;
    std::unique_ptr<GameButton> przyciskPomoc_;
    std::unique_ptr<MemoryGame> gra_;
};

// The game's window while the program runs (set by start-up), else null.
extern MemoryWindow* fmMemory;
