// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"

#include <cstddef>
#include <memory>
#include <string>

class GameButton;
class ProgramWindows;
struct ProgramContext;

// What the four game windows share: they cover the content area, compose background, buttons and game
// off screen and show the composition; their screen-sized pictures exist only while they are shown; keys
// and the stop button end a game by appending its record and showing the results.
class GameWindow : public platform::Form {
public:
    ~GameWindow() override;

    platform::Action A_Stop, A_NowaGra, A_Pomoc, A_EkranPaint;

    // What the game draws with and on.
    int tryb() const { return tryb_; }
    platform::Canvas& kanwaRobocza() { return robocza_.canvas(); }
    platform::Canvas& kanwaTla() { return tlo_.canvas(); }
    const platform::Bitmap& obrazRoboczy() const { return robocza_; }
    // Brings the composition to the screen now.
    void odswiez() { repaint(); }
    // Blocks the window for ms with what is on screen shown.
    void czekaj(int ms);

    // Bytes of the window's own screen-sized pictures: none while hidden.
    virtual std::size_t bajtyObrazow() const;

    // What the game shares with the rest of the program.
    ProgramContext& context() const { return context_; }

protected:
    // Reads the layout's background once, so that a missing picture stops start-up (FatalError code 1),
    // and covers the content area.
    GameWindow(ProgramWindows& windows, const char* title, const char* windowName, std::string background800,
               std::string background1024);

    virtual void A_StopExecute() = 0;
    virtual void A_NowaGraExecute() = 0;
    virtual void A_PomocExecute() = 0;
    virtual void A_EkranPaintExecute() = 0;

    void paintEvent() override;
    // Any key is activity; Esc ends the game.
    void keyPressEvent(int charCode) override;

    // The background and the composition, made when the window is shown and freed when it is hidden.
    virtual void zbudujObrazy();
    virtual void zwolnijObrazy();

    // Ending a game: while its results are on screen a second end does nothing; otherwise its record is
    // appended, then the results are shown (1: play again, kModalCancel: back to the menu).
    bool wynikiNaEkranie() const;
    void zapiszGre(bool ukonczona);
    int pokazWyniki();

    const std::string& plikTla() const { return plikTla_; }

    ProgramWindows& windows_;
    ProgramContext& context_;
    int tryb_ = 0;
    int W = 0, H = 0;
    platform::Rect prostokat{};
    platform::Bitmap tlo_;     // kanwaTla's bitmap
    platform::Bitmap robocza_; // kanwaRobocza's bitmap
    std::unique_ptr<GameButton> przyciskStop_;
    std::unique_ptr<GameButton> przyciskPomoc_;

private:
    std::string plikTla_;
};
