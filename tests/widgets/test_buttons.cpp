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
void expectBackground(Driver& d, Rect r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ASSERT_EQ(d.pixel(x, y), pattern(x, y)) << x << "," << y;
}

// The button at (bx, by) on the screen shows colour inside its shape and the background around it.
void expectButton(Driver& d, int bx, int by, Color color) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(d.pixel(bx + x, by + y), inShape(x, y) ? color : pattern(bx + x, by + y))
                << x << "," << y;
}

// Records, after each mouse message a control handled, the colour a canvas shows at one point.
struct Preview {
    std::vector<std::string> entries;
    void attach(Control& c, Canvas& canvas, int x, int y) {
        auto passOn = c.windowProcedure();
        c.setWindowProcedure([this, passOn, &canvas, x, y](Message& m) {
            passOn(m);
            if (m.kind == MessageKind::Paint || m.kind == MessageKind::MouseMove) return;
            entries.push_back(std::string(messageName(m.kind)) + " " + name(canvas.pixel(x, y)));
        });
    }
    static std::string name(Color c) {
        return c == kNormal ? "normal" : c == kActive ? "active" : c == kPressed ? "pressed" : "other";
    }
    std::vector<std::string> take() { return std::exchange(entries, {}); }
};

using LogLines = std::vector<std::string>;

Message messageOf(MessageKind k) {
    Message m;
    m.kind = k;
    return m;
}

} // namespace

TEST(MenuButton, StatesFollowThePointerAndAPaintShowsTheNormalPicture) {
    Resources z;
    z.button("tb");
    int clicks = 0;
    WindowWithBackground* window = nullptr;
    MenuButton* btn = nullptr;
    Driver d([&] {
        Action action([&] { ++clicks; });
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 200));
        MenuButton b(o, "tb", o.canvas(), o.background.canvas(), 50, 20, &action);
        window = &o;
        btn = &b;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    // Sized by the mask, placed as asked.
    EXPECT_EQ(btn->bounds(), Rect::fromSize(50, 20, kWidth, kHeight));
    expectButton(d, 50, 20, kNormal);
    d.move(55, 25);
    expectButton(d, 50, 20, kActive);
    d.press(55, 25);
    expectButton(d, 50, 20, kPressed);
    EXPECT_EQ(clicks, 0);
    d.release(55, 25);
    expectButton(d, 50, 20, kActive);
    EXPECT_EQ(clicks, 1);
    // A repaint while the pointer is still over it shows the normal picture.
    inLoop(d, [&] { window->invalidate(); });
    expectButton(d, 50, 20, kNormal);
    d.move(56, 25);
    d.move(150, 150);
    expectButton(d, 50, 20, kNormal);
    // The corner outside the shape never took a state colour.
    expectBackground(d, Rect::fromSize(50, 20, 2, 2));
}

TEST(MenuButton, AButtonOfAnInactiveWindowDoesNotLightUpButStillPressesAndClicks) {
    Resources z;
    z.button("tb");
    int clicks = 0;
    MenuButton* btn = nullptr;
    Preview preview;
    Driver d([&] {
        Action action([&] { ++clicks; });
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 200));
        MenuButton b(o, "tb", o.canvas(), o.background.canvas(), 50, 20, &action);
        btn = &b;
        preview.attach(b, o.canvas(), 55, 25);
        Form otherForm("Inne", Rect::fromSize(600, 0, 100, 100));
        o.show();
        otherForm.show(); // the active window now
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    ASSERT_EQ(d.application().activeForm(), d.form("Inne"));
    d.move(55, 25);
    expectButton(d, 50, 20, kNormal);
    // Even a pointer-enter that reaches the button while another window is active draws nothing.
    inLoop(d, [&] {
        Message m = messageOf(MessageKind::MouseEnter);
        btn->perform(m);
    });
    expectButton(d, 50, 20, kNormal);
    EXPECT_EQ(preview.take(), (LogLines{"MouseEnter normal"}));
    // The press makes its window active: pressed picture first, then hover, then the click.
    d.press(55, 25);
    d.release(55, 25);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(preview.take(), (LogLines{"LButtonDown pressed", "MouseEnter active", "LButtonUp active"}));
    expectButton(d, 50, 20, kActive);
}

TEST(MenuButton, HidingRestoresTheBackgroundAndShowingDrawsTheNormalPicture) {
    Resources z;
    z.button("tb");
    MenuButton* btn = nullptr;
    WindowWithBackground* window = nullptr;
    Driver d([&] {
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 200));
        MenuButton b(o, "tb", o.canvas(), o.background.canvas(), 50, 20, nullptr);
        btn = &b;
        window = &o;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    d.move(55, 25);
    expectButton(d, 50, 20, kActive);
    const int paintCount = window->paintCount;
    inLoop(d, [&] { btn->hide(); });
    expectBackground(d, btn->bounds());
    // The button erased itself: the window did not have to repaint.
    EXPECT_EQ(window->paintCount, paintCount);
    // Hidden, it is not hit and nothing lights up.
    d.move(56, 26);
    d.click(56, 26);
    expectBackground(d, btn->bounds());
    d.move(150, 150);
    inLoop(d, [&] { btn->show(); });
    expectButton(d, 50, 20, kNormal);
    EXPECT_EQ(window->paintCount, paintCount);
}

