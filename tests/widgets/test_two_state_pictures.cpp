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

constexpr Color kBackground = rgb(0, 200, 100); // the coloured background the pair is blended over

bool isSolid(const Bitmap& b, Rect r, Color c) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (b.pixel(x, y) != c) return false;
    return true;
}

// A 4 x 2 soft-edged picture stored on black and on white: (0, 0) opaque in `full`, (1, 0) pure red at
// half alpha (128 on black, (255, 127, 127) on white), everything else fully transparent.
void savePair(const std::string& path, Color full) {
    Bitmap black = solidBitmap(4, 2, kBlack), onWhite = solidBitmap(4, 2, kWhite);
    black.setPixel(0, 0, full);
    onWhite.setPixel(0, 0, full);
    black.setPixel(1, 0, rgb(128, 0, 0));
    onWhite.setPixel(1, 0, rgb(255, 127, 127));
    saveBmp(path + "B.xbi", black);
    saveBmp(path + "W.xbi", onWhite);
}

} // namespace

TEST(TwoStatePicture, SettingTheStateDrawsItsPictureAtOnceAndOtherValuesDrawNothing) {
    Resources z;
    z.check("s_malo");
    int clicks = 0;
    TwoStatePicture* cb = nullptr;
    Bitmap canvas = solidBitmap(100, 60, rgb(1, 2, 3));
    Driver d([&] {
        Action action([&] { ++clicks; });
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        TwoStatePicture c(o, "s_malo", canvas.canvas(), 30, 20, &action);
        cb = &c;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    EXPECT_EQ(cb->state(), 0);
    EXPECT_EQ(cb->control().bounds(), Rect::fromSize(30, 20, kWidth, kHeight));
    EXPECT_TRUE(cb->control().visible());
    EXPECT_TRUE(isSolid(canvas, Rect{0, 0, 100, 60}, rgb(1, 2, 3))); // nothing drawn by itself

    inLoop(d, [&] { cb->setState(1); });
    EXPECT_TRUE(isSolid(canvas, Rect::fromSize(30, 20, kWidth, kHeight), kEnabled));
    EXPECT_EQ(canvas.pixel(29, 20), rgb(1, 2, 3));
    inLoop(d, [&] { cb->setState(0); });
    EXPECT_TRUE(isSolid(canvas, Rect::fromSize(30, 20, kWidth, kHeight), kDisabled));
    inLoop(d, [&] {
        canvas.fill(0);
        cb->setState(2);
    });
    EXPECT_EQ(cb->state(), 2);
    EXPECT_TRUE(isSolid(canvas, Rect{0, 0, 100, 60}, kBlack));

    // A click only runs the action; the state stays for the window to decide.
    d.click(35, 25);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(cb->state(), 2);
    inLoop(d, [&] { cb->hide(); });
    d.click(35, 25);
    EXPECT_EQ(clicks, 1);
    inLoop(d, [&] { cb->show(); });
    EXPECT_TRUE(isSolid(canvas, Rect{0, 0, 100, 60}, kBlack)); // showing draws nothing
    d.click(35, 25);
    EXPECT_EQ(clicks, 2);
}

TEST(TwoStatePicture, OnlyPositiveCoordinatesMoveIt) {
    Resources z;
    z.check("s_malo");
    z.check("S_CHBUT");
    TwoStatePicture* cb = nullptr;
    ToggleButton* cw = nullptr;
    Bitmap canvas = solidBitmap(100, 80, rgb(1, 2, 3));
    Driver d([&] {
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        TwoStatePicture c(o, "s_malo", canvas.canvas(), 30, 20, nullptr);
        ToggleButton w(o, "S_CHBUT", canvas.canvas(), 30, 20, nullptr);
        cb = &c;
        cw = &w;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    inLoop(d, [&] {
        cb->placeAt(0, 50);
        cw->placeAt(0, 50);
    });
    EXPECT_EQ(cb->control().bounds(), Rect::fromSize(30, 50, kWidth, kHeight));
    EXPECT_EQ(cw->control().bounds(), Rect::fromSize(30, 50, kWidth, kHeight));
    inLoop(d, [&] {
        cb->placeAt(-4, -1);
        cw->placeAt(-4, -1);
    });
    EXPECT_EQ(cb->control().bounds(), Rect::fromSize(30, 50, kWidth, kHeight));
    EXPECT_EQ(cw->control().bounds(), Rect::fromSize(30, 50, kWidth, kHeight));
    inLoop(d, [&] {
        cb->placeAt(7, 0);
        cw->placeAt(1, 3);
    });
    EXPECT_EQ(cb->control().bounds(), Rect::fromSize(7, 50, kWidth, kHeight));
    EXPECT_EQ(cw->control().bounds(), Rect::fromSize(1, 3, kWidth, kHeight));
    // The pictures follow the area.
    inLoop(d, [&] {
        cb->setState(1);
        cw->control().show();
        cw->draw();
    });
    EXPECT_EQ(cb->left(), 7);
    EXPECT_EQ(cb->top(), 50);
    EXPECT_EQ(canvas.pixel(7, 50), kEnabled);
    EXPECT_EQ(canvas.pixel(1, 3), kDisabled);
    EXPECT_EQ(canvas.pixel(0, 3), rgb(1, 2, 3));
}

TEST(ToggleButton, HiddenItDrawsNothingButTogglingAlwaysDrawsAndEveryClickCounts) {
    Resources z;
    z.check("S_CHBUT");
    int clicks = 0;
    ToggleButton* cw = nullptr;
    Bitmap canvas = solidBitmap(100, 60, rgb(1, 2, 3));
    Driver d([&] {
        Action action([&] { ++clicks; });
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        ToggleButton w(o, "S_CHBUT", canvas.canvas(), 30, 20, &action);
        cw = &w;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    // The click area starts hidden, with the off picture's size.
    EXPECT_FALSE(cw->control().visible());
    EXPECT_EQ(cw->control().bounds(), Rect::fromSize(30, 20, kWidth, kHeight));
    inLoop(d, [&] { cw->draw(); });
    EXPECT_TRUE(isSolid(canvas, Rect{0, 0, 100, 60}, rgb(1, 2, 3)));
    d.click(35, 25);
    EXPECT_EQ(clicks, 0);

    inLoop(d, [&] { cw->toggle(); });
    EXPECT_EQ(cw->state(), 1);
    EXPECT_TRUE(isSolid(canvas, Rect::fromSize(30, 20, kWidth, kHeight), kEnabled));
    inLoop(d, [&] { cw->toggle(); });
    EXPECT_EQ(cw->state(), 0);
    EXPECT_TRUE(isSolid(canvas, Rect::fromSize(30, 20, kWidth, kHeight), kDisabled));

    inLoop(d, [&] {
        canvas.fill(0);
        cw->control().show();
        cw->draw();
    });
    EXPECT_TRUE(isSolid(canvas, Rect::fromSize(30, 20, kWidth, kHeight), kDisabled));
    // Double clicks are off: both clicks of a double click run the action.
    d.dblClick(35, 25);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(cw->state(), 0); // the action decides; here it does not toggle
}

TEST(ToggleButton, APairBlendsItsSoftEdgeOverTheCanvasAsItIsNow) {
    Resources z;
    savePair(z.prog() + "/Data/Intf/Spec/T_glos_D", rgb(0, 0, 255));
    savePair(z.prog() + "/Data/Intf/Spec/T_glos_A", rgb(0, 255, 0));
    int clicks = 0;
    ToggleButton* cw = nullptr;
    Form* window = nullptr;
    Driver d([&] {
        Action action([&] { ++clicks; });
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        window = &o;
        o.canvas().setBrushColor(kBackground);
        o.canvas().fillRect(o.clientRect());
        ToggleButton w(o, "", o.canvas(), 40, 30, &action, "Data\\Intf\\Spec\\T_glos");
        cw = &w;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    EXPECT_EQ(cw->control().bounds(), Rect::fromSize(40, 30, 4, 2)); // the on pair's size
    EXPECT_FALSE(cw->control().visible());

    inLoop(d, [&] {
        cw->control().show();
        cw->draw();
    });
    EXPECT_EQ(d.pixel(40, 30), rgb(0, 0, 255)); // opaque
    // Half-alpha red over (0, 200, 100): weight 129; 0 + (255 * 129 >> 8), 200 - (200 * 129 >> 8),
    // 100 - (100 * 129 >> 8).
    EXPECT_EQ(d.pixel(41, 30), rgb(128, 100, 50));
    EXPECT_EQ(d.pixel(42, 30), kBackground); // transparent
    EXPECT_EQ(d.pixel(41, 31), kBackground);

    // The on state drawn straight over the off state blends over what the canvas shows now.
    inLoop(d, [&] { cw->toggle(); });
    EXPECT_EQ(d.pixel(40, 30), rgb(0, 255, 0));
    EXPECT_EQ(d.pixel(41, 30), rgb(128 + (127 * 129 >> 8), 100 - (100 * 129 >> 8), 50 - (50 * 129 >> 8)));
    EXPECT_EQ(d.pixel(43, 31), kBackground);
    EXPECT_EQ(window->canvas().copyMode(), CopyMode::SrcCopy);

    d.click(41, 30);
    EXPECT_EQ(clicks, 1);
}

TEST(CheckButtons, AMissingPictureOrPairRaisesMissingResourcesAndLeavesNothingBehind) {
    Resources z;
    z.check("s_malo");
    z.discard("s_malo_D"); // loaded after the on picture
    savePair(z.prog() + "/Data/Intf/Spec/T_glos_D", rgb(0, 0, 255));
    saveBmp(z.prog() + "/Data/Intf/Spec/T_glos_AB.xbi", solidBitmap(4, 2, kBlack)); // no _AW
    savePair(z.prog() + "/Data/Intf/Spec/T_zly_D", rgb(0, 0, 255));
    saveBmp(z.prog() + "/Data/Intf/Spec/T_zly_AB.xbi", solidBitmap(4, 2, kBlack));
    saveBmp(z.prog() + "/Data/Intf/Spec/T_zly_AW.xbi", solidBitmap(5, 2, kWhite)); // another size
    std::vector<int> codes;
    std::size_t before = 0, po = 0;
    Driver d([&] {
        Form o("Menu", Rect::fromSize(0, 0, 300, 200));
        Bitmap canvas(50, 50);
        before = o.controls().size();
        auto attempt = [&](auto&& create) {
            try {
                create();
            } catch (const FatalError& e) {
                codes.push_back(e.code);
            }
        };
        attempt([&] { TwoStatePicture c(o, "s_malo", canvas.canvas(), 0, 0, nullptr); });
        attempt([&] { ToggleButton c(o, "s_malo", canvas.canvas(), 0, 0, nullptr); });
        attempt([&] { ToggleButton c(o, "", canvas.canvas(), 0, 0, nullptr, "Data\\Intf\\Spec\\T_glos"); });
        attempt([&] { ToggleButton c(o, "", canvas.canvas(), 0, 0, nullptr, "Data\\Intf\\Spec\\T_zly"); });
        attempt([&] { ToggleButton c(o, "", canvas.canvas(), 0, 0, nullptr, "Data\\Intf\\Spec\\T_brak"); });
        po = o.controls().size();
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_EQ(codes, (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(po, before);
}
