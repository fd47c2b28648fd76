// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Message.hpp"

#include <cstdint>
#include <memory>
#include <string>

// The scroll thumb: one picture (N_D masked by N_M) drawn over the window's background, the same in
// every state. Unlike the other picture controls a failed construction re-raises the original error.
class ScrollThumb : public platform::ImageControl {
public:
    ScrollThumb(platform::Form& okno, const std::string& nazwa, platform::Canvas& ekran,
                platform::Canvas& tlo, int left, int top, platform::Action* akcja);
    ~ScrollThumb() override;

    const char* kind() const override { return "CScrollBut"; }

    // A negative coordinate keeps the current one.
    void ustawPozycje(int left, int top);
    bool wcisniety() const { return wcisniety_ != 0; }

protected:
    void windowProc(platform::Message& m) override;

private:
    void odrysuj();
    void przeliczGranice();

    std::unique_ptr<platform::Bitmap> obraz_;
    std::unique_ptr<platform::Bitmap> maska_;
    platform::Canvas* ekran_ = nullptr;
    platform::Canvas* tlo_ = nullptr;
    platform::Rect granice_{};
    platform::Rect lokalny_{};
    std::unique_ptr<platform::Bitmap> bufor_;
    std::int16_t wcisniety_ = 0;
    bool gotowy_ = false;
};

// Position indicator beside a list: the thumb moves one fixed step per row the list scrolls; the user
// does not drag it.
class ScrollBar {
public:
    ScrollBar(platform::Form& okno, int x, int y, platform::Canvas& ekran, platform::Canvas& tlo);
    ~ScrollBar();
    ScrollBar(const ScrollBar&) = delete;
    ScrollBar& operator=(const ScrollBar&) = delete;

    void pokaz();
    void ukryj();
    // Thumb to (x, top); the step spreads bottom - top over 22 rows.
    void ustawZakres(int x, int top, int bottom);
    void krokWDol();
    void krokWGore();

    int x() const { return x_; }
    int y() const { return y_; }
    int krok() const { return krok_; }
    ScrollThumb& kciuk() { return *kciuk_; }

private:
    int x_;
    int y_;
    int krok_ = 8;
    std::unique_ptr<ScrollThumb> kciuk_;
    platform::Canvas* ekran_;
};
