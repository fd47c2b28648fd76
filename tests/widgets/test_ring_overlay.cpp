// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The ring overlay and the caption pictures: positions in both display modes, clipping, saved
// backgrounds, missing pictures.
#include "widgets/Caption.hpp"
#include "widgets/RingOverlay.hpp"

#include "core/FatalError.hpp"
#include "core/ScreenLayout.hpp"
#include "tests/widgets/widget_fixture.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace platform;
using namespace wt;

namespace {

constexpr Color kTlo = rgb(0, 200, 100);

// The display geometry of one test.
using Tryb = ScreenLayout;

// JPEG round trips may move a channel a little even in flat areas.
bool blisko(Color a, Color b, int tol = 6) {
    return std::abs(redOf(a) - redOf(b)) <= tol && std::abs(greenOf(a) - greenOf(b)) <= tol &&
           std::abs(blueOf(a) - blueOf(b)) <= tol;
}

std::string intfPath(const Zasoby& z, const std::string& nazwa) {
    return z.prog() + "/Data/Intf/Spec/" + nazwa;
}
std::string bio(const Zasoby& z, const std::string& nazwa) {
    return z.prog() + "/Data/Bio/" + nazwa;
}

// Ring pictures of the given sizes for both modes; the ring itself is invisible (black mask, white
// picture), the word mask lets everything through.
void zapiszPierscienie(const Zasoby& z, Size maly, Size duzy, Size maskaMala, Size maskaDuza) {
    zapiszJpeg(intfPath(z, "Ring_s.xji"), jednolity(maly.width, maly.height, kWhite));
    zapiszJpeg(intfPath(z, "RingM_s.xji"), jednolity(maly.width, maly.height, kBlack));
    zapiszJpeg(intfPath(z, "Ring_b.xji"), jednolity(duzy.width, duzy.height, kWhite));
    zapiszJpeg(intfPath(z, "RingM_b.xji"), jednolity(duzy.width, duzy.height, kBlack));
    zapiszJpeg(bio(z, "_matr_ms.xji"), jednolity(maskaMala.width, maskaMala.height, kWhite));
    zapiszJpeg(bio(z, "_matr_mb.xji"), jednolity(maskaDuza.width, maskaDuza.height, kWhite));
}

} // namespace

TEST(RingOverlay, IsCentredInTheContentAreaOfEachMode) {
    Zasoby z;
    zapiszPierscienie(z, {301, 201}, {401, 301}, {101, 75}, {151, 101});
    {
        Tryb t(800, 600);
        Bitmap kanwa = jednolity(800, 600, kTlo);
        RingOverlay o(kanwa.canvas(), t);
        // 400 - 301 / 2, 300 - 201 / 2; 400 - 101 / 2, 300 - 75 / 2.
        EXPECT_EQ(o.pierscienX(), 250);
        EXPECT_EQ(o.pierscienY(), 200);
        EXPECT_EQ(o.obrazekX(), 350);
        EXPECT_EQ(o.obrazekY(), 263);
        o.rysujZObrazkiem(jednolity(101, 75, rgb(255, 0, 0)));
        EXPECT_TRUE(blisko(kanwa.pixel(400, 300), rgb(255, 0, 0))) << std::hex << kanwa.pixel(400, 300);
        EXPECT_TRUE(blisko(kanwa.pixel(360, 270), rgb(255, 0, 0)));
        EXPECT_EQ(kanwa.pixel(340, 300), kTlo); // the invisible ring left its area alone
        EXPECT_EQ(kanwa.pixel(400, 340), kTlo);
        EXPECT_EQ(kanwa.canvas().copyMode(), CopyMode::SrcCopy);
    }
    {
        // A screen larger than the area: positions stay within the area (the window sits at the offsets).
        Tryb t(1280, 1024);
        Bitmap kanwa = jednolity(1024, 768, kTlo);
        RingOverlay o(kanwa.canvas(), t);
        // 512 - 401 / 2, 384 - 301 / 2; 512 - 151 / 2, 384 - 101 / 2.
        EXPECT_EQ(o.pierscienX(), 312);
        EXPECT_EQ(o.pierscienY(), 234);
        EXPECT_EQ(o.obrazekX(), 437);
        EXPECT_EQ(o.obrazekY(), 334);
    }
}

