// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/ResourcePictures.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "games/completion/CompletionWindow.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "games/memory/MemoryWindow.hpp"
#include "platform/windows/Control.hpp"
#include "windows/MainMenu.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <optional>

using namespace wvtest;
using platform::testing::Driver;

namespace {

platform::Bitmap resource(const std::string& name) {
    platform::Bitmap b;
    openBmp(name, b);
    return b;
}

// A point where two pictures of equal size differ, so a screen pixel there tells them apart.
std::optional<platform::Point> whereTheyDiffer(const platform::Bitmap& a, const platform::Bitmap& b) {
    for (int y = a.height() / 4; y < a.height() * 3 / 4; ++y)
        for (int x = a.width() / 4; x < a.width() * 3 / 4; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return platform::Point{x, y};
    return std::nullopt;
}

struct Layout {
    platform::Size screen;
    const char* prefix;
    platform::Point strip;
    // Top-left corners of the ten check buttons: few, medium, many, SZ, Ż/RZ, CZ, DŻ, initial, medial, final.
    platform::Point checks[10];
    platform::Point start, exit;
};

const Layout kMode2{{800, 600},
                    "s_",
                    {551, 74},
                    {{160, 200},
                     {293, 200},
                     {426, 200},
                     {166, 300},
                     {266, 300},
                     {366, 300},
                     {466, 300},
                     {160, 400},
                     {293, 400},
                     {426, 400}},
                    {435, 515},
                    {345, 515}};
const Layout kMode4{{1024, 768},
                    "b_",
                    {705, 95},
                    {{204, 256},
                     {374, 256},
                     {545, 256},
                     {213, 384},
                     {341, 384},
                     {469, 384},
                     {597, 384},
                     {204, 512},
                     {374, 512},
                     {545, 512}},
                    {547, 659},
                    {457, 659}};
const char* const kChecks[10] = {"malo", "srednio_g", "duzo_g", "SZ",         "ZZ_g",
                                 "CZ_g", "DZZ_g",     "naglos", "srodglos_g", "wyglos_g"};

// Whether the screen shows check button i on (true) or off (false); fails when it shows neither.
bool shownOn(Driver& d, const Layout& l, int i) {
    const std::string n = std::string(l.prefix) + kChecks[i];
    const platform::Bitmap on = resource(n + "_A"), off = resource(n + "_D");
    const auto p = whereTheyDiffer(on, off);
    EXPECT_TRUE(p.has_value()) << n;
    if (!p) return false;
    const platform::Color c = d.pixel(l.checks[i].x + p->x, l.checks[i].y + p->y);
    EXPECT_TRUE(c == on.pixel(p->x, p->y) || c == off.pixel(p->x, p->y)) << n << " shows neither picture";
    return c == on.pixel(p->x, p->y);
}

std::vector<bool> shownStates(Driver& d, const Layout& l) {
    std::vector<bool> s;
    for (int i = 0; i < 10; ++i)
        s.push_back(shownOn(d, l, i));
    return s;
}

void clickCheck(Driver& d, const Layout& l, int i) {
    d.click(l.checks[i].x + 10, l.checks[i].y + 10);
}

// The strip shows tab picture t at its place.
bool stripShows(Driver& d, const Layout& l, int t) {
    const std::string sfx = l.screen.width == 800 ? "_s" : "_b";
    const platform::Bitmap want = bmp("Data\\Intf\\Spec\\mT_m" + std::to_string(t) + sfx + ".xbi");
    for (int other = 1; other <= 5; ++other) {
        if (other == t) continue;
        const platform::Bitmap o = bmp("Data\\Intf\\Spec\\mT_m" + std::to_string(other) + sfx + ".xbi");
        const auto p = whereTheyDiffer(want, o);
        if (!p) return false;
        if (d.pixel(l.strip.x + p->x, l.strip.y + p->y) != want.pixel(p->x, p->y)) return false;
    }
    return true;
}

std::string message() {
    return wvtest::messageWindow() ? wvtest::messageWindow()->vL_Message.caption() : "";
}

// The message window's stop button, with the window in the middle of the screen.
void closeMessage(Driver& d, const Layout& l) {
    d.click((l.screen.width - 420) / 2 + 180 + 35, (l.screen.height - 250) / 2 + 150 + 30);
}

} // namespace

TEST(MainMenu, CheckButtonsStandWhereTheLayoutPutsThemAndShowTheSettingsOfTheTab) {
    for (const Layout* l : {&kMode2, &kMode4}) {
        Installation inst;
        Outcome out;
        auto d = startProgram(out, l->screen);
        d->wait(2000);
        // data.ini: labelling with few words, SZ, initial position.
        EXPECT_EQ(shownStates(*d, *l),
                  (std::vector<bool>{true, false, false, true, false, false, false, true, false, false}));
        EXPECT_TRUE(stripShows(*d, *l, 1));
        for (int i = 0; i < 10; ++i) {
            platform::Control* c = d->control(std::string(l->prefix) + kChecks[i]);
            ASSERT_NE(c, nullptr) << kChecks[i];
            EXPECT_EQ(c->left(), l->checks[i].x);
            EXPECT_EQ(c->top(), l->checks[i].y);
            EXPECT_TRUE(c->visible());
        }
        ASSERT_NE(d->control("start"), nullptr);
        EXPECT_EQ(d->control("start")->left(), l->start.x);
        EXPECT_EQ(d->control("start")->top(), l->start.y);
        EXPECT_EQ(d->control("wyjdz")->left(), l->exit.x);
        EXPECT_EQ(d->control("oprogramie")->left(), l->exit.x - 100);
        // The strip's hit area has the size of its picture.
        EXPECT_EQ(d->control("g_Menu")->left(), l->strip.x);
        EXPECT_EQ(d->control("g_Menu")->top(), l->strip.y);
        // The speaker toggle is built in the bottom-right corner but never shown.
        platform::Control* g = d->control("glosnik");
        ASSERT_NE(g, nullptr);
        EXPECT_FALSE(g->visible());
        const int margin = l->screen.width == 800 ? 4 : 5;
        EXPECT_EQ(g->left() + g->width(), l->screen.width - margin);
        EXPECT_EQ(g->top() + g->height(), l->screen.height - margin);
        d->key(27);
        EXPECT_EQ(out.code, 0);
    }
}

TEST(MainMenu, StripPressesChooseTabsByTheirBandsAndIgnoreTheGaps) {
    Installation inst;
    Outcome out;
    auto d = startProgram(out, {800, 600});
    const Layout& l = kMode2;
    d->wait(2000); // the splash has gone
    ASSERT_EQ(wvtest::context().settings.tab, 1);
    d->click(l.strip.x + 60, l.strip.y + 150);
    EXPECT_EQ(wvtest::context().settings.tab, 2);
    EXPECT_TRUE(stripShows(*d, l, 2));
    d->click(l.strip.x + 60, l.strip.y + 107); // between tabs 1 and 2
    EXPECT_EQ(wvtest::context().settings.tab, 2);
    d->click(l.strip.x + 60, l.strip.y + 5); // above tab 1
    EXPECT_EQ(wvtest::context().settings.tab, 2);
    EXPECT_TRUE(stripShows(*d, l, 2));
    d->click(l.strip.x + 60, l.strip.y + 6);
    EXPECT_EQ(wvtest::context().settings.tab, 1);
    EXPECT_TRUE(stripShows(*d, l, 1));
    d->click(l.strip.x + 60, l.strip.y + 435);
    EXPECT_EQ(wvtest::context().settings.tab, 5);
    d->click(l.strip.x + 60, l.strip.y + 345);
    EXPECT_EQ(wvtest::context().settings.tab, 4);
    d->click(l.strip.x + 60, l.strip.y + 200);
    EXPECT_EQ(wvtest::context().settings.tab, 3);
    EXPECT_TRUE(stripShows(*d, l, 3));
    // The static hit test of mode 4 at its band edges.
    EXPECT_EQ(MainMenu::tabAt(11, kMode1024), 0);
    EXPECT_EQ(MainMenu::tabAt(12, kMode1024), 1);
    EXPECT_EQ(MainMenu::tabAt(145, kMode1024), 0);
    EXPECT_EQ(MainMenu::tabAt(570, kMode1024), 5);
    EXPECT_EQ(MainMenu::tabAt(571, kMode1024), 0);
    EXPECT_EQ(MainMenu::tabAt(436, kMode800), 0);
}

TEST(MainMenu, EachTabShowsItsOwnSettingsAndTheRecorderTabItsPanel) {
    Installation inst(Installation::Data::Linked);
    inst.writeIni("[Memory]\r\nGloski=3\r\nPoziom=3\r\nPozycja=12288\r\n"
                  "[Spadajace]\r\nGloski=8\r\nPoziom=2\r\nPozycja=16384\r\n");
    Outcome out;
    auto d = startProgram(out, {1024, 768});
    const Layout& l = kMode4;
    d->wait(2000);
    d->click(l.strip.x + 60, l.strip.y + 200); // tab 2
    ASSERT_EQ(wvtest::context().settings.tab, 2);
    EXPECT_EQ(shownStates(*d, l),
              (std::vector<bool>{false, false, true, true, true, false, false, true, true, false}));
    d->click(l.strip.x + 60, l.strip.y + 400); // tab 4
    ASSERT_EQ(wvtest::context().settings.tab, 4);
    EXPECT_EQ(shownStates(*d, l),
              (std::vector<bool>{false, true, false, false, false, false, true, false, false, true}));

    d->click(l.strip.x + 60, l.strip.y + 500); // tab 5
    ASSERT_EQ(wvtest::context().settings.tab, 5);
    for (const char* c : kChecks)
        EXPECT_FALSE(d->control(std::string(l.prefix) + c)->visible()) << c;
    EXPECT_FALSE(d->control("start")->visible());
    for (const char* c : {"rrec", "rodtworz", "up", "down", "scroll", "vL_Nazwisko", "vL_Data", "wyjdz"})
        EXPECT_TRUE(d->control(c)->visible()) << c;
    EXPECT_FALSE(d->control("rstop")->visible());
    EXPECT_EQ(d->control("vL_Nazwisko")->text(), "Imię i Nazwisko");
    EXPECT_EQ(d->control("vL_Data")->text(), "Data");
    // The captions are gone: their place shows the background again.
    const platform::Bitmap caption = resource("nap_gloski_b");
    const platform::Bitmap menu = jpeg("Data\\Intf\\Spec\\mT_m0_b.xji");
    // Checked left of the recordings list's rows (which start at x 244 and cover the caption's middle),
    // at a caption pixel that differs from the menu picture.
    const int left = 512 - caption.width(), top = 384 - 48;
    int cx = -1, cy = top + caption.height() / 2;
    for (int x = 0; x < 244 - left && cx < 0; ++x)
        if (caption.pixel(x, cy - top) != menu.pixel(left + x, cy)) cx = left + x;
    ASSERT_GE(cx, 0);
    EXPECT_EQ(d->pixel(cx, cy), menu.pixel(cx, cy));

    d->click(l.strip.x + 60, l.strip.y + 20); // back to tab 1
    for (const char* c : {"rrec", "rodtworz", "rstop", "up", "down", "scroll", "vL_Nazwisko", "vL_Data"})
        EXPECT_FALSE(d->control(c)->visible()) << c;
    EXPECT_TRUE(d->control("start")->visible());
    EXPECT_EQ(d->pixel(cx, cy), caption.pixel(cx - left, cy - top));
}

TEST(MainMenu, QuantityIsARadioGroupAndTheLastSoundOrPositionStaysChosen) {
    Installation inst;
    Outcome out;
    auto d = startProgram(out, {800, 600});
    const Layout& l = kMode2;
    d->wait(2000);
    GameSettings& u = wvtest::context().settings.labelling;
    ASSERT_EQ(u.sounds, kSoundSz);

    clickCheck(*d, l, 1); // medium
    EXPECT_EQ(u.level, 2);
    clickCheck(*d, l, 1);
    EXPECT_EQ(u.level, 2);
    clickCheck(*d, l, 2);
    EXPECT_EQ(u.level, 3);
    EXPECT_EQ(shownStates(*d, l),
              (std::vector<bool>{false, false, true, true, false, false, false, true, false, false}));

    clickCheck(*d, l, 4); // Ż/RZ on
    EXPECT_EQ(u.sounds, kSoundSz | kSoundZz);
    clickCheck(*d, l, 3); // SZ off
    EXPECT_EQ(u.sounds, kSoundZz);
    EXPECT_FALSE(shownOn(*d, l, 3));
    EXPECT_TRUE(shownOn(*d, l, 4));
    clickCheck(*d, l, 4); // the last sound: it stays, and the user is told
    EXPECT_EQ(u.sounds, kSoundZz);
    EXPECT_TRUE(d->logged("form-shown Komunikat"));
    EXPECT_EQ(message(), "Proszę wybrać większą liczbę głosek.");
    ASSERT_NE(platform::app().modalForm(), nullptr);
    closeMessage(*d, l);
    EXPECT_EQ(platform::app().modalForm(), nullptr);
    EXPECT_TRUE(shownOn(*d, l, 4));

    clickCheck(*d, l, 7); // the only position
    EXPECT_EQ(u.positions, kPositionNaglos);
    EXPECT_EQ(message(), "Proszę wybrać większą liczbę pozycji głosek.");
    closeMessage(*d, l);
    clickCheck(*d, l, 8);
    clickCheck(*d, l, 9);
    EXPECT_EQ(u.positions, kPositionNaglos | kPositionSrodglos | kPositionWyglos);
    clickCheck(*d, l, 7);
    EXPECT_EQ(u.positions, kPositionSrodglos | kPositionWyglos);
    EXPECT_EQ(shownStates(*d, l),
              (std::vector<bool>{false, false, true, false, true, false, false, false, true, true}));
    // Other games' settings were not touched.
    EXPECT_EQ(wvtest::context().settings.memory.sounds, kSoundSz);
    EXPECT_EQ(wvtest::context().settings.memory.positions, kPositionNaglos);
}

TEST(MainMenu, StartWithTooFewMatchingWordsShowsTheCountsAndEnoughWordsPass) {
    // The counts below are the built-in table's: no catalogue file.
    Installation inst(Installation::Data::Linked);
    stdfs::remove(inst.prog() / "Data" / "slowa.txt");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    const Layout& l = kMode2;
    d->wait(2000);
    d->click(l.strip.x + 60, l.strip.y + 150); // Memory
    ASSERT_EQ(wvtest::context().settings.tab, kGameMemory);
    // Ten words match SZ with its contrast S; a stray bit above the sounds is cleared on start.
    wvtest::context().settings.memory.sounds = kSoundSz | kSoundS | 0x8000;
    wvtest::context().settings.memory.positions = kPositionNaglos | 0x0100;
    clickCheck(*d, l, 2); // many: 3 x 4 = 12 words needed
    ASSERT_EQ(wvtest::context().settings.memory.level, 3);
    d->click(l.start.x + 20, l.start.y + 20);
    EXPECT_EQ(wvtest::context().settings.memory.sounds, kSoundSz | kSoundS);
    EXPECT_EQ(wvtest::context().settings.memory.positions, kPositionNaglos);
    EXPECT_EQ(wvtest::context().catalogue->filtered().size(), 10u);
    EXPECT_EQ(message(), "Słów z głoskami SZ i S w nagłosie jest 10, a ta gra potrzebuje 12.");
    platform::Form* message = platform::app().modalForm();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->bounds(), (platform::Rect{190, 175, 610, 425}));
    closeMessage(*d, l);
    EXPECT_EQ(platform::app().modalForm(), nullptr);

