// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/RingOverlay.hpp"

#include "core/FatalError.hpp"
#include "core/ScreenLayout.hpp"
#include "pictures/PictureFiles.hpp"

#include <string>

using platform::Bitmap;

namespace {

std::unique_ptr<Bitmap> jpeg(const std::string& sciezka) {
    auto b = std::make_unique<Bitmap>();
    wczytajJpeg(*b, sciezka);
    return b;
}

} // namespace

RingOverlay::RingOverlay(platform::Canvas& kanwa, const ScreenLayout& layout) : kanwa_(&kanwa) {
    const bool maly = layout.mode() == TRYB_800;
    try {
        pierscien_ = jpeg(maly ? "Data\\Intf\\Spec\\Ring_s.xji" : "Data\\Intf\\Spec\\Ring_b.xji");
        maskaPierscienia_ = jpeg(maly ? "Data\\Intf\\Spec\\RingM_s.xji" : "Data\\Intf\\Spec\\RingM_b.xji");
        maskaObrazka_ = jpeg(maly ? "Data\\Bio\\_matr_ms.xji" : "Data\\Bio\\_matr_mb.xji");
    } catch (...) {
        throw FatalError(1);
    }
    const int w = layout.areaWidth(), h = layout.areaHeight();
    pierscienX_ = std::int16_t(w / 2 - pierscien_->width() / 2);
    pierscienY_ = std::int16_t(h / 2 - pierscien_->height() / 2);
    obrazekX_ = std::int16_t(w / 2 - maskaObrazka_->width() / 2);
    obrazekY_ = std::int16_t(h / 2 - maskaObrazka_->height() / 2);
}

RingOverlay::~RingOverlay() = default;

void RingOverlay::rysujPierscien() {
    rysujZMaska(*kanwa_, pierscienX_, pierscienY_, *maskaPierscienia_, *pierscien_);
}

void RingOverlay::rysujZObrazkiem(const Bitmap& obrazek) {
    rysujPierscien();
    rysujZMaska(*kanwa_, obrazekX_, obrazekY_, *maskaObrazka_, obrazek);
}
