// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Every picture widget the windows build can be built from the shipped Resource/ and Data/.
#include "widgets/Buttons.hpp"
#include "widgets/Caption.hpp"
#include "widgets/RingOverlay.hpp"
#include "widgets/ScrollBar.hpp"
#include "widgets/ToggleButton.hpp"
#include "widgets/TwoStatePicture.hpp"

#include "core/ScreenLayout.hpp"
#include "platform/system/Fs.hpp"
#include "tests/widgets/widget_fixture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;
using platform::testing::Driver;

namespace {

// The shipped data as the program directory, a scratch user directory.
class DaneProgramu {
public:
    DaneProgramu() { fs::setRoots(WV_SOURCE_DIR, roots_.user()); }

private:
    TempRoots roots_; // restores the roots when it goes
};

const std::vector<std::string> kPrzyciski = {"oprogramie", "wyjdz", "start", "rrec", "rodtworz", "rstop",
                                             "up",         "down",  "pomoc", "stop", "nast",     "pop"};

const std::vector<std::string> kCheck = {"malo", "srednio_g", "duzo_g", "SZ",         "ZZ_g",
                                         "CZ_g", "DZZ_g",     "naglos", "srodglos_g", "wyglos_g"};

} // namespace

TEST(ShippedPictures, EveryButtonOfTheWindowsBuildsWithItsFourPictures) {
    DaneProgramu dane;
    std::vector<std::string> bledy;
    std::vector<Rect> granice;
    Driver d([&] {
        wt::OknoZTlem o("Menu", Rect::fromSize(0, 0, 800, 600));
        Bitmap robocza(800, 600);
        for (const auto& n : kPrzyciski) {
            try {
                MenuButton p(o, n, o.canvas(), o.tlo.canvas(), 10, 10, nullptr);
                GameButton g(o, n, robocza.canvas(), 10, 10, nullptr);
                granice.push_back(p.bounds());
            } catch (const std::exception& e) {
                bledy.push_back(n + ": " + e.what());
            }
        }
        try {
            ScrollBar s(o, 0, 0, o.canvas(), o.tlo.canvas());
        } catch (const std::exception& e) {
            bledy.push_back(std::string("scroll: ") + e.what());
        }
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_EQ(bledy, std::vector<std::string>{});
    for (const Rect& r : granice) {
        EXPECT_GT(r.width(), 0);
        EXPECT_GT(r.height(), 0);
    }
}

TEST(ShippedPictures, CheckButtonsCaptionsSpeakerAndRingOfBothModes) {
    DaneProgramu dane;
    std::vector<std::string> bledy;
    Driver d([&] {
        Form o("Menu", Rect::fromSize(0, 0, 800, 600));
        Bitmap kanwa(1024, 768);
        auto sprobuj = [&](const std::string& co, auto&& utworz) {
            try {
                utworz();
            } catch (const std::exception& e) {
                bledy.push_back(co + ": " + e.what());
            }
        };
        for (const char* tryb : {"s_", "b_"})
            for (const auto& n : kCheck)
                sprobuj(tryb + n, [&] { TwoStatePicture c(o, tryb + n, kanwa.canvas(), 0, 0, nullptr); });
        sprobuj("S_CHBUT", [&] { ToggleButton c(o, "S_CHBUT", kanwa.canvas(), 0, 0, nullptr); });
        for (const char* para : {"Data\\Intf\\Spec\\R2_glos", "Data\\Intf\\Spec\\R3_glos"})
            sprobuj(para, [&] {
                ToggleButton c(o, "", kanwa.canvas(), 0, 0, nullptr, para);
                if (c.kontrolka().width() <= 0) bledy.push_back(std::string(para) + ": empty");
            });
        for (const char* napis : {"nap_ilzadan", "nap_pozycja", "nap_gloski"})
            for (const char* koniec : {"_s", "_b"})
                sprobuj(std::string(napis) + koniec, [&] { Caption g(std::string(napis) + koniec); });
        for (Size ekran : {Size{800, 600}, Size{1024, 768}}) {
            const ScreenLayout uklad(ekran.width, ekran.height);
            sprobuj("ring " + std::to_string(ekran.width), [&] { RingOverlay r(kanwa.canvas(), uklad); });
        }
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_EQ(bledy, std::vector<std::string>{});
}
