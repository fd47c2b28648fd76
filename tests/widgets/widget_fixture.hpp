// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Small resource pictures and windows for the picture-widget tests.
#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "tests/platform/temp_dir.hpp"
#include "tests/support/TestDriver.hpp"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace wt {

using platform::Bitmap;
using platform::Color;
using platform::rgb;

// Colours of the test button's states inside its shape.
inline constexpr Color kNormalny = rgb(200, 0, 0);
inline constexpr Color kAktywny = rgb(0, 200, 0);
inline constexpr Color kWcisniety = rgb(0, 0, 200);
inline constexpr Color kWylaczony = rgb(250, 150, 0);
inline constexpr Color kWlaczony = rgb(0, 150, 250);

// Test pictures are 20 x 10; the shape is the block x 2..17, y 2..7.
inline constexpr int kSzer = 20;
inline constexpr int kWys = 10;
inline bool wKsztalcie(int x, int y) {
    return x >= 2 && x < 18 && y >= 2 && y < 8;
}

inline void zapiszBmp(const std::string& sciezka, const Bitmap& b) {
    std::filesystem::create_directories(std::filesystem::path(sciezka).parent_path());
    const auto bajty = platform::image::encodeBmp(b);
    std::ofstream(sciezka, std::ios::binary).write(reinterpret_cast<const char*>(bajty.data()), bajty.size());
}

inline void zapiszJpeg(const std::string& sciezka, const Bitmap& b) {
    std::filesystem::create_directories(std::filesystem::path(sciezka).parent_path());
    const auto bajty = platform::image::encodeJpeg(b, 100);
    std::ofstream(sciezka, std::ios::binary).write(reinterpret_cast<const char*>(bajty.data()), bajty.size());
}

// colour inside the shape, outside white (a state picture), or white inside, black outside (a mask).
inline Bitmap ksztalt(Color wewnatrz, Color zewnatrz, int szer = kSzer, int wys = kWys) {
    Bitmap b(szer, wys);
    for (int y = 0; y < wys; ++y)
        for (int x = 0; x < szer; ++x)
            b.setPixel(x, y, wKsztalcie(x, y) ? wewnatrz : zewnatrz);
    return b;
}

inline Bitmap jednolity(int szer, int wys, Color c) {
    Bitmap b(szer, wys);
    for (int y = 0; y < wys; ++y)
        for (int x = 0; x < szer; ++x)
            b.setPixel(x, y, c);
    return b;
}

// Resource directory of the program under test.
class Zasoby {
public:
    std::string prog() const { return roots_.prog(); }
    std::string zasob(const std::string& nazwa) const {
        return roots_.prog() + "/Resource/" + nazwa + ".bmp";
    }
    void zapisz(const std::string& nazwa, const Bitmap& b) const { zapiszBmp(zasob(nazwa), b); }
    void usun(const std::string& nazwa) const { std::filesystem::remove(zasob(nazwa)); }

    // The four pictures of a button N.
    void przycisk(const std::string& n) const {
        zapisz(n + "_D", ksztalt(kNormalny, platform::kWhite));
        zapisz(n + "_A", ksztalt(kAktywny, platform::kWhite));
        zapisz(n + "_", ksztalt(kWcisniety, platform::kWhite));
        zapisz(n + "_M", ksztalt(platform::kWhite, platform::kBlack));
    }
    // The two pictures of a check button N (opaque, whole rectangle).
    void check(const std::string& n) const {
        zapisz(n + "_D", jednolity(kSzer, kWys, kWylaczony));
        zapisz(n + "_A", jednolity(kSzer, kWys, kWlaczony));
    }

private:
    TempRoots roots_;
};

// A pattern in which no two nearby pixels agree and none has a button colour.
inline Color wzor(int x, int y) {
    return rgb(std::uint8_t(x * 3), std::uint8_t(y * 5), std::uint8_t(90 + (x + y) % 7));
}

// A window painted from its background bitmap, as the menu and the results screen are.
class OknoZTlem : public platform::Form {
public:
    OknoZTlem(std::string tytul, platform::Rect granice)
        : Form(std::move(tytul), granice), tlo(granice.width(), granice.height()) {
        for (int y = 0; y < tlo.height(); ++y)
            for (int x = 0; x < tlo.width(); ++x)
                tlo.setPixel(x, y, wzor(x, y));
    }
    Bitmap tlo;
    int malowania = 0;

protected:
    void paintEvent() override {
        ++malowania;
        canvas().draw(0, 0, tlo);
    }
};

// A game-style window: everything is composed in a back buffer that the paint copies to the screen.
class OknoGry : public platform::Form {
public:
    OknoGry(std::string tytul, platform::Rect granice)
        : Form(std::move(tytul), granice), robocza(granice.width(), granice.height()) {
        for (int y = 0; y < robocza.height(); ++y)
            for (int x = 0; x < robocza.width(); ++x)
                robocza.setPixel(x, y, wzor(x, y));
    }
    Bitmap robocza;

protected:
    void paintEvent() override { canvas().draw(0, 0, robocza); }
};

// Runs fn on the program's thread, between two messages, and lets the program settle.
inline void naPetli(platform::testing::Driver& d, std::function<void()> fn) {
    d.application().post(std::move(fn));
    d.wait(0);
}

} // namespace wt
