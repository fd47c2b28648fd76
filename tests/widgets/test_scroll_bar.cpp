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
void expectThumb(Driver& d, int bx, int by) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(d.pixel(bx + x, by + y), inShape(x, y) ? kNormal : pattern(bx + x, by + y))
                << x << "," << y;
}

void expectBackground(Driver& d, Rect r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ASSERT_EQ(d.pixel(x, y), pattern(x, y)) << x << "," << y;
}

void thumbResources(const Resources& z) {
    z.save("scroll_D", shape(kNormal, kWhite));
    z.save("scroll_M", shape(kWhite, kBlack));
}

} // namespace

TEST(ScrollBar, TwentyTwoStepsCoverTheRange) {
    Resources z;
    thumbResources(z);
    ScrollBar* positionBar = nullptr;
    Driver d([&] {
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 400));
        ScrollBar p(o, 5, 6, o.canvas(), o.background.canvas());
        positionBar = &p;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    EXPECT_EQ(positionBar->step(), 8);
    EXPECT_EQ(positionBar->thumb().bounds(), Rect::fromSize(5, 6, kWidth, kHeight));
    expectThumb(d, 5, 6);

    inLoop(d, [&] { positionBar->setRange(200, 100, 320); });
    EXPECT_EQ(positionBar->step(), 10);
    EXPECT_EQ(positionBar->thumb().top(), 100);
    expectBackground(d, Rect::fromSize(5, 6, kWidth, kHeight)); // the old place got its background back
    for (int i = 0; i < 22; ++i)
        inLoop(d, [&] { positionBar->stepDown(); });
    EXPECT_EQ(positionBar->y(), 320);
    EXPECT_EQ(positionBar->thumb().bounds(), Rect::fromSize(200, 320, kWidth, kHeight));
    expectThumb(d, 200, 320);
    expectBackground(d, Rect::fromSize(200, 100, kWidth, kHeight));
    inLoop(d, [&] { positionBar->stepUp(); });
    EXPECT_EQ(positionBar->thumb().top(), 310);
    expectThumb(d, 200, 310);

    // A range shorter than 22 rows: step 0, the thumb stays.
    inLoop(d, [&] { positionBar->setRange(200, 100, 121); });
    EXPECT_EQ(positionBar->step(), 0);
    for (int i = 0; i < 5; ++i)
        inLoop(d, [&] { positionBar->stepDown(); });
    EXPECT_EQ(positionBar->thumb().top(), 100);
    // Bottom above top: the step goes upwards, truncating towards zero.
    inLoop(d, [&] { positionBar->setRange(200, 100, 50); });
    EXPECT_EQ(positionBar->step(), -2);
}

TEST(ScrollBar, HidingAndShowingTheThumbAndMovingUpPastTheTop) {
    Resources z;
    thumbResources(z);
    ScrollBar* positionBar = nullptr;
    WindowWithBackground* window = nullptr;
    Driver d([&] {
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 400));
        ScrollBar p(o, 40, 15, o.canvas(), o.background.canvas());
        positionBar = &p;
        window = &o;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    const int paintCount = window->paintCount;
    inLoop(d, [&] { positionBar->hide(); });
    expectBackground(d, Rect::fromSize(40, 15, kWidth, kHeight));
    EXPECT_EQ(window->paintCount, paintCount); // it erased itself
    d.click(45, 20);
    expectBackground(d, Rect::fromSize(40, 15, kWidth, kHeight));
    inLoop(d, [&] { positionBar->show(); });
    expectThumb(d, 40, 15);
    EXPECT_EQ(window->paintCount, paintCount);

    // Stepping up past the top: a negative position keeps the thumb where it was.
    inLoop(d, [&] { positionBar->stepUp(); });
    inLoop(d, [&] { positionBar->stepUp(); });
    EXPECT_EQ(positionBar->y(), -1);
    EXPECT_EQ(positionBar->thumb().top(), 7);
    inLoop(d, [&] { positionBar->thumb().placeAt(0, -3); });
    EXPECT_EQ(positionBar->thumb().bounds(), Rect::fromSize(0, 7, kWidth, kHeight));
    expectThumb(d, 0, 7);
}

TEST(ScrollThumb, PressingAndDraggingRedrawsTheSamePictureInPlace) {
    Resources z;
    thumbResources(z);
    int clicks = 0;
    ScrollThumb* thumb = nullptr;
    Driver d([&] {
        Action action([&] { ++clicks; });
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 400));
        ScrollThumb k(o, "scroll", o.canvas(), o.background.canvas(), 60, 70, &action);
        thumb = &k;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    d.move(65, 75);
    expectThumb(d, 60, 70);
    d.press(65, 75);
    EXPECT_TRUE(thumb->pressed());
    d.move(150, 200);
    expectThumb(d, 60, 70); // it does not follow the pointer
    EXPECT_EQ(thumb->bounds(), Rect::fromSize(60, 70, kWidth, kHeight));
    expectBackground(d, Rect::fromSize(145, 195, kWidth, kHeight));
    d.release(150, 200);
    EXPECT_FALSE(thumb->pressed());
    EXPECT_EQ(clicks, 0);
    d.click(65, 75);
    EXPECT_EQ(clicks, 1);
    expectThumb(d, 60, 70);
}

TEST(ScrollBar, TheThumbsClickDoesNothing) {
    Resources z;
    thumbResources(z);
    ScrollBar* positionBar = nullptr;
    Driver d([&] {
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 400));
        ScrollBar p(o, 40, 15, o.canvas(), o.background.canvas());
        positionBar = &p;
        o.show();
        app().run();
    });
    ASSERT_EQ(d.error(), "");
    // The temporary action is long gone; clicking must not reach it.
    d.click(45, 20);
    d.dblClick(45, 20);
    EXPECT_EQ(d.error(), "");
    EXPECT_FALSE(d.finished());
    EXPECT_EQ(positionBar->y(), 15);
    expectThumb(d, 40, 15);
}

TEST(ScrollThumb, AMissingPictureRaisesTheOriginalError) {
    Resources z;
    z.save("scroll_D", shape(kNormal, kWhite)); // no mask
    std::string error, scrollBarError;
    bool otherType = false;
    std::size_t before = 0, po = 0;
    Driver d([&] {
        WindowWithBackground o("Menu", Rect::fromSize(0, 0, 300, 400));
        before = o.controls().size();
        try {
            ScrollThumb k(o, "scroll", o.canvas(), o.background.canvas(), 0, 0, nullptr);
        } catch (const FileError& e) {
            error = e.what();
        } catch (...) {
            otherType = true;
        }
        try {
            ScrollBar p(o, 0, 0, o.canvas(), o.background.canvas());
        } catch (const FileError& e) {
            scrollBarError = e.what();
        } catch (...) {
            otherType = true;
        }
        po = o.controls().size();
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_FALSE(otherType);
    EXPECT_NE(error.find("scroll_M"), std::string::npos) << error;
    EXPECT_EQ(scrollBarError, error);
    EXPECT_EQ(po, before);
}
