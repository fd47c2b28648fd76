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
    // ekran: the window's own canvas; tlo: the canvas of the window's background bitmap, from which the
    // area under the button is restored. The click runs akcja (if given).
    MenuButton(platform::Form& okno, const std::string& nazwa, platform::Canvas& ekran, platform::Canvas& tlo,
               int left, int top, platform::Action* akcja);
    ~MenuButton() override;

    const char* kind() const override { return "MenuButton"; }

    // A negative coordinate keeps the current one.
    void ustawPozycje(int left, int top);
    // Mask and normal picture on kanwa; (-999, -999) means the button's own position.
    void rysujNa(platform::Canvas& kanwa, int left = -999, int top = -999);

protected:
    void windowProc(platform::Message& m) override;

private:
    // Background under the button, masked state picture over it, then the whole to the screen.
    void komponuj(const platform::Bitmap& obraz);
    void przeliczGranice();

    std::unique_ptr<platform::Bitmap> normalny_;
    std::unique_ptr<platform::Bitmap> aktywny_;
    std::unique_ptr<platform::Bitmap> wcisniety_;
    std::unique_ptr<platform::Bitmap> maska_;
    platform::Canvas* ekran_ = nullptr;
    platform::Canvas* tlo_ = nullptr;
    platform::Rect granice_{};
    platform::Rect lokalny_{};
    std::unique_ptr<platform::Bitmap> bufor_;
    bool gotowy_ = false;
};

// A picture button of the game windows: a fixed 70 x 60 hit area whose messages it hooks, drawing its
// current picture into the window's back buffer and copying that part to the window.
// Construction failures raise FatalError code 1.
class GameButton {
public:
    static constexpr int kSzerokosc = 70;
    static constexpr int kWysokosc = 60;

    // kanwa: the window's back-buffer canvas.
    GameButton(platform::Form& okno, const std::string& nazwa, platform::Canvas& kanwa, int left, int top,
               platform::Action* akcja);
    ~GameButton();
    GameButton(const GameButton&) = delete;
    GameButton& operator=(const GameButton&) = delete;

    // Mask and current picture into the back buffer at the hit area's position (nothing to the screen).
    void rysuj();
    void pokaz();
    // Nothing is redrawn: the window repaints its back buffer.
    void ukryj();
    platform::ImageControl& kontrolka() { return *kontrolka_; }

private:
    void procedura(platform::Message& m);

    std::unique_ptr<platform::Bitmap> normalny_;
    std::unique_ptr<platform::Bitmap> aktywny_;
    std::unique_ptr<platform::Bitmap> wcisniety_;
    std::unique_ptr<platform::Bitmap> maska_;
    const platform::Bitmap* biezacy_ = nullptr;
    std::unique_ptr<platform::ImageControl> kontrolka_;
    platform::Canvas* kanwa_;
    platform::Form* okno_;
    platform::Control::Procedure poprzednia_;
};
