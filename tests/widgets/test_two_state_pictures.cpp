// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Check buttons: opaque resource pictures, soft-edged picture pairs, clicks and positions.
#include "widgets/ToggleButton.hpp"
#include "widgets/TwoStatePicture.hpp"

#include "core/FatalError.hpp"
#include "platform/windows/Action.hpp"
#include "tests/widgets/widget_fixture.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;
using namespace wt;
using platform::testing::Driver;

namespace {

constexpr Color kTlo = rgb(0, 200, 100); // the coloured background the pair is blended over

bool jednolite(const Bitmap& b, Rect r, Color c) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (b.pixel(x, y) != c) return false;
    return true;
}

// A 4 x 2 soft-edged picture stored on black and on white: (0, 0) opaque in `pelny`, (1, 0) pure red at
// half alpha (128 on black, (255, 127, 127) on white), everything else fully transparent.
void zapiszPare(const std::string& sciezka, Color pelny) {
    Bitmap czarne = jednolity(4, 2, kBlack), biale = jednolity(4, 2, kWhite);
    czarne.setPixel(0, 0, pelny);
    biale.setPixel(0, 0, pelny);
    czarne.setPixel(1, 0, rgb(128, 0, 0));
    biale.setPixel(1, 0, rgb(255, 127, 127));
    zapiszBmp(sciezka + "B.xbi", czarne);
    zapiszBmp(sciezka + "W.xbi", biale);
}

} // namespace

TEST(TwoStatePicture, SettingTheStateDrawsItsPictureAtOnceAndOtherValuesDrawNothing) {
    Zasoby z;
    z.check("s_malo");
    int klikniecia = 0;
    TwoStatePicture* cb = nullptr;
    Bitmap kanwa = jednolity(100, 60, rgb(1, 2, 3));
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        TwoStatePicture c(o, "s_malo", kanwa.canvas(), 30, 20, &akcja);
        cb = &c;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    EXPECT_EQ(cb->stan(), 0);
    EXPECT_EQ(cb->kontrolka().bounds(), Rect::fromSize(30, 20, kSzer, kWys));
    EXPECT_TRUE(cb->kontrolka().visible());
    EXPECT_TRUE(jednolite(kanwa, Rect{0, 0, 100, 60}, rgb(1, 2, 3))); // nothing drawn by itself

    naPetli(d, [&] { cb->ustawStan(1); });
    EXPECT_TRUE(jednolite(kanwa, Rect::fromSize(30, 20, kSzer, kWys), kWlaczony));
    EXPECT_EQ(kanwa.pixel(29, 20), rgb(1, 2, 3));
    naPetli(d, [&] { cb->ustawStan(0); });
    EXPECT_TRUE(jednolite(kanwa, Rect::fromSize(30, 20, kSzer, kWys), kWylaczony));
    naPetli(d, [&] {
        kanwa.fill(0);
        cb->ustawStan(2);
    });
    EXPECT_EQ(cb->stan(), 2);
    EXPECT_TRUE(jednolite(kanwa, Rect{0, 0, 100, 60}, kBlack));

    // A click only runs the action; the state stays for the window to decide.
    d.click(35, 25);
    EXPECT_EQ(klikniecia, 1);
    EXPECT_EQ(cb->stan(), 2);
    naPetli(d, [&] { cb->ukryj(); });
    d.click(35, 25);
    EXPECT_EQ(klikniecia, 1);
    naPetli(d, [&] { cb->pokaz(); });
    EXPECT_TRUE(jednolite(kanwa, Rect{0, 0, 100, 60}, kBlack)); // showing draws nothing
    d.click(35, 25);
    EXPECT_EQ(klikniecia, 2);
}