TEST(MenuButton, DrawingElsewhereAndMoving) {
    Resources z;
    z.button("tb");
    MenuButton* btn = nullptr;
    Driver d([&] {
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 200));
        MenuButton b(o, "tb", o.canvas(), o.background.canvas(), 50, 20, nullptr);
        btn = &b;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");

    Bitmap target = solidBitmap(100, 80, rgb(1, 2, 3));
    inLoop(d, [&] { btn->drawOn(target.canvas(), -999, -999); }); // its own position
    EXPECT_EQ(target.pixel(55, 25), kNormal);
    EXPECT_EQ(target.pixel(50, 20), rgb(1, 2, 3));
    EXPECT_EQ(target.canvas().copyMode(), CopyMode::SrcCopy);

    Bitmap target2 = solidBitmap(100, 80, rgb(1, 2, 3));
    inLoop(d, [&] { btn->drawOn(target2.canvas(), -999, 50); }); // far off to the left: nothing lands
    for (int y = 0; y < target2.height(); ++y)
        for (int x = 0; x < target2.width(); ++x)
            ASSERT_EQ(target2.pixel(x, y), rgb(1, 2, 3));
    inLoop(d, [&] { btn->drawOn(target2.canvas(), -3, 50); });
    EXPECT_EQ(target2.pixel(0, 52), kNormal); // shape column 3 at x 0
    EXPECT_EQ(target2.pixel(0, 51), rgb(1, 2, 3));

    // Negative coordinates keep the current ones, zero is a position like any other.
    inLoop(d, [&] { btn->placeAt(-5, 30); });
    EXPECT_EQ(btn->bounds(), Rect::fromSize(50, 30, kWidth, kHeight));
    inLoop(d, [&] { btn->placeAt(0, -1); });
    EXPECT_EQ(btn->bounds(), Rect::fromSize(0, 30, kWidth, kHeight));
    inLoop(d, [&] { btn->placeAt(0, 0); });
    EXPECT_EQ(btn->bounds(), Rect::fromSize(0, 0, kWidth, kHeight));
    // The window repainted the old place; the button shows at the new one, and hiding it there
    // restores the background of the new place.
    expectBackground(d, Rect::fromSize(50, 20, kWidth, kHeight));
    expectButton(d, 0, 0, kNormal);
    inLoop(d, [&] { btn->hide(); });
    expectBackground(d, Rect::fromSize(0, 0, kWidth, kHeight));
    // Moved by the window directly: it still erases itself where it is.
    inLoop(d, [&] {
        btn->show();
        btn->setPosition(100, 60);
    });
    expectButton(d, 100, 60, kNormal);
    inLoop(d, [&] { btn->hide(); });
    expectBackground(d, Rect::fromSize(100, 60, kWidth, kHeight));
    expectBackground(d, Rect::fromSize(0, 0, kWidth, kHeight));
}

