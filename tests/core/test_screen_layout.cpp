// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CoreTestSupport.hpp"
#include "core/FatalError.hpp"
#include "core/ScreenLayout.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Image.hpp"

#include <gtest/gtest.h>

TEST(DisplayGeometry, smallScreensUseThe800AreaCentred) {
    const ScreenLayout d(1024, 600);
    EXPECT_EQ(d.mode(), kMode800);
    EXPECT_EQ(d.offsetX(), 112);
    EXPECT_EQ(d.offsetY(), 0);
    EXPECT_EQ(d.areaWidth(), 800);
    EXPECT_EQ(d.areaHeight(), 600);
    EXPECT_EQ(d.prefix1(), "R2");
    EXPECT_EQ(d.prefix2(), "R2");
    EXPECT_EQ(d.prefix3(), "R2");
    EXPECT_STREQ(d.suffix(), "_s");
    EXPECT_FALSE(d.screenTooSmall());

    const ScreenLayout exact(800, 600);
    EXPECT_EQ(exact.mode(), kMode800);
    EXPECT_EQ(exact.offsetX(), 0);
    EXPECT_EQ(exact.offsetY(), 0);
    EXPECT_FALSE(exact.screenTooSmall());

    // Wide but low stays mode 2; odd leftovers round toward zero.
    const ScreenLayout wide(1920, 767);
    EXPECT_EQ(wide.mode(), kMode800);
    EXPECT_EQ(wide.offsetX(), 560);
    EXPECT_EQ(wide.offsetY(), 83);
}

TEST(DisplayGeometry, largeScreensUseThe1024AreaCentred) {
    const ScreenLayout d(1280, 1024);
    EXPECT_EQ(d.mode(), kMode1024);
    EXPECT_EQ(d.offsetX(), 128);
    EXPECT_EQ(d.offsetY(), 128);
    EXPECT_EQ(d.areaWidth(), 1024);
    EXPECT_EQ(d.areaHeight(), 768);
    EXPECT_EQ(d.prefix1(), "R3");
    EXPECT_EQ(d.prefix3(), "R3");
    EXPECT_STREQ(d.suffix(), "_b");
    EXPECT_EQ(d.screenWidth(), 1280);
    EXPECT_EQ(d.screenHeight(), 1024);

    const ScreenLayout exact(1024, 768);
    EXPECT_EQ(exact.mode(), kMode1024);
    EXPECT_EQ(exact.offsetX(), 0);
}

TEST(DisplayGeometry, screensBelow800x600AreTooSmall) {
    EXPECT_TRUE(ScreenLayout(799, 600).screenTooSmall());
    EXPECT_TRUE(ScreenLayout(800, 599).screenTooSmall());
    EXPECT_TRUE(ScreenLayout(0, 0).screenTooSmall());
    const ScreenLayout small(799, 600);
    EXPECT_EQ(small.mode(), kMode800);
    EXPECT_EQ(small.offsetX(), 0) << "(799 - 800) / 2 rounds toward zero";

    ScreenLayout d;
    d.init(640, 480);
    EXPECT_TRUE(d.screenTooSmall());
    d.init(1600, 900);
    EXPECT_FALSE(d.screenTooSmall());
    EXPECT_EQ(d.mode(), kMode1024);
    EXPECT_EQ(d.offsetX(), 288);
    EXPECT_EQ(d.offsetY(), 66);
}

