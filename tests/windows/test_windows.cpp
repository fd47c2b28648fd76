// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "platform/graphics/Text.hpp"

#include "core/GameSettings.hpp"
#include "core/StatisticsFile.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Form.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ResultsWindow.hpp"
#include "windows/SplashWindow.hpp"

#include <optional>

using namespace wvtest;
using platform::testing::Driver;

namespace {

// A plain black full-screen window under the window being tested.
class Behind : public platform::Form {
public:
    explicit Behind(platform::Size s) : Form("Tlo", {0, 0, s.width, s.height}) {}

protected:
    void paintEvent() override {
        canvas().setBrushColor(platform::kBlack);
        canvas().fillRect(clientRect());
    }
};

} // namespace

TEST(MessageWindow, TheCodesTextsAndUnknownCodesReadBlad) {
    EXPECT_EQ(MessageWindow::textForCode(1), "Proszę wybrać większą liczbę głosek.");
    EXPECT_EQ(MessageWindow::textForCode(2), "Proszę wybrać większą liczbę pozycji głosek.");
    EXPECT_EQ(MessageWindow::textForCode(3), "Proszę wybrać większą liczbę głosek lub pozycji.");
    EXPECT_EQ(MessageWindow::textForCode(10), "Proszę wybrać pozycję i wprowadzić nazwę nagrania.");
    EXPECT_EQ(MessageWindow::textForCode(11), "Proszę wprowadzić nazwę dla nagrania.");
    EXPECT_EQ(MessageWindow::textForCode(20), "Proszę wybrać pozycję do odtworzenia.");
    EXPECT_EQ(MessageWindow::textForCode(21), "Brak nagrania dla wybranej pozycji.");
    for (int code : {0, 4, 7, 12, 22, 65535})
        EXPECT_EQ(MessageWindow::textForCode(static_cast<std::uint16_t>(code)), "Błąd.") << code;
}

TEST(MessageWindow, ShowsCentredRoundedDragsByTextOrBackgroundAndStopReturnsToTheCaller) {
    Installation inst;
    int returned = 0;
    std::string caption7;
    Driver d(
        [&] {
            Behind behind({800, 600});
            behind.show();
            platform::app().setMainForm(&behind);
            MessageWindow k;
            k.setMessage(7);
            caption7 = k.vL_Message.caption();
            k.setMessage(3);
            k.showModal();
            ++returned;
            platform::app().run();
        },
        {.screen = {800, 600}, .args = {}});
    EXPECT_EQ(caption7, "Błąd.");
    platform::Form* k = platform::app().modalForm();
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->bounds(), (platform::Rect{190, 175, 610, 425}));
    auto* label = d.control("vL_Komunikat");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Proszę wybrać większą liczbę głosek lub pozycji.");
    EXPECT_EQ(label->bounds(), (platform::Rect{18, 51, 403, 185}));

    // The background picture, inside the rounded shape; the corner shows what lies behind.
    const platform::Bitmap background = jpeg("Data\\Intf\\Spec\\mKom_kp.xji");
    EXPECT_EQ(d.pixel(190 + 60, 175 + 30), background.pixel(60, 30));
    ASSERT_NE(background.pixel(0, 0), platform::kBlack);
    EXPECT_EQ(d.pixel(190, 175), platform::kBlack);
    EXPECT_EQ(d.pixel(190 + 12, 175 + 12), background.pixel(12, 12));

    d.drag(190 + 200, 175 + 100, 190 + 240, 175 + 80); // by the text
    EXPECT_EQ(k->bounds(), (platform::Rect{230, 155, 650, 405}));
    d.drag(230 + 10, 155 + 230, 230 + 0, 155 + 240); // by the background
    EXPECT_EQ(k->bounds(), (platform::Rect{220, 165, 640, 415}));
    EXPECT_EQ(returned, 0);

    // Stop at (180, 150) of the window closes it.
    d.click(220 + 180 + 35, 165 + 150 + 30);
    EXPECT_EQ(returned, 1);
    EXPECT_EQ(platform::app().modalForm(), nullptr);
}

TEST(MessageWindow, AMissingBackgroundIsMissingResources) {
    Installation inst(Installation::Data::Linked);
    inst.unlink("Data/Intf");
    stdfs::remove(inst.prog() / "Data/Intf/Spec/mKom_kp.xji");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(out.code, 1) << "a scripted run tells the error in its exit code";
    EXPECT_TRUE(d->logged("message-box Wirowanki Cz.I Demo - Błąd |           Brak zasobów !\\n\\nProszę "
                          "przeinstalować program."));
}

