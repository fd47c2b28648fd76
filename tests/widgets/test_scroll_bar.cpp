// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The scroll thumb and bar: steps, drawing over the window's background, failures.
#include "widgets/ScrollBar.hpp"

#include "platform/core/Error.hpp"
#include "platform/windows/Action.hpp"
#include "tests/widgets/widget_fixture.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace platform;
using namespace wt;
using platform::testing::Driver;

namespace {

// The thumb at (bx, by) on the screen: its colour in the shape, the background pattern around it.
void expectKciuk(Driver& d, int bx, int by) {
    for (int y = 0; y < kWys; ++y)
        for (int x = 0; x < kSzer; ++x)
            ASSERT_EQ(d.pixel(bx + x, by + y), wKsztalcie(x, y) ? kNormalny : wzor(bx + x, by + y))
                << x << "," << y;
}

void expectTlo(Driver& d, Rect r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ASSERT_EQ(d.pixel(x, y), wzor(x, y)) << x << "," << y;
}

void zasobyKciuka(const Zasoby& z) {
    z.zapisz("scroll_D", ksztalt(kNormalny, kWhite));
    z.zapisz("scroll_M", ksztalt(kWhite, kBlack));
}

} // namespace

TEST(ScrollBar, TwentyTwoStepsCoverTheRange) {
    Zasoby z;
    zasobyKciuka(z);
    ScrollBar* pasek = nullptr;
    Driver d([&] {
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 400));
        ScrollBar p(o, 5, 6, o.canvas(), o.tlo.canvas());
        pasek = &p;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    EXPECT_EQ(pasek->krok(), 8);
    EXPECT_EQ(pasek->kciuk().bounds(), Rect::fromSize(5, 6, kSzer, kWys));
    expectKciuk(d, 5, 6);

    naPetli(d, [&] { pasek->ustawZakres(200, 100, 320); });
    EXPECT_EQ(pasek->krok(), 10);
    EXPECT_EQ(pasek->kciuk().top(), 100);
    expectTlo(d, Rect::fromSize(5, 6, kSzer, kWys)); // the old place got its background back
    for (int i = 0; i < 22; ++i)
        naPetli(d, [&] { pasek->krokWDol(); });
    EXPECT_EQ(pasek->y(), 320);
    EXPECT_EQ(pasek->kciuk().bounds(), Rect::fromSize(200, 320, kSzer, kWys));
    expectKciuk(d, 200, 320);
    expectTlo(d, Rect::fromSize(200, 100, kSzer, kWys));
    naPetli(d, [&] { pasek->krokWGore(); });
    EXPECT_EQ(pasek->kciuk().top(), 310);
    expectKciuk(d, 200, 310);

    // A range shorter than 22 rows: step 0, the thumb stays.
    naPetli(d, [&] { pasek->ustawZakres(200, 100, 121); });
    EXPECT_EQ(pasek->krok(), 0);
    for (int i = 0; i < 5; ++i)
        naPetli(d, [&] { pasek->krokWDol(); });
    EXPECT_EQ(pasek->kciuk().top(), 100);
    // Bottom above top: the step goes upwards, truncating towards zero.
    naPetli(d, [&] { pasek->ustawZakres(200, 100, 50); });
    EXPECT_EQ(pasek->krok(), -2);
}

TEST(ScrollBar, HidingAndShowingTheThumbAndMovingUpPastTheTop) {
    Zasoby z;
    zasobyKciuka(z);
    ScrollBar* pasek = nullptr;
    OknoZTlem* okno = nullptr;
    Driver d([&] {
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 400));
        ScrollBar p(o, 40, 15, o.canvas(), o.tlo.canvas());
        pasek = &p;
        okno = &o;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    const int malowania = okno->malowania;
    naPetli(d, [&] { pasek->ukryj(); });
    expectTlo(d, Rect::fromSize(40, 15, kSzer, kWys));
    EXPECT_EQ(okno->malowania, malowania); // it erased itself
    d.click(45, 20);
    expectTlo(d, Rect::fromSize(40, 15, kSzer, kWys));
    naPetli(d, [&] { pasek->pokaz(); });
    expectKciuk(d, 40, 15);
    EXPECT_EQ(okno->malowania, malowania);

    // Stepping up past the top: a negative position keeps the thumb where it was.
    naPetli(d, [&] { pasek->krokWGore(); });
    naPetli(d, [&] { pasek->krokWGore(); });
    EXPECT_EQ(pasek->y(), -1);
    EXPECT_EQ(pasek->kciuk().top(), 7);
    naPetli(d, [&] { pasek->kciuk().ustawPozycje(0, -3); });
    EXPECT_EQ(pasek->kciuk().bounds(), Rect::fromSize(0, 7, kSzer, kWys));
    expectKciuk(d, 0, 7);
}

TEST(ScrollThumb, PressingAndDraggingRedrawsTheSamePictureInPlace) {
    Zasoby z;
    zasobyKciuka(z);
    int klikniecia = 0;
    ScrollThumb* kciuk = nullptr;
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 400));
        ScrollThumb k(o, "scroll", o.canvas(), o.tlo.canvas(), 60, 70, &akcja);
        kciuk = &k;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    d.move(65, 75);
    expectKciuk(d, 60, 70);
    d.press(65, 75);
    EXPECT_TRUE(kciuk->wcisniety());
    d.move(150, 200);
    expectKciuk(d, 60, 70); // it does not follow the pointer
    EXPECT_EQ(kciuk->bounds(), Rect::fromSize(60, 70, kSzer, kWys));
    expectTlo(d, Rect::fromSize(145, 195, kSzer, kWys));
    d.release(150, 200);
    EXPECT_FALSE(kciuk->wcisniety());
    EXPECT_EQ(klikniecia, 0);
    d.click(65, 75);
    EXPECT_EQ(klikniecia, 1);
    expectKciuk(d, 60, 70);
}

TEST(ScrollBar, TheThumbsClickDoesNothing) {
    Zasoby z;
    zasobyKciuka(z);
    ScrollBar* pasek = nullptr;
    Driver d([&] {
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 400));
        ScrollBar p(o, 40, 15, o.canvas(), o.tlo.canvas());
        pasek = &p;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    // The temporary action is long gone; clicking must not reach it.
    d.click(45, 20);
    d.dblClick(45, 20);
    EXPECT_EQ(d.error(), "");
    EXPECT_FALSE(d.finished());
    EXPECT_EQ(pasek->y(), 15);
    expectKciuk(d, 40, 15);
}

TEST(ScrollThumb, AMissingPictureRaisesTheOriginalError) {
    Zasoby z;
    z.zapisz("scroll_D", ksztalt(kNormalny, kWhite)); // no mask
    std::string blad, bladPaska;
    bool innyTyp = false;
    std::size_t przed = 0, po = 0;
    Driver d([&] {
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 400));
        przed = o.controls().size();
        try {
            ScrollThumb k(o, "scroll", o.canvas(), o.tlo.canvas(), 0, 0, nullptr);
        } catch (const FileError& e) {
            blad = e.what();
        } catch (...) {
            innyTyp = true;
        }
        try {
            ScrollBar p(o, 0, 0, o.canvas(), o.tlo.canvas());
        } catch (const FileError& e) {
            bladPaska = e.what();
        } catch (...) {
            innyTyp = true;
        }
        po = o.controls().size();
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_FALSE(innyTyp);
    EXPECT_NE(blad.find("scroll_M"), std::string::npos) << blad;
    EXPECT_EQ(bladPaska, blad);
    EXPECT_EQ(po, przed);
}
