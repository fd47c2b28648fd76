// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Picture buttons on headless windows: state pictures, hover rules, hiding, positions, failures.
#include "widgets/Buttons.hpp"

#include "core/FatalError.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Message.hpp"
#include "tests/widgets/widget_fixture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace platform;
using namespace wt;
using platform::testing::Driver;

namespace {

// Every pixel of the rectangle shows the window's background pattern (form at the screen's origin).
void expectTlo(Driver& d, Rect r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ASSERT_EQ(d.pixel(x, y), wzor(x, y)) << x << "," << y;
}

// The button at (bx, by) on the screen shows colour inside its shape and the background around it.
void expectPrzycisk(Driver& d, int bx, int by, Color kolor) {
    for (int y = 0; y < kWys; ++y)
        for (int x = 0; x < kSzer; ++x)
            ASSERT_EQ(d.pixel(bx + x, by + y), wKsztalcie(x, y) ? kolor : wzor(bx + x, by + y))
                << x << "," << y;
}

// Records, after each mouse message a control handled, the colour a canvas shows at one point.
struct Podglad {
    std::vector<std::string> wpisy;
    void podlacz(Control& c, Canvas& kanwa, int x, int y) {
        auto dalej = c.windowProcedure();
        c.setWindowProcedure([this, dalej, &kanwa, x, y](Message& m) {
            dalej(m);
            if (m.kind == MessageKind::Paint || m.kind == MessageKind::MouseMove) return;
            wpisy.push_back(std::string(messageName(m.kind)) + " " + nazwa(kanwa.pixel(x, y)));
        });
    }
    static std::string nazwa(Color c) {
        return c == kNormalny ? "normal" : c == kAktywny ? "active" : c == kWcisniety ? "pressed" : "other";
    }
    std::vector<std::string> wez() { return std::exchange(wpisy, {}); }
};

using Linie = std::vector<std::string>;

Message wiadomosc(MessageKind k) {
    Message m;
    m.kind = k;
    return m;
}

} // namespace

TEST(MenuButton, StatesFollowThePointerAndAPaintShowsTheNormalPicture) {
    Zasoby z;
    z.przycisk("tb");
    int klikniecia = 0;
    OknoZTlem* okno = nullptr;
    MenuButton* btn = nullptr;
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 200));
        MenuButton b(o, "tb", o.canvas(), o.tlo.canvas(), 50, 20, &akcja);
        okno = &o;
        btn = &b;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    // Sized by the mask, placed as asked.
    EXPECT_EQ(btn->bounds(), Rect::fromSize(50, 20, kSzer, kWys));
    expectPrzycisk(d, 50, 20, kNormalny);
    d.move(55, 25);
    expectPrzycisk(d, 50, 20, kAktywny);
    d.press(55, 25);
    expectPrzycisk(d, 50, 20, kWcisniety);
    EXPECT_EQ(klikniecia, 0);
    d.release(55, 25);
    expectPrzycisk(d, 50, 20, kAktywny);
    EXPECT_EQ(klikniecia, 1);
    // A repaint while the pointer is still over it shows the normal picture.
    naPetli(d, [&] { okno->invalidate(); });
    expectPrzycisk(d, 50, 20, kNormalny);
    d.move(56, 25);
    d.move(150, 150);
    expectPrzycisk(d, 50, 20, kNormalny);
    // The corner outside the shape never took a state colour.
    expectTlo(d, Rect::fromSize(50, 20, 2, 2));
}