TEST(DisplayGeometry, lengthsConvertBetweenDesignSpaces) {
    const ScreenLayout m2(800, 600);
    EXPECT_EQ(m2.scale(kMode800, 123), 123);
    EXPECT_EQ(m2.scale(kMode1024, 1024), 800);
    EXPECT_EQ(m2.scale(kMode1024, 100), 78); // 2500 / 32
    EXPECT_EQ(m2.scale(kMode1024, 31), 24);  // 775 / 32
    EXPECT_EQ(m2.scale(16, 1280), 800);
    EXPECT_EQ(m2.scale(16, 267), 166); // 1335 / 8
    EXPECT_EQ(m2.scale(16, 15), 9);
    EXPECT_EQ(m2.scale(3, 500), 500);
    EXPECT_EQ(m2.scale(0, 500), 500);

    const ScreenLayout m4(1280, 1024);
    EXPECT_EQ(m4.scale(kMode1024, 123), 123);
    EXPECT_EQ(m4.scale(kMode800, 800), 1024);
    EXPECT_EQ(m4.scale(kMode800, 100), 128);
    EXPECT_EQ(m4.scale(kMode800, 37), 47); // 1184 / 25
    EXPECT_EQ(m4.scale(kMode800, -37), -47) << "division rounds toward zero";
    EXPECT_EQ(m4.scale(16, 1280), 1024);
    EXPECT_EQ(m4.scale(16, 267), 213); // 2136 / 10
    EXPECT_EQ(m4.scale(16, 9), 7);
    EXPECT_EQ(m4.scale(8, 500), 500);

    // Multiplying first keeps precision and cannot overflow for large lengths.
    EXPECT_EQ(m4.scale(kMode800, 100000000), 128000000);

    int w = 1280, h = 534;
    m2.scale(16, w, h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 333); // 2670 / 8
    w = 401;
    h = 299;
    m4.scale(kMode800, w, h);
    EXPECT_EQ(w, 513); // 12832 / 25
    EXPECT_EQ(h, 382); // 9568 / 25
    w = 7;
    h = 9;
    m4.scale(kMode1024, w, h);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 9);
}

TEST(DisplayBackground, aScreenSizedBlackBitmapWithThePictureAtTheOffsets) {
    coretest::TempRoots roots;
    platform::Bitmap pic(800, 600, platform::PixelFormat::Bgr24);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            pic.setPixel(x, y, platform::rgb(250, 250, 250));
    coretest::TempRoots::write(roots.program() / "Data/Intf/Spec/mT_m0_s.xji",
                               platform::image::encodeJpeg(pic, 95));

    const ScreenLayout d(1024, 640);
    platform::Bitmap bg(3, 3, platform::PixelFormat::Indexed8);
    d.drawBackground(bg, "Data\\Intf\\Spec\\mT_m0_s.xji");
    ASSERT_EQ(bg.width(), 1024);
    ASSERT_EQ(bg.height(), 640);
    EXPECT_EQ(bg.format(), platform::PixelFormat::Bgr24);
    EXPECT_EQ(bg.pixel(111, 20), platform::kBlack);
    EXPECT_EQ(bg.pixel(500, 19), platform::kBlack);
    EXPECT_EQ(bg.pixel(912, 300), platform::kBlack);
    EXPECT_EQ(bg.pixel(500, 620), platform::kBlack);
    for (auto [x, y] : {std::pair{112, 20}, {911, 619}, {500, 300}})
        EXPECT_GE(platform::redOf(bg.pixel(x, y)), 240) << x << "," << y;

    // A missing picture leaves the screen black, without an error.
    platform::Bitmap black;
    d.drawBackground(black, "Data\\Intf\\Spec\\mT_m0_b.xji");
    ASSERT_EQ(black.width(), 1024);
    ASSERT_EQ(black.height(), 640);
    for (int y = 0; y < 640; y += 37)
        for (int x = 0; x < 1024; x += 41)
            ASSERT_EQ(black.pixel(x, y), platform::kBlack);
}

TEST(FatalError, messagesByCode) {
    const FatalError b1(1);
    EXPECT_STREQ(b1.what(), "Blad");
    EXPECT_EQ(b1.message(), "          Brak zasobów !\n\nProszę przeinstalować program.");
    EXPECT_EQ(b1.message().find("Brak"), 10u) << "ten spaces before the text";
    EXPECT_EQ(FatalError(2).message(), "Proszę zmienić rozdzielczość ekranu na 800 x 600 lub wyższą.");
    EXPECT_EQ(FatalError(3).message(), "Plik statystyk nie został poprawnie stworzony.");
    EXPECT_EQ(FatalError(4).message(),
              "Brak dostępu do pliku konfiguracyjnego programu. Program zakończy działanie.");
    EXPECT_EQ(FatalError(99).message(), "");
    EXPECT_EQ(FatalError(99, "Własny tekst").message(), "Własny tekst");
    EXPECT_EQ(FatalError(5, "Własny tekst").message(), "") << "only code 99 shows its own text";
    EXPECT_EQ(FatalError(0).message(), "");
    EXPECT_EQ(FatalError(-1).message(), "");
    EXPECT_EQ(FatalError(2).code, 2);
    EXPECT_TRUE(FatalError(2).text.empty());
}