namespace {

struct Game {
    int correct, wrong, hints;
};

// A point of the window (above the labels) where the three rating pictures all differ.
std::optional<platform::Point> ratingPoint(const platform::Bitmap& b, const platform::Bitmap& m,
                                           const platform::Bitmap& g) {
    for (int y = 30; y < 170; y += 3)
        for (int x = 30; x < 570; x += 3)
            if (b.pixel(x, y) != m.pixel(x, y) && m.pixel(x, y) != g.pixel(x, y) &&
                b.pixel(x, y) != g.pixel(x, y))
                return platform::Point{x, y};
    return std::nullopt;
}

} // namespace

TEST(ResultsWindow, RatingPicksThePictureButtonsAndEscapeGiveTheResultsAndLabelsShowTheFigures) {
    Installation inst;
    const std::vector<Game> games{{2, 5, 1}, {3, 2, 0}, {5, 0, 12}};
    std::vector<int> results;
    Driver d(
        [&] {
            Behind behind({800, 600});
            behind.show();
            platform::app().setMainForm(&behind);
            ProgramContext context;
            StatisticsFile rec(1);
            context.statistics = &rec;
            ResultsWindow fm(context);
            for (const Game& g : games) {
                rec.start(kGameMemory, context.settings.memory);
                for (int i = 0; i < g.correct; ++i)
                    rec.addCorrect();
                for (int i = 0; i < g.wrong; ++i)
                    rec.addWrong();
                for (int i = 0; i < g.hints; ++i)
                    rec.addHint();
                platform::app().sleep(125'000);
                rec.finish();
                results.push_back(fm.showModal());
            }
        },
        {.screen = {800, 600}, .args = {}});

    const platform::Bitmap B = jpeg("Data\\Intf\\Spec\\mStatsB.xji");
    const platform::Bitmap M = jpeg("Data\\Intf\\Spec\\mStatsM.xji");
    const platform::Bitmap G = jpeg("Data\\Intf\\Spec\\mStatsG.xji");
    const auto p = ratingPoint(B, M, G);
    ASSERT_TRUE(p.has_value());
    auto label = [&](const char* n) { return d.control(n); };

    // 2 right, 5 wrong: rating 1, the "B" picture; the start button plays again.
    platform::Form* fm = platform::app().modalForm();
    ASSERT_NE(fm, nullptr);
    EXPECT_EQ(fm->bounds(), (platform::Rect{100, 75, 700, 525}));
    EXPECT_EQ(d.pixel(100 + p->x, 75 + p->y), B.pixel(p->x, p->y));
    EXPECT_EQ(label("vL_Czas")->text(), "2 min 5 s");
    EXPECT_EQ(label("vL_Dobre")->text(), "2");
    EXPECT_EQ(label("vL_Zle")->text(), "5");
    EXPECT_EQ(label("vL_Podpowiedzi")->text(), "1");
    EXPECT_EQ(label("lbDobre")->text(), "Poprawne rozwiązania:");
    EXPECT_EQ(label("lbDobre")->left(), 88);
    EXPECT_EQ(label("lbDobre")->top(), 206);
    EXPECT_EQ(label("vL_Czas")->bounds().right, 358);
    EXPECT_EQ(label("vL_Czas")->top(), 177);
    for (const char* v : {"vL_Dobre", "vL_Zle", "vL_Podpowiedzi"})
        EXPECT_EQ(label(v)->bounds().right, 422) << v;
    // Outside the rounded shape the window behind shows.
    ASSERT_NE(B.pixel(1, 1), platform::kBlack);
    EXPECT_EQ(d.pixel(100 + 1, 75 + 1), platform::kBlack);
    d.click(100 + 235 + 35, 75 + 340 + 30);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], ResultsWindow::kResultPlayAgain);

    // 3 right, 2 wrong: rating 2, "M"; dragged by the background first, then stop.
    EXPECT_EQ(d.pixel(100 + p->x, 75 + p->y), M.pixel(p->x, p->y));
    EXPECT_EQ(label("vL_Zle")->text(), "2");
    d.drag(100 + p->x, 75 + p->y, 100 + p->x + 40, 75 + p->y - 50);
    EXPECT_EQ(fm->bounds(), (platform::Rect{140, 25, 740, 475}));
    EXPECT_EQ(d.pixel(140 + p->x, 25 + p->y), M.pixel(p->x, p->y));
    d.click(140 + 325 + 35, 25 + 340 + 30);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1], ResultsWindow::kResultStop);

    // 5 right, none wrong: rating 4, "G"; Escape stops. A value that grows keeps its right edge.
    EXPECT_EQ(d.pixel(fm->left() + p->x, fm->top() + p->y), G.pixel(p->x, p->y));
    EXPECT_EQ(label("vL_Podpowiedzi")->text(), "12");
    EXPECT_EQ(label("vL_Podpowiedzi")->bounds().right, 422);
    EXPECT_GT(label("vL_Podpowiedzi")->width(), label("vL_Dobre")->width());
    d.key(27);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[2], ResultsWindow::kResultStop);
}

