// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/_cokrag.hpp"

#include "app/Cdisplay.hpp"
#include "app/_cblad.hpp"
#include "gfx/Loadcorrectbitmap.hpp"

#include <string>

using platform::Bitmap;

namespace {

std::unique_ptr<Bitmap> jpeg(const std::string& sciezka) {
    auto b = std::make_unique<Bitmap>();
    wczytajJpeg(*b, sciezka);
    return b;
}

} // namespace

COkrag::COkrag(platform::Canvas& kanwa) : kanwa_(&kanwa) {
    const bool maly = display.mode() == TRYB_800;
    try {
        pierscien_ = jpeg(maly ? "Data\\Intf\\Spec\\Ring_s.xji" : "Data\\Intf\\Spec\\Ring_b.xji");
        maskaPierscienia_ = jpeg(maly ? "Data\\Intf\\Spec\\RingM_s.xji" : "Data\\Intf\\Spec\\RingM_b.xji");
        maskaObrazka_ = jpeg(maly ? "Data\\Bio\\_matr_ms.xji" : "Data\\Bio\\_matr_mb.xji");
    } catch (...) {
        throw CBlad(1);
    }
    const int w = display.areaWidth(), h = display.areaHeight();
    pierscienX_ = std::int16_t(w / 2 - pierscien_->width() / 2);
    pierscienY_ = std::int16_t(h / 2 - pierscien_->height() / 2);
    obrazekX_ = std::int16_t(w / 2 - maskaObrazka_->width() / 2);
    obrazekY_ = std::int16_t(h / 2 - maskaObrazka_->height() / 2);
}

COkrag::~COkrag() = default;

void COkrag::rysujPierscien() {
    rysujZMaska(*kanwa_, pierscienX_, pierscienY_, *maskaPierscienia_, *pierscien_);
}

void COkrag::rysujZObrazkiem(const Bitmap& obrazek) {
    rysujPierscien();
    rysujZMaska(*kanwa_, obrazekX_, obrazekY_, *maskaObrazka_, obrazek);
}
