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
class ProgramData {
public:
    ProgramData() { fs::setRoots(WV_SOURCE_DIR, roots_.user()); }

private:
    TempRoots roots_; // restores the roots when it goes
};

const std::vector<std::string> kButtons = {"oprogramie", "wyjdz", "start", "rrec", "rodtworz", "rstop",
                                           "up",         "down",  "pomoc", "stop", "nast",     "pop"};

const std::vector<std::string> kCheck = {"malo", "srednio_g", "duzo_g", "SZ",         "ZZ_g",
                                         "CZ_g", "DZZ_g",     "naglos", "srodglos_g", "wyglos_g"};

} // namespace

TEST(ShippedPictures, EveryButtonOfTheWindowsBuildsWithItsFourPictures) {
    ProgramData dane;
    std::vector<std::string> errors;
    std::vector<Rect> frame;
    Driver d([&] {
        wt::WindowWithBackground o("Menu", Rect::fromSize(0, 0, 800, 600));
        Bitmap workBitmap(800, 600);
        for (const auto& n : kButtons) {
            try {
                MenuButton p(o, n, o.canvas(), o.background.canvas(), 10, 10, nullptr);
                GameButton g(o, n, workBitmap.canvas(), 10, 10, nullptr);
                frame.push_back(p.bounds());
            } catch (const std::exception& e) {
                errors.push_back(n + ": " + e.what());
            }
        }
        try {
            ScrollBar s(o, 0, 0, o.canvas(), o.background.canvas());
        } catch (const std::exception& e) {
            errors.push_back(std::string("scroll: ") + e.what());
        }
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_EQ(errors, std::vector<std::string>{});
    for (const Rect& r : frame) {
        EXPECT_GT(r.width(), 0);
        EXPECT_GT(r.height(), 0);
    }
}

TEST(ShippedPictures, CheckButtonsCaptionsSpeakerAndRingOfBothModes) {
    ProgramData dane;
    std::vector<std::string> errors;
    Driver d([&] {
        Form o("Menu", Rect::fromSize(0, 0, 800, 600));
        Bitmap canvas(1024, 768);
        auto attempt = [&](const std::string& co, auto&& create) {
            try {
                create();
            } catch (const std::exception& e) {
                errors.push_back(co + ": " + e.what());
            }
        };
        for (const char* mode : {"s_", "b_"})
            for (const auto& n : kCheck)
                attempt(mode + n, [&] { TwoStatePicture c(o, mode + n, canvas.canvas(), 0, 0, nullptr); });
        attempt("S_CHBUT", [&] { ToggleButton c(o, "S_CHBUT", canvas.canvas(), 0, 0, nullptr); });
        for (const char* pair : {"Data\\Intf\\Spec\\R2_glos", "Data\\Intf\\Spec\\R3_glos"})
            attempt(pair, [&] {
                ToggleButton c(o, "", canvas.canvas(), 0, 0, nullptr, pair);
                if (c.control().width() <= 0) errors.push_back(std::string(pair) + ": empty");
            });
        for (const char* caption : {"nap_ilzadan", "nap_pozycja", "nap_gloski"})
            for (const char* end : {"_s", "_b"})
                attempt(std::string(caption) + end, [&] { Caption g(std::string(caption) + end); });
        for (Size screen : {Size{800, 600}, Size{1024, 768}}) {
            const ScreenLayout layout(screen.width, screen.height);
            attempt("ring " + std::to_string(screen.width), [&] { RingOverlay r(canvas.canvas(), layout); });
        }
    });
    EXPECT_EQ(d.error(), "");
    EXPECT_EQ(errors, std::vector<std::string>{});
}