    d->takeLog();
    clickCheck(*d, l, 1); // medium: 8 needed, 10 there
    d->click(l.start.x + 20, l.start.y + 20);
    EXPECT_FALSE(d->logged("form-shown Komunikat"));
    EXPECT_EQ(wvtest::context().catalogue->filtered().size(), 10u);
    // The memory game is up: Esc and the results' "stop" lead back to the menu.
    ASSERT_TRUE(wvtest::gameWindow<MemoryWindow>(kGameMemory)->visible());
    d->key(27);
    d->click(wvtest::resultsWindow()->left() + 325 + 20, wvtest::resultsWindow()->top() + 340 + 20);
    ASSERT_FALSE(wvtest::gameWindow<MemoryWindow>(kGameMemory)->visible());

    // Completion: SZ and the initial position filter with the contrast sound S, so 10 words.
    d->click(l.strip.x + 60, l.strip.y + 220);
    ASSERT_EQ(wvtest::context().settings.tab, kGameCompletion);
    clickCheck(*d, l, 1);
    d->click(l.start.x + 20, l.start.y + 20);
    EXPECT_FALSE(d->logged("form-shown Komunikat"));
    EXPECT_EQ(wvtest::context().catalogue->filtered().size(), 10u);
    EXPECT_EQ(wvtest::context().settings.completion.sounds, kSoundSz); // the contrast went into a copy only
    // The completion game is up: Esc and the results' "stop" lead back to the menu.
    ASSERT_TRUE(wvtest::gameWindow<CompletionWindow>(kGameCompletion)->visible());
    d->key(27);
    d->click(wvtest::resultsWindow()->left() + 325 + 20, wvtest::resultsWindow()->top() + 340 + 20);
    ASSERT_FALSE(wvtest::gameWindow<CompletionWindow>(kGameCompletion)->visible());
    clickCheck(*d, l, 2);
    d->click(l.start.x + 20, l.start.y + 20);
    EXPECT_TRUE(d->logged("form-shown Komunikat"));
    closeMessage(*d, l);