TEST(RingOverlay, ARingLargerThanTheAreaGetsNegativeCoordinatesAndIsDrawnClipped) {
    Zasoby z;
    zapiszPierscienie(z, {1001, 701}, {10, 10}, {101, 75}, {10, 10});
    // Left of column 160 the ring is transparent, from it on opaque black.
    Bitmap maska(1001, 701), pierscien(1001, 701);
    for (int y = 0; y < 701; ++y)
        for (int x = 0; x < 1001; ++x) {
            maska.setPixel(x, y, x < 160 ? kBlack : kWhite);
            pierscien.setPixel(x, y, x < 160 ? kWhite : kBlack);
        }
    zapiszJpeg(intfPath(z, "RingM_s.xji"), maska);
    zapiszJpeg(intfPath(z, "Ring_s.xji"), pierscien);

    Tryb t(800, 600);
    Bitmap kanwa = jednolity(800, 600, kTlo);
    RingOverlay o(kanwa.canvas(), t);
    EXPECT_EQ(o.pierscienX(), -100); // 400 - 500
    EXPECT_EQ(o.pierscienY(), -50);  // 300 - 350
    o.rysujPierscien();
    // Column 160 of the ring lands on column 60 of the canvas.
    EXPECT_TRUE(blisko(kanwa.pixel(20, 10), kTlo));
    EXPECT_TRUE(blisko(kanwa.pixel(40, 590), kTlo));
    EXPECT_TRUE(blisko(kanwa.pixel(80, 10), kBlack));
    EXPECT_TRUE(blisko(kanwa.pixel(799, 599), kBlack));
    EXPECT_TRUE(blisko(kanwa.pixel(400, 0), kBlack));
}

TEST(RingOverlay, AMissingPictureRaisesMissingResources) {
    Zasoby z;
    zapiszPierscienie(z, {31, 21}, {41, 31}, {11, 7}, {15, 11});
    Tryb t(1024, 768);
    Bitmap kanwa(100, 100);
    EXPECT_NO_THROW((RingOverlay{kanwa.canvas(), t}));
    std::filesystem::remove(bio(z, "_matr_mb.xji")); // the last one loaded
    try {
        RingOverlay o(kanwa.canvas(), t);
        ADD_FAILURE() << "no error";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.kod, 1);
    }
    // Not a JPEG under the ring's name: the same report.
    zapiszBmp(intfPath(z, "Ring_b.xji"), jednolity(41, 31, kWhite));
    try {
        RingOverlay o(kanwa.canvas(), t);
        ADD_FAILURE() << "no error";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.kod, 1);
    }
}

TEST(Caption, DrawsItsPictureAndPutsTheSavedBackgroundBack) {
    Zasoby z;
    z.zapisz("nap_test_s", jednolity(kSzer, kWys, kWlaczony));
    Bitmap kanwa(80, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            kanwa.setPixel(x, y, wzor(x, y));
    const Bitmap przed = kanwa;

    Caption napis("nap_test_s");
    EXPECT_EQ(napis.szerokosc(), kSzer);
    EXPECT_EQ(napis.wysokosc(), kWys);
    napis.rysujTlo(kanwa.canvas()); // nothing saved yet: nothing drawn
    EXPECT_EQ(std::vector<std::uint8_t>(kanwa.data(), kanwa.data() + kanwa.byteSize()),
              std::vector<std::uint8_t>(przed.data(), przed.data() + przed.byteSize()));

    napis.ustawPozycje(30, 40);
    napis.zapiszTlo(kanwa.canvas());
    napis.rysuj(kanwa.canvas());
    EXPECT_EQ(kanwa.pixel(30, 40), kWlaczony);
    EXPECT_EQ(kanwa.pixel(49, 49), kWlaczony);
    EXPECT_EQ(kanwa.pixel(50, 49), wzor(50, 49));
    napis.rysujTlo(kanwa.canvas());
    EXPECT_EQ(std::vector<std::uint8_t>(kanwa.data(), kanwa.data() + kanwa.byteSize()),
              std::vector<std::uint8_t>(przed.data(), przed.data() + przed.byteSize()));

    // Partly off the canvas: only the part on it is drawn and restored.
    napis.ustawPozycje(-5, 55);
    napis.zapiszTlo(kanwa.canvas());
    napis.rysuj(kanwa.canvas());
    EXPECT_EQ(kanwa.pixel(0, 55), kWlaczony);
    EXPECT_EQ(kanwa.pixel(14, 59), kWlaczony);
    EXPECT_EQ(kanwa.pixel(15, 59), wzor(15, 59));
    napis.rysujTlo(kanwa.canvas());
    EXPECT_EQ(std::vector<std::uint8_t>(kanwa.data(), kanwa.data() + kanwa.byteSize()),
              std::vector<std::uint8_t>(przed.data(), przed.data() + przed.byteSize()));
}

TEST(Caption, AMissingPictureRaisesMissingResources) {
    Zasoby z;
    try {
        Caption napis("nap_brak_s");
        ADD_FAILURE() << "no error";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.kod, 1);
    }
    // A resource name never climbs out of the resource directory.
    z.zapisz("nap_test_s", jednolity(kSzer, kWys, kWlaczony));
    EXPECT_THROW(Caption("../Resource/nap_test_s"), FatalError);
}
