// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The board at every quantity in both sizes, each checked for what it shows; screenshots for looking at
// are written only when asked (WV_SCREENSHOT_DIR).
#include "memory_support.hpp"

using namespace memorytest;

namespace {

class Ekrany : public GraMemory, public ::testing::WithParamInterface<std::pair<int, int>> {};

} // namespace

TEST_P(Ekrany, MidGameAndWithAFoundPairsBigPicture) {
    const auto [poziom, szerokosc] = GetParam();
    const platform::Size ekran = szerokosc == 800 ? platform::Size{800, 600} : platform::Size{1024, 768};
    uruchom({.poziom = poziom, .ekran = ekran});
    const std::string nazwa = "memory_" + std::to_string(szerokosc) + "_p" + std::to_string(poziom);

    // One pair gone, one card turned.
    const auto [a, b] = pary().at(0);
    klikKarte(a);
    klikKarte(b);
    d->wait(2000);
    const int c = pary().at(0).first;
    klikKarte(c);
    zdjecie(nazwa + "_mid.png");
    EXPECT_TRUE(awers(c));
    EXPECT_FALSE(karta(a).naPlanszy());

    // Its partner: the big picture is up while the word is said.
    klikKarte(partner(c));
    zdjecie(nazwa + "_para.png");
    const platform::Point spot = MemoryGame::miejsceDuzego(szerokosc == 800 ? TRYB_800 : TRYB_1024);
    platform::Bitmap duzy;
    wczytajJpeg(duzy, "Data\\Bio\\" + karta(c).slowo() + (szerokosc == 800 ? "_ms.xji" : "_mb.xji"));
    // The picture's middle is opaque in the mask, so the picture shows as it is.
    const int sx = duzy.width() / 2, sy = duzy.height() / 2;
    EXPECT_EQ(d->pixel(spot.x + sx, spot.y + sy), duzy.pixel(sx, sy));
    // No card lies under the big picture.
    for (int k = 0; k < n(); ++k) {
        const platform::Point p = gra().komorka(k);
        EXPECT_TRUE(platform::Rect::fromSize(p.x, p.y, 70, 94)
                        .intersect(platform::Rect::fromSize(spot.x, spot.y, duzy.width(), duzy.height()))
                        .empty())
            << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Wszystkie, Ekrany,
                         ::testing::Values(std::pair{1, 800}, std::pair{2, 800}, std::pair{3, 800},
                                           std::pair{1, 1024}, std::pair{2, 1024}, std::pair{3, 1024}),
                         [](const auto& info) {
                             return "Poziom" + std::to_string(info.param.first) + "_" +
                                    std::to_string(info.param.second);
                         });