    // Labelling with 5 words at quantity 1 starts; quantity 2 does not.
    d->takeLog();
    d->click(l.strip.x + 60, l.strip.y + 50);
    d->click(l.start.x + 20, l.start.y + 20);
    EXPECT_FALSE(d->logged("form-shown Komunikat"));
    EXPECT_EQ(wvtest::context().catalogue->filtered().size(), 5u);
    // The labelling game is up: Esc and the results' "stop" lead back to the menu.
    ASSERT_TRUE(wvtest::gameWindow<LabellingWindow>(kGameLabelling)->visible());
    d->key(27);
    d->click(wvtest::resultsWindow()->left() + 325 + 20, wvtest::resultsWindow()->top() + 340 + 20);
    ASSERT_FALSE(wvtest::gameWindow<LabellingWindow>(kGameLabelling)->visible());
    clickCheck(*d, l, 1);
    d->click(l.start.x + 20, l.start.y + 20);
    EXPECT_TRUE(d->logged("form-shown Komunikat"));
}

namespace {

// Stands in for a game window: shown modally by the main menu, it closes on Esc.
class GameStandIn : public platform::Form {
public:
    GameStandIn() : Form("Gra", {0, 0, 800, 600}) {}
    int shown = 0;

protected:
    void showEvent() override { ++shown; }
    void keyPressEvent(int c) override {
        if (c == 27) close();
    }
};

} // namespace