TEST(SplashWindow, WithItsPictureTheWindowHasThePicturesSizeAndShowsOnlyThePicture) {
    Installation inst;
    platform::Rect bounds;
    bool title = true, error = true;
    Driver d(
        [&] {
            SplashWindow s;
            s.show();
            bounds = s.bounds();
            title = s.lbTitle.visible();
            error = s.lbErrorText.visible();
            platform::app().run();
        },
        {.screen = {1024, 768}, .args = {}});
    const platform::Bitmap pic = jpeg("Data\\Intf\\Spec\\mT_Splh.xji");
    EXPECT_EQ(bounds, platform::Rect::fromSize((1024 - pic.width()) / 2, (768 - pic.height()) / 2,
                                               pic.width(), pic.height()));
    EXPECT_FALSE(title);
    EXPECT_FALSE(error);
    for (platform::Point q : {platform::Point{10, 10}, platform::Point{300, 200}, platform::Point{590, 340}})
        EXPECT_EQ(d.pixel(bounds.left + q.x, bounds.top + q.y), pic.pixel(q.x, q.y));
    EXPECT_TRUE(d.logged("form-shown Wirowanki Cz.I Demo Splash"));
}

TEST(SplashWindow, WithoutItsPictureTheTextFormShowsOnLimeGreen) {
    for (bool broken : {false, true}) {
        Installation inst(Installation::Data::Linked);
        inst.unlink("Data/Intf");
        const stdfs::path pic = inst.prog() / "Data/Intf/Spec/mT_Splh.xji";
        if (broken)
            std::ofstream(pic, std::ios::binary | std::ios::trunc) << "\xFF\xD8\xFF\xE0 truncated";
        else
            stdfs::remove(pic);
        platform::Rect bounds;
        Driver d(
            [&] {
                SplashWindow s;
                s.show();
                bounds = s.bounds();
                platform::app().run();
            },
            {.screen = {800, 600}, .args = {}});
        EXPECT_EQ(bounds, (platform::Rect{100, 126, 700, 474}));
        EXPECT_EQ(d.control("lbTytul")->text(), "Wirowanki Cz.I Demo");
        EXPECT_EQ(d.control("lbBladTekst")->text(), "Brak zasobów!");
        EXPECT_TRUE(d.control("lbTytul")->visible());
        EXPECT_TRUE(d.control("lbBladTekst")->visible());
        EXPECT_EQ(d.pixel(100 + 590, 126 + 340), platform::kLime);
        // Red letters in the top-left corner.
        int red = 0;
        for (int y = 8; y < 24; ++y)
            for (int x = 8; x < 110; ++x) {
                const platform::Color c = d.pixel(100 + x, 126 + y);
                if (platform::redOf(c) > 200 && platform::greenOf(c) < 100) ++red;
            }
        EXPECT_GT(red, 20);
        // The whole text, the closing "!" too, lies inside the label.
        const platform::Font f{
            .family = "MS Sans Serif", .height = 13, .bold = true, .color = platform::kRed};
        const int withoutExclamation = platform::text::measure(f, "Brak zasobów").width;
        const int whole = platform::text::measure(f, "Brak zasobów!").width;
        EXPECT_GE(d.control("lbBladTekst")->bounds().width(), whole);
        int exclamationMarks = 0;
        for (int y = 8; y < 8 + platform::text::lineHeight(f); ++y)
            for (int x = 8 + withoutExclamation; x < 8 + whole; ++x)
                if (platform::redOf(d.pixel(100 + x, 126 + y)) > 200 &&
                    platform::greenOf(d.pixel(100 + x, 126 + y)) < 100)
                    ++exclamationMarks;
        EXPECT_GT(exclamationMarks, 3);
    }
}
