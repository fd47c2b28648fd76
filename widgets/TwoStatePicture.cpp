// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/TwoStatePicture.hpp"

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

TwoStatePicture::TwoStatePicture(platform::Form& okno, const std::string& nazwa, platform::Canvas& kanwa,
                                 int left, int top, platform::Action* akcja)
    : kanwa_(&kanwa), left_(left), top_(top) {
    try {
        wlaczony_ = zasob(nazwa + "_A");
        wylaczony_ = zasob(nazwa + "_D");
        kontrolka_ = std::make_unique<platform::ImageControl>(okno);
        kontrolka_->setBounds(left, top, wylaczony_->width(), wylaczony_->height());
        if (akcja) kontrolka_->onClick = [akcja] { akcja->execute(); };
    } catch (...) {
        throw FatalError(1);
    }
}

TwoStatePicture::~TwoStatePicture() = default;

void TwoStatePicture::rysuj() {
    const Bitmap* obraz = stan_ == 0 ? wylaczony_.get() : stan_ == 1 ? wlaczony_.get() : nullptr;
    if (!obraz) return;
    kanwa_->setCopyMode(CopyMode::SrcCopy);
    kanwa_->draw(left_, top_, *obraz);
}

void TwoStatePicture::ustawStan(std::uint8_t stan) {
    stan_ = stan;
    rysuj();
}

void TwoStatePicture::pokaz() {
    kontrolka_->show();
}

void TwoStatePicture::ukryj() {
    kontrolka_->hide();
}

void TwoStatePicture::ustawPozycje(int left, int top) {
    kontrolka_->setPosition(left > 0 ? left : kontrolka_->left(), top > 0 ? top : kontrolka_->top());
    left_ = kontrolka_->left();
    top_ = kontrolka_->top();
}