TEST(MenuButton, AButtonOfAnInactiveWindowDoesNotLightUpButStillPressesAndClicks) {
    Zasoby z;
    z.przycisk("tb");
    int klikniecia = 0;
    MenuButton* btn = nullptr;
    Podglad podglad;
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 200));
        MenuButton b(o, "tb", o.canvas(), o.tlo.canvas(), 50, 20, &akcja);
        btn = &b;
        podglad.podlacz(b, o.canvas(), 55, 25);
        Form inne("Inne", Rect::fromSize(600, 0, 100, 100));
        o.show();
        inne.show(); // the active window now
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    ASSERT_EQ(d.application().activeForm(), d.form("Inne"));
    d.move(55, 25);
    expectPrzycisk(d, 50, 20, kNormalny);
    // Even a pointer-enter that reaches the button while another window is active draws nothing.
    naPetli(d, [&] {
        Message m = wiadomosc(MessageKind::MouseEnter);
        btn->perform(m);
    });
    expectPrzycisk(d, 50, 20, kNormalny);
    EXPECT_EQ(podglad.wez(), (Linie{"MouseEnter normal"}));
    // The press makes its window active: pressed picture first, then hover, then the click.
    d.press(55, 25);
    d.release(55, 25);
    EXPECT_EQ(klikniecia, 1);
    EXPECT_EQ(podglad.wez(), (Linie{"LButtonDown pressed", "MouseEnter active", "LButtonUp active"}));
    expectPrzycisk(d, 50, 20, kAktywny);
}

TEST(MenuButton, HidingRestoresTheBackgroundAndShowingDrawsTheNormalPicture) {
    Zasoby z;
    z.przycisk("tb");
    MenuButton* btn = nullptr;
    OknoZTlem* okno = nullptr;
    Driver d([&] {
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 200));
        MenuButton b(o, "tb", o.canvas(), o.tlo.canvas(), 50, 20, nullptr);
        btn = &b;
        okno = &o;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    d.move(55, 25);
    expectPrzycisk(d, 50, 20, kAktywny);
    const int malowania = okno->malowania;
    naPetli(d, [&] { btn->hide(); });
    expectTlo(d, btn->bounds());
    // The button erased itself: the window did not have to repaint.
    EXPECT_EQ(okno->malowania, malowania);
    // Hidden, it is not hit and nothing lights up.
    d.move(56, 26);
    d.click(56, 26);
    expectTlo(d, btn->bounds());
    d.move(150, 150);
    naPetli(d, [&] { btn->show(); });
    expectPrzycisk(d, 50, 20, kNormalny);
    EXPECT_EQ(okno->malowania, malowania);
}

TEST(MenuButton, DrawingElsewhereAndMoving) {
    Zasoby z;
    z.przycisk("tb");
    MenuButton* btn = nullptr;
    Driver d([&] {
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 200));
        MenuButton b(o, "tb", o.canvas(), o.tlo.canvas(), 50, 20, nullptr);
        btn = &b;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");

    Bitmap cel = jednolity(100, 80, rgb(1, 2, 3));
    naPetli(d, [&] { btn->rysujNa(cel.canvas(), -999, -999); }); // its own position
    EXPECT_EQ(cel.pixel(55, 25), kNormalny);
    EXPECT_EQ(cel.pixel(50, 20), rgb(1, 2, 3));
    EXPECT_EQ(cel.canvas().copyMode(), CopyMode::SrcCopy);

    Bitmap cel2 = jednolity(100, 80, rgb(1, 2, 3));
    naPetli(d, [&] { btn->rysujNa(cel2.canvas(), -999, 50); }); // far off to the left: nothing lands
    for (int y = 0; y < cel2.height(); ++y)
        for (int x = 0; x < cel2.width(); ++x)
            ASSERT_EQ(cel2.pixel(x, y), rgb(1, 2, 3));
    naPetli(d, [&] { btn->rysujNa(cel2.canvas(), -3, 50); });
    EXPECT_EQ(cel2.pixel(0, 52), kNormalny); // shape column 3 at x 0
    EXPECT_EQ(cel2.pixel(0, 51), rgb(1, 2, 3));

    // Negative coordinates keep the current ones, zero is a position like any other.
    naPetli(d, [&] { btn->ustawPozycje(-5, 30); });
    EXPECT_EQ(btn->bounds(), Rect::fromSize(50, 30, kSzer, kWys));
    naPetli(d, [&] { btn->ustawPozycje(0, -1); });
    EXPECT_EQ(btn->bounds(), Rect::fromSize(0, 30, kSzer, kWys));
    naPetli(d, [&] { btn->ustawPozycje(0, 0); });
    EXPECT_EQ(btn->bounds(), Rect::fromSize(0, 0, kSzer, kWys));
    // The window repainted the old place; the button shows at the new one, and hiding it there
    // restores the background of the new place.
    expectTlo(d, Rect::fromSize(50, 20, kSzer, kWys));
    expectPrzycisk(d, 0, 0, kNormalny);
    naPetli(d, [&] { btn->hide(); });
    expectTlo(d, Rect::fromSize(0, 0, kSzer, kWys));
    // Moved by the window directly: it still erases itself where it is.
    naPetli(d, [&] {
        btn->show();
        btn->setPosition(100, 60);
    });
    expectPrzycisk(d, 100, 60, kNormalny);
    naPetli(d, [&] { btn->hide(); });
    expectTlo(d, Rect::fromSize(100, 60, kSzer, kWys));
    expectTlo(d, Rect::fromSize(0, 0, kSzer, kWys));
}

