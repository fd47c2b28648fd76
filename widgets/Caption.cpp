// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Caption.hpp"

#include "core/FatalError.hpp"
#include "core/ResourcePictures.hpp"

using platform::Bitmap;
using platform::Canvas;
using platform::CopyMode;
using platform::Rect;

Caption::Caption(const std::string& nazwa) {
    try {
        obraz_ = std::make_unique<Bitmap>();
        OtworzBMP(nazwa, *obraz_);
    } catch (...) {
        throw FatalError(1);
    }
    szerokosc_ = obraz_->width();
    wysokosc_ = obraz_->height();
}

void Caption::ustawPozycje(int x, int y) {
    x_ = x;
    y_ = y;
}

void Caption::rysuj(Canvas& kanwa) {
    kanwa.setCopyMode(CopyMode::SrcCopy);
    kanwa.draw(x_, y_, *obraz_);
}

void Caption::zapiszTlo(Canvas& kanwa) {
    try {
        // Built aside, so a failure keeps the background saved before.
        auto tlo = std::make_unique<Bitmap>(szerokosc_, wysokosc_, kanwa.bitmap().format());
        tlo->palette() = kanwa.bitmap().palette();
        Canvas& c = tlo->canvas();
        c.setCopyMode(CopyMode::SrcCopy);
        c.copyRect(Rect{0, 0, szerokosc_, wysokosc_}, kanwa, Rect::fromSize(x_, y_, szerokosc_, wysokosc_));
        tlo_ = std::move(tlo);
    } catch (...) {
        throw FatalError(1);
    }
}

void Caption::rysujTlo(Canvas& kanwa) {
    if (!tlo_) return;
    kanwa.setCopyMode(CopyMode::SrcCopy);
    kanwa.draw(x_, y_, *tlo_);
}