TEST(GameButton, StatesAreDrawnIntoTheBackBufferAndCopiedToTheWindow) {
    Resources z;
    z.button("tb");
    int clicks = 0;
    TestGameWindow* window = nullptr;
    GameButton* btn = nullptr;
    Driver d([&] {
        Action action([&] { ++clicks; });
        TestGameWindow o("Gra", Rect::fromSize(0, 0, 300, 200));
        GameButton b(o, "tb", o.workBitmap.canvas(), 50, 20, &action);
        window = &o;
        btn = &b;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    EXPECT_EQ(btn->control().bounds(), Rect::fromSize(50, 20, 70, 60));
    // The paint of the hit area drew the normal picture into the back buffer and onto the screen.
    EXPECT_EQ(window->workBitmap.pixel(55, 25), kNormal);
    expectButton(d, 50, 20, kNormal);
    d.move(55, 25);
    expectButton(d, 50, 20, kActive);
    EXPECT_EQ(window->workBitmap.pixel(55, 25), kActive);
    d.press(55, 25);
    expectButton(d, 50, 20, kPressed);
    d.release(55, 25);
    expectButton(d, 50, 20, kActive);
    EXPECT_EQ(clicks, 1);
    d.move(200, 150);
    expectButton(d, 50, 20, kNormal);
    EXPECT_EQ(window->workBitmap.canvas().copyMode(), CopyMode::SrcCopy);
}

TEST(GameButton, ReactsOnlyInsideItsSeventyBySixtyAreaWhateverItsPicturesSize) {
    Resources z;
    z.button("tb");
    int clicks = 0;
    Driver d([&] {
        Action action([&] { ++clicks; });
        TestGameWindow o("Gra", Rect::fromSize(0, 0, 300, 200));
        GameButton b(o, "tb", o.workBitmap.canvas(), 50, 20, &action);
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    d.move(50 + 69, 20 + 59); // the far corner of the area, well outside the 20 x 10 pictures
    expectButton(d, 50, 20, kActive);
    d.click(50 + 69, 20 + 59);
    EXPECT_EQ(clicks, 1);
    d.move(50 + 70, 20 + 30);
    expectButton(d, 50, 20, kNormal);
    d.click(50 + 70, 20 + 30);
    d.click(50 + 30, 20 + 60);
    d.click(49, 25);
    EXPECT_EQ(clicks, 1);
}

TEST(GameButton, ADoubleClickGivesOneClick) {
    Resources z;
    z.button("tb");
    int clicks = 0;
    Driver d([&] {
        Action action([&] { ++clicks; });
        TestGameWindow o("Gra", Rect::fromSize(0, 0, 300, 200));
        GameButton b(o, "tb", o.workBitmap.canvas(), 50, 20, &action);
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    d.dblClick(55, 25);
    EXPECT_EQ(clicks, 1);
    // The second release still lights the button.
    expectButton(d, 50, 20, kActive);
    d.wait(1000);
    d.click(55, 25);
    EXPECT_EQ(clicks, 2);
}

TEST(GameButton, InactiveWindowHiddenAreaAndShowing) {
    Resources z;
    z.button("tb");
    int clicks = 0;
    TestGameWindow* window = nullptr;
    GameButton* btn = nullptr;
    Preview preview;
    Driver d([&] {
        Action action([&] { ++clicks; });
        TestGameWindow o("Gra", Rect::fromSize(0, 0, 300, 200));
        GameButton b(o, "tb", o.workBitmap.canvas(), 50, 20, &action);
        window = &o;
        btn = &b;
        preview.attach(b.control(), o.canvas(), 55, 25);
        Form otherForm("Inne", Rect::fromSize(600, 0, 100, 100));
        o.show();
        otherForm.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    inLoop(d, [&] {
        Message m = messageOf(MessageKind::MouseEnter);
        btn->control().perform(m);
    });
    expectButton(d, 50, 20, kNormal);
    d.press(55, 25);
    d.release(55, 25);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(preview.take(), (LogLines{"MouseEnter normal", "LButtonDown pressed", "MouseEnter active",
                                        "LButtonUp active"}));

    // Hiding redraws nothing; the hidden area is not hit and its messages draw nothing.
    d.move(200, 150);
    EXPECT_EQ(window->workBitmap.pixel(55, 25), kNormal);
    inLoop(d, [&] { btn->hide(); });
    EXPECT_EQ(window->workBitmap.pixel(55, 25), kNormal);
    d.move(56, 26);
    d.click(56, 26);
    EXPECT_EQ(clicks, 1);
    inLoop(d, [&] {
        Message m = messageOf(MessageKind::LButtonDown);
        btn->control().perform(m);
    });
    EXPECT_EQ(window->workBitmap.pixel(55, 25), kNormal);
    // Showing draws the current picture into the back buffer.
    d.move(200, 150);
    inLoop(d, [&] {
        for (int y = 20; y < 30; ++y)
            for (int x = 50; x < 70; ++x)
                window->workBitmap.setPixel(x, y, pattern(x, y));
        btn->show();
    });
    EXPECT_EQ(window->workBitmap.pixel(55, 25), kNormal);
    EXPECT_EQ(window->workBitmap.pixel(50, 20), pattern(50, 20));
}

TEST(PictureButtons, AMissingPictureRaisesMissingResourcesAndLeavesNothingBehind) {
    Resources z;
    z.button("tb");
    z.discard("tb_"); // the last picture each constructor loads
    std::vector<int> codes;
    std::size_t controlsBefore = 0, controlsAfter = 0;
    Driver d([&] {
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 200));
        controlsBefore = o.controls().size();
        try {
            MenuButton b(o, "tb", o.canvas(), o.background.canvas(), 50, 20, nullptr);
        } catch (const FatalError& e) {
            codes.push_back(e.code);
        }
        try {
            GameButton b(o, "tb", o.canvas(), 50, 20, nullptr);
        } catch (const FatalError& e) {
            codes.push_back(e.code);
        }
        try {
            MenuButton b(o, "nieznany", o.canvas(), o.background.canvas(), 50, 20, nullptr);
        } catch (const FatalError& e) {
            codes.push_back(e.code);
        }
        controlsAfter = o.controls().size();
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_EQ(codes, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(controlsAfter, controlsBefore);
}