TEST(GameButton, StatesAreDrawnIntoTheBackBufferAndCopiedToTheWindow) {
    Zasoby z;
    z.przycisk("tb");
    int klikniecia = 0;
    OknoGry* okno = nullptr;
    GameButton* btn = nullptr;
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        OknoGry o("Gra", Rect::fromSize(0, 0, 300, 200));
        GameButton b(o, "tb", o.robocza.canvas(), 50, 20, &akcja);
        okno = &o;
        btn = &b;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    EXPECT_EQ(btn->kontrolka().bounds(), Rect::fromSize(50, 20, 70, 60));
    // The paint of the hit area drew the normal picture into the back buffer and onto the screen.
    EXPECT_EQ(okno->robocza.pixel(55, 25), kNormalny);
    expectPrzycisk(d, 50, 20, kNormalny);
    d.move(55, 25);
    expectPrzycisk(d, 50, 20, kAktywny);
    EXPECT_EQ(okno->robocza.pixel(55, 25), kAktywny);
    d.press(55, 25);
    expectPrzycisk(d, 50, 20, kWcisniety);
    d.release(55, 25);
    expectPrzycisk(d, 50, 20, kAktywny);
    EXPECT_EQ(klikniecia, 1);
    d.move(200, 150);
    expectPrzycisk(d, 50, 20, kNormalny);
    EXPECT_EQ(okno->robocza.canvas().copyMode(), CopyMode::SrcCopy);
}

TEST(GameButton, ReactsOnlyInsideItsSeventyBySixtyAreaWhateverItsPicturesSize) {
    Zasoby z;
    z.przycisk("tb");
    int klikniecia = 0;
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        OknoGry o("Gra", Rect::fromSize(0, 0, 300, 200));
        GameButton b(o, "tb", o.robocza.canvas(), 50, 20, &akcja);
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    d.move(50 + 69, 20 + 59); // the far corner of the area, well outside the 20 x 10 pictures
    expectPrzycisk(d, 50, 20, kAktywny);
    d.click(50 + 69, 20 + 59);
    EXPECT_EQ(klikniecia, 1);
    d.move(50 + 70, 20 + 30);
    expectPrzycisk(d, 50, 20, kNormalny);
    d.click(50 + 70, 20 + 30);
    d.click(50 + 30, 20 + 60);
    d.click(49, 25);
    EXPECT_EQ(klikniecia, 1);
}

TEST(GameButton, ADoubleClickGivesOneClick) {
    Zasoby z;
    z.przycisk("tb");
    int klikniecia = 0;
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        OknoGry o("Gra", Rect::fromSize(0, 0, 300, 200));
        GameButton b(o, "tb", o.robocza.canvas(), 50, 20, &akcja);
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    d.dblClick(55, 25);
    EXPECT_EQ(klikniecia, 1);
    // The second release still lights the button.
    expectPrzycisk(d, 50, 20, kAktywny);
    d.wait(1000);
    d.click(55, 25);
    EXPECT_EQ(klikniecia, 2);
}

