// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ToggleButton.hpp"

#include "core/FatalError.hpp"
#include "core/ResourcePictures.hpp"

using platform::Bitmap;
using platform::CopyMode;

namespace {

std::unique_ptr<Bitmap> zasob(const std::string& nazwa) {
    auto b = std::make_unique<Bitmap>();
    OtworzBMP(nazwa, *b);
    return b;
}

} // namespace

ToggleButton::ToggleButton(platform::Form& okno, const std::string& nazwa, platform::Canvas& kanwa, int left,
                           int top, platform::Action* akcja, const std::string& sciezka)
    : kanwa_(&kanwa), left_(left), top_(top) {
    try {
        kontrolka_ = std::make_unique<platform::ImageControl>(okno);
        kontrolka_->hide();
        kontrolka_->acceptsDoubleClicks = false;
        kontrolka_->setPosition(left, top);
        if (akcja) kontrolka_->onClick = [akcja] { akcja->execute(); };
        if (nazwa.empty()) {
            paraWylaczony_ = std::make_unique<AlphaPicture>();
            paraWylaczony_->wczytajZParyBmp(sciezka + "_DB.xbi", sciezka + "_DW.xbi");
            paraWlaczony_ = std::make_unique<AlphaPicture>();
            paraWlaczony_->wczytajZParyBmp(sciezka + "_AB.xbi", sciezka + "_AW.xbi");
            kontrolka_->setSize(paraWlaczony_->szerokosc(), paraWlaczony_->wysokosc());
        } else {
            wlaczony_ = zasob(nazwa + "_A");
            wylaczony_ = zasob(nazwa + "_D");
            kontrolka_->setSize(wylaczony_->width(), wylaczony_->height());
        }
    } catch (...) {
        throw FatalError(1);
    }
}

ToggleButton::~ToggleButton() = default;

void ToggleButton::rysujStan() {
    kanwa_->setCopyMode(CopyMode::SrcCopy);
    if (paraWlaczony_) {
        // Blends over whatever the canvas shows now; the work bitmap is kept for the next draw.
        (stan_ ? paraWlaczony_ : paraWylaczony_)->rysujNaKanwie(*kanwa_, left_, top_, 255, false);
    } else {
        kanwa_->draw(left_, top_, stan_ ? *wlaczony_ : *wylaczony_);
    }
}

void ToggleButton::rysuj() {
    if (kontrolka_->visible()) rysujStan();
}

void ToggleButton::przelacz() {
    stan_ = stan_ ? 0 : 1;
    rysujStan();
    kontrolka_->invalidate();
}

void ToggleButton::ustawPozycje(int left, int top) {
    kontrolka_->setPosition(left > 0 ? left : kontrolka_->left(), top > 0 ? top : kontrolka_->top());
    left_ = kontrolka_->left();
    top_ = kontrolka_->top();
}
