// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"

#include <memory>
#include <string>

// A positioned resource picture (a caption) that can save the background under it and put it back.
// A picture that cannot be loaded, or a background that cannot be saved, raises FatalError code 1.
class Caption {
public:
    // The resource name is used as it stands, without a state suffix.
    explicit Caption(const std::string& nazwa);
    Caption(const Caption&) = delete;
    Caption& operator=(const Caption&) = delete;

    int szerokosc() const { return szerokosc_; }
    int wysokosc() const { return wysokosc_; }
    int x() const { return x_; }
    int y() const { return y_; }
    void ustawPozycje(int x, int y);

    // Plain draw of the picture at (x, y).
    void rysuj(platform::Canvas& kanwa);
    // Keeps the canvas area the picture covers (its size at (x, y)).
    void zapiszTlo(platform::Canvas& kanwa);
    // Puts the kept area back, erasing the picture; nothing before a background was saved.
    void rysujTlo(platform::Canvas& kanwa);

private:
    int x_ = 0;
    int y_ = 0;
    int szerokosc_ = 0;
    int wysokosc_ = 0;
    std::unique_ptr<platform::Bitmap> obraz_;
    std::unique_ptr<platform::Bitmap> tlo_;
};