TEST(MainMenu, AGameWindowCreatedUnderItsGameNumberIsWhatStartShowsModally) {
    Installation inst;
    GameStandIn* game = nullptr;
    Driver d(
        [&] {
            ProgramContext context;
            context.layout.init(800, 600);
            ASSERT_TRUE(context.settings.readConfiguration());
            Catalogue catalogue;
            context.catalogue = &catalogue;
            StatisticsFile rec(1);
            context.statistics = &rec;
            {
                ProgramWindows windows(context);
                wvtest::running() = &windows;
                platform::app().setMainForm(windows.create<MainMenu>(windows));
                windows.create<MessageWindow>();
                game = windows.createGame<GameStandIn>(kGameMemory);
                EXPECT_EQ(windows.game(kGameMemory), game);
                EXPECT_EQ(windows.game(kGameLabelling), nullptr);
                EXPECT_EQ(windows.about(), nullptr);
                static_cast<platform::Form*>(windows.mainMenu())->show();
                platform::app().run();
                windows.destroyWindows();
                EXPECT_EQ(windows.game(kGameMemory), nullptr);
                EXPECT_EQ(windows.mainMenu(), nullptr);
                wvtest::running() = nullptr;
            }
        },
        {.screen = {800, 600}, .args = {}});
    ASSERT_NE(game, nullptr);
    const Layout& l = kMode2;
    d.click(l.start.x + 20, l.start.y + 20); // labelling has no window: nothing opens
    EXPECT_EQ(game->shown, 0);
    EXPECT_EQ(platform::app().modalForm(), nullptr);
    d.click(l.strip.x + 60, l.strip.y + 150);
    d.click(l.start.x + 20, l.start.y + 20);
    EXPECT_EQ(game->shown, 1);
    EXPECT_EQ(platform::app().modalForm(), game);
    // The game draws from what the menu filtered: the five SZ words of the memory settings.
    EXPECT_EQ(wvtest::context().catalogue->filtered().size(), 5u);
    d.key(27);
    EXPECT_EQ(platform::app().modalForm(), nullptr);
    EXPECT_FALSE(d.finished());
    d.key(27);
    EXPECT_TRUE(d.finished());
    EXPECT_EQ(d.error(), "");
}
