// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A game window holds its screen-sized pictures only while it is on screen.
#include "../windows/program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "games/completion/CompletionWindow.hpp"
#include "games/falling/FallingWindow.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "games/memory/MemoryWindow.hpp"
#include "windows/ResultsWindow.hpp"

#include <cstddef>
#include <functional>

using namespace wvtest;

namespace {

struct WindowCase {
    int tab;
    const char* section;
    std::function<platform::Form*()> form;
    std::function<std::size_t()> bytes;
    std::size_t onScreen; // 800 x 600, three bytes a pixel, rows of 2400 bytes
};

const std::size_t kScreenBytes = 2400 * 600;

} // namespace

TEST(HiddenGameWindows, HoldNoScreenSizedPicturesBeforeShowingAndAfterHiding) {
    const WindowCase windows[] = {
        {1, "Podpisywanie", [] { return wvtest::gameWindow<LabellingWindow>(kGameLabelling); },
         [] { return wvtest::gameWindow<LabellingWindow>(kGameLabelling)->pictureBytes(); },
         4 * kScreenBytes},
        {2, "Memory", [] { return wvtest::gameWindow<MemoryWindow>(kGameMemory); },
         [] { return wvtest::gameWindow<MemoryWindow>(kGameMemory)->pictureBytes(); }, 2 * kScreenBytes},
        {3, "Uzupelnianie", [] { return wvtest::gameWindow<CompletionWindow>(kGameCompletion); },
         [] { return wvtest::gameWindow<CompletionWindow>(kGameCompletion)->pictureBytes(); },
         2 * kScreenBytes},
        {4, "Spadajace", [] { return wvtest::gameWindow<FallingWindow>(kGameFalling); },
         [] { return wvtest::gameWindow<FallingWindow>(kGameFalling)->pictureBytes(); }, 2 * kScreenBytes},
    };
    for (const WindowCase& o : windows) {
        SCOPED_TRACE(o.section);
        Installation inst(Installation::Data::Linked);
        inst.writeIni("[DaneProgramu]\r\nZakladka=" + std::to_string(o.tab) + "\r\n[" + o.section +
                      "]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
        Outcome out;
        auto d = startProgram(out, {800, 600});
        d->wait(2000);
        platform::Form* f = o.form();
        ASSERT_NE(f, nullptr);
        const platform::Form& constForm = *f;
        EXPECT_FALSE(f->visible());
        EXPECT_EQ(o.bytes(), 0u);
        EXPECT_EQ(constForm.backing().byteSize(), 0u);

        d->click("start"); // start
        d->wait(300);
        ASSERT_TRUE(f->visible());
        EXPECT_EQ(o.bytes(), o.onScreen);

        d->key(27);
        ASSERT_NE(wvtest::resultsWindow(), nullptr);
        ASSERT_TRUE(wvtest::resultsWindow()->visible());
        d->click("koniec"); // stop
        d->wait(300);
        EXPECT_FALSE(f->visible());
        EXPECT_EQ(o.bytes(), 0u);
        EXPECT_EQ(constForm.backing().byteSize(), 0u);
        d->key(27);
    }
}

// The game buttons stand where the layout puts them, in both layouts; tests and scripts click them by name.
TEST(GameButtons, StandAtTheirDesignedPlacesInBothLayouts) {
    struct Button {
        int game;
        const char* name;
        platform::Point at800, at1024;
    };
    const Button buttons[] = {
        {kGameLabelling, "pomoc", {720, 85}, {922, 109}},  {kGameLabelling, "stop", {724, 160}, {926, 205}},
        {kGameLabelling, "nast", {720, 235}, {922, 301}},  {kGameLabelling, "pop", {720, 310}, {922, 397}},
        {kGameMemory, "pomoc", {720, 460}, {922, 588}},    {kGameMemory, "stop", {724, 534}, {926, 683}},
        {kGameCompletion, "pomoc", {720, 85}, {922, 109}}, {kGameCompletion, "stop", {724, 160}, {926, 205}},
        {kGameCompletion, "nast", {720, 235}, {922, 301}}, {kGameCompletion, "pop", {720, 310}, {922, 397}},
        {kGameFalling, "pomoc", {720, 85}, {922, 109}},    {kGameFalling, "stop", {724, 160}, {926, 205}},
    };
    for (const platform::Size screen : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        Installation inst;
        Outcome out;
        auto d = startProgram(out, screen);
        for (const Button& b : buttons) {
            const platform::Form* window = running()->game(b.game);
            ASSERT_NE(window, nullptr);
            const platform::Control* found = nullptr;
            for (const platform::Control* c : window->controls())
                if (c->name == b.name) found = c;
            ASSERT_NE(found, nullptr) << b.game << " " << b.name;
            const platform::Point at = screen.width == 800 ? b.at800 : b.at1024;
            EXPECT_EQ(found->bounds(), platform::Rect::fromSize(at.x, at.y, 70, 60))
                << b.game << " " << b.name << " " << screen.width;
        }
        d->key(27);
        EXPECT_TRUE(d->finished());
    }
}