TEST(GameButton, InactiveWindowHiddenAreaAndShowing) {
    Zasoby z;
    z.przycisk("tb");
    int klikniecia = 0;
    OknoGry* okno = nullptr;
    GameButton* btn = nullptr;
    Podglad podglad;
    Driver d([&] {
        Action akcja([&] { ++klikniecia; });
        OknoGry o("Gra", Rect::fromSize(0, 0, 300, 200));
        GameButton b(o, "tb", o.robocza.canvas(), 50, 20, &akcja);
        okno = &o;
        btn = &b;
        podglad.podlacz(b.kontrolka(), o.canvas(), 55, 25);
        Form inne("Inne", Rect::fromSize(600, 0, 100, 100));
        o.show();
        inne.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    naPetli(d, [&] {
        Message m = wiadomosc(MessageKind::MouseEnter);
        btn->kontrolka().perform(m);
    });
    expectPrzycisk(d, 50, 20, kNormalny);
    d.press(55, 25);
    d.release(55, 25);
    EXPECT_EQ(klikniecia, 1);
    EXPECT_EQ(podglad.wez(),
              (Linie{"MouseEnter normal", "LButtonDown pressed", "MouseEnter active", "LButtonUp active"}));

    // Hiding redraws nothing; the hidden area is not hit and its messages draw nothing.
    d.move(200, 150);
    EXPECT_EQ(okno->robocza.pixel(55, 25), kNormalny);
    naPetli(d, [&] { btn->ukryj(); });
    EXPECT_EQ(okno->robocza.pixel(55, 25), kNormalny);
    d.move(56, 26);
    d.click(56, 26);
    EXPECT_EQ(klikniecia, 1);
    naPetli(d, [&] {
        Message m = wiadomosc(MessageKind::LButtonDown);
        btn->kontrolka().perform(m);
    });
    EXPECT_EQ(okno->robocza.pixel(55, 25), kNormalny);
    // Showing draws the current picture into the back buffer.
    d.move(200, 150);
    naPetli(d, [&] {
        for (int y = 20; y < 30; ++y)
            for (int x = 50; x < 70; ++x)
                okno->robocza.setPixel(x, y, wzor(x, y));
        btn->pokaz();
    });
    EXPECT_EQ(okno->robocza.pixel(55, 25), kNormalny);
    EXPECT_EQ(okno->robocza.pixel(50, 20), wzor(50, 20));
}

TEST(PictureButtons, AMissingPictureRaisesMissingResourcesAndLeavesNothingBehind) {
    Zasoby z;
    z.przycisk("tb");
    z.usun("tb_"); // the last picture each constructor loads
    std::vector<int> kody;
    std::size_t kontrolkiPrzed = 0, kontrolkiPo = 0;
    Driver d([&] {
        OknoZTlem o("Menu", Rect::fromSize(0, 0, 300, 200));
        kontrolkiPrzed = o.controls().size();
        try {
            MenuButton b(o, "tb", o.canvas(), o.tlo.canvas(), 50, 20, nullptr);
        } catch (const FatalError& e) {
            kody.push_back(e.kod);
        }
        try {
            GameButton b(o, "tb", o.canvas(), 50, 20, nullptr);
        } catch (const FatalError& e) {
            kody.push_back(e.kod);
        }
        try {
            MenuButton b(o, "nieznany", o.canvas(), o.tlo.canvas(), 50, 20, nullptr);
        } catch (const FatalError& e) {
            kody.push_back(e.kod);
        }
        kontrolkiPo = o.controls().size();
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_EQ(kody, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(kontrolkiPo, kontrolkiPrzed);
}