TEST(TwoStatePicture, OnlyPositiveCoordinatesMoveIt) {
    Zasoby z;
    z.check("s_malo");
    z.check("S_CHBUT");
    TwoStatePicture* cb = nullptr;
    ToggleButton* cw = nullptr;
    Bitmap kanwa = jednolity(100, 80, rgb(1, 2, 3));
    Driver d([&] {
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        TwoStatePicture c(o, "s_malo", kanwa.canvas(), 30, 20, nullptr);
        ToggleButton w(o, "S_CHBUT", kanwa.canvas(), 30, 20, nullptr);
        cb = &c;
        cw = &w;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    naPetli(d, [&] {
        cb->ustawPozycje(0, 50);
        cw->ustawPozycje(0, 50);
    });
    EXPECT_EQ(cb->kontrolka().bounds(), Rect::fromSize(30, 50, kSzer, kWys));
    EXPECT_EQ(cw->kontrolka().bounds(), Rect::fromSize(30, 50, kSzer, kWys));
    naPetli(d, [&] {
        cb->ustawPozycje(-4, -1);
        cw->ustawPozycje(-4, -1);
    });
    EXPECT_EQ(cb->kontrolka().bounds(), Rect::fromSize(30, 50, kSzer, kWys));
    EXPECT_EQ(cw->kontrolka().bounds(), Rect::fromSize(30, 50, kSzer, kWys));
    naPetli(d, [&] {
        cb->ustawPozycje(7, 0);
        cw->ustawPozycje(1, 3);
    });
    EXPECT_EQ(cb->kontrolka().bounds(), Rect::fromSize(7, 50, kSzer, kWys));
    EXPECT_EQ(cw->kontrolka().bounds(), Rect::fromSize(1, 3, kSzer, kWys));
    // The pictures follow the area.
    naPetli(d, [&] {
        cb->ustawStan(1);
        cw->kontrolka().show();
        cw->rysuj();
    });
    EXPECT_EQ(cb->left(), 7);
    EXPECT_EQ(cb->top(), 50);
    EXPECT_EQ(kanwa.pixel(7, 50), kWlaczony);
    EXPECT_EQ(kanwa.pixel(1, 3), kWylaczony);
    EXPECT_EQ(kanwa.pixel(0, 3), rgb(1, 2, 3));
}

TEST(ToggleButton, HiddenItDrawsNothingButTogglingAlwaysDrawsAndEveryClickCounts) {
    Zasoby z;
    z.check("S_CHBUT");
    int klikniecia = 0;
    ToggleButton* cw = nullptr;
    Bitmap kanwa = jednolity(100, 60, rgb(1, 2, 3));
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        ToggleButton w(o, "S_CHBUT", kanwa.canvas(), 30, 20, &akcja);
        cw = &w;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    // The click area starts hidden, with the off picture's size.
    EXPECT_FALSE(cw->kontrolka().visible());
    EXPECT_EQ(cw->kontrolka().bounds(), Rect::fromSize(30, 20, kSzer, kWys));
    naPetli(d, [&] { cw->rysuj(); });
    EXPECT_TRUE(jednolite(kanwa, Rect{0, 0, 100, 60}, rgb(1, 2, 3)));
    d.click(35, 25);
    EXPECT_EQ(klikniecia, 0);

    naPetli(d, [&] { cw->przelacz(); });
    EXPECT_EQ(cw->stan(), 1);
    EXPECT_TRUE(jednolite(kanwa, Rect::fromSize(30, 20, kSzer, kWys), kWlaczony));
    naPetli(d, [&] { cw->przelacz(); });
    EXPECT_EQ(cw->stan(), 0);
    EXPECT_TRUE(jednolite(kanwa, Rect::fromSize(30, 20, kSzer, kWys), kWylaczony));

    naPetli(d, [&] {
        kanwa.fill(0);
        cw->kontrolka().show();
        cw->rysuj();
    });
    EXPECT_TRUE(jednolite(kanwa, Rect::fromSize(30, 20, kSzer, kWys), kWylaczony));
    // Double clicks are off: both clicks of a double click run the action.
    d.dblClick(35, 25);
    EXPECT_EQ(klikniecia, 2);
    EXPECT_EQ(cw->stan(), 0); // the action decides; here it does not toggle
}

TEST(ToggleButton, APairBlendsItsSoftEdgeOverTheCanvasAsItIsNow) {
    Zasoby z;
    zapiszPare(z.prog() + "/Data/Intf/Spec/T_glos_D", rgb(0, 0, 255));
    zapiszPare(z.prog() + "/Data/Intf/Spec/T_glos_A", rgb(0, 255, 0));
    int klikniecia = 0;
    ToggleButton* cw = nullptr;
    Form* okno = nullptr;
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        okno = &o;
        o.canvas().setBrushColor(kTlo);
        o.canvas().fillRect(o.clientRect());
        ToggleButton w(o, "", o.canvas(), 40, 30, &akcja, "Data\\Intf\\Spec\\T_glos");
        cw = &w;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    EXPECT_EQ(cw->kontrolka().bounds(), Rect::fromSize(40, 30, 4, 2)); // the on pair's size
    EXPECT_FALSE(cw->kontrolka().visible());

    naPetli(d, [&] {
        cw->kontrolka().show();
        cw->rysuj();
    });
    EXPECT_EQ(d.pixel(40, 30), rgb(0, 0, 255)); // opaque
    // Half-alpha red over (0, 200, 100): weight 129; 0 + (255 * 129 >> 8), 200 - (200 * 129 >> 8),
    // 100 - (100 * 129 >> 8).
    EXPECT_EQ(d.pixel(41, 30), rgb(128, 100, 50));
    EXPECT_EQ(d.pixel(42, 30), kTlo); // transparent
    EXPECT_EQ(d.pixel(41, 31), kTlo);

    // The on state drawn straight over the off state blends over what the canvas shows now.
    naPetli(d, [&] { cw->przelacz(); });
    EXPECT_EQ(d.pixel(40, 30), rgb(0, 255, 0));
    EXPECT_EQ(d.pixel(41, 30), rgb(128 + (127 * 129 >> 8), 100 - (100 * 129 >> 8), 50 - (50 * 129 >> 8)));
    EXPECT_EQ(d.pixel(43, 31), kTlo);
    EXPECT_EQ(okno->canvas().copyMode(), CopyMode::SrcCopy);

    d.click(41, 30);
    EXPECT_EQ(klikniecia, 1);
}

TEST(CheckButtons, AMissingPictureOrPairRaisesMissingResourcesAndLeavesNothingBehind) {
    Zasoby z;
    z.check("s_malo");
    z.usun("s_malo_D"); // loaded after the on picture
    zapiszPare(z.prog() + "/Data/Intf/Spec/T_glos_D", rgb(0, 0, 255));
    zapiszBmp(z.prog() + "/Data/Intf/Spec/T_glos_AB.xbi", jednolity(4, 2, kBlack)); // no _AW
    zapiszPare(z.prog() + "/Data/Intf/Spec/T_zly_D", rgb(0, 0, 255));
    zapiszBmp(z.prog() + "/Data/Intf/Spec/T_zly_AB.xbi", jednolity(4, 2, kBlack));
    zapiszBmp(z.prog() + "/Data/Intf/Spec/T_zly_AW.xbi", jednolity(5, 2, kWhite)); // another size
    std::vector<int> kody;
    std::size_t przed = 0, po = 0;
    Driver d([&] {
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        Bitmap kanwa(50, 50);
        przed = o.controls().size();
        auto sprobuj = [&](auto&& utworz) {
            try {
                utworz();
            } catch (const FatalError& e) {
                kody.push_back(e.kod);
            }
        };
        sprobuj([&] { TwoStatePicture c(o, "s_malo", kanwa.canvas(), 0, 0, nullptr); });
        sprobuj([&] { ToggleButton c(o, "s_malo", kanwa.canvas(), 0, 0, nullptr); });
        sprobuj([&] { ToggleButton c(o, "", kanwa.canvas(), 0, 0, nullptr, "Data\\Intf\\Spec\\T_glos"); });
        sprobuj([&] { ToggleButton c(o, "", kanwa.canvas(), 0, 0, nullptr, "Data\\Intf\\Spec\\T_zly"); });
        sprobuj([&] { ToggleButton c(o, "", kanwa.canvas(), 0, 0, nullptr, "Data\\Intf\\Spec\\T_brak"); });
        po = o.controls().size();
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_EQ(kody, (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(po, przed);
}
