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

struct Okno {
    int zakladka;
    const char* sekcja;
    std::function<platform::Form*()> forma;
    std::function<std::size_t()> bajty;
    std::size_t naEkranie; // 800 x 600, three bytes a pixel, rows of 2400 bytes
};

const std::size_t kEkran = 2400 * 600;

} // namespace

TEST(UkryteOknaGier, HoldNoScreenSizedPicturesBeforeShowingAndAfterHiding) {
    const Okno okna[] = {
        {1, "Podpisywanie", [] { return wvtest::gameWindow<LabellingWindow>(ZAK_PODPISYWANIE); },
         [] { return wvtest::gameWindow<LabellingWindow>(ZAK_PODPISYWANIE)->bajtyObrazow(); }, 4 * kEkran},
        {2, "Memory", [] { return wvtest::gameWindow<MemoryWindow>(ZAK_MEMORY); },
         [] { return wvtest::gameWindow<MemoryWindow>(ZAK_MEMORY)->bajtyObrazow(); }, 2 * kEkran},
        {3, "Uzupelnianie", [] { return wvtest::gameWindow<CompletionWindow>(ZAK_UZUPELNIANIE); },
         [] { return wvtest::gameWindow<CompletionWindow>(ZAK_UZUPELNIANIE)->bajtyObrazow(); }, 2 * kEkran},
        {4, "Spadajace", [] { return wvtest::gameWindow<FallingWindow>(ZAK_SPADAJACE); },
         [] { return wvtest::gameWindow<FallingWindow>(ZAK_SPADAJACE)->bajtyObrazow(); }, 2 * kEkran},
    };
    for (const Okno& o : okna) {
        SCOPED_TRACE(o.sekcja);
        Installation inst(Installation::Data::Linked);
        inst.writeIni("[DaneProgramu]\r\nZakladka=" + std::to_string(o.zakladka) + "\r\n[" + o.sekcja +
                      "]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
        Outcome out;
        auto d = startProgram(out, {800, 600});
        d->wait(2000);
        platform::Form* f = o.forma();
        ASSERT_NE(f, nullptr);
        const platform::Form& stala = *f;
        EXPECT_FALSE(f->visible());
        EXPECT_EQ(o.bajty(), 0u);
        EXPECT_EQ(stala.backing().byteSize(), 0u);

        d->click("start"); // start
        d->wait(300);
        ASSERT_TRUE(f->visible());
        EXPECT_EQ(o.bajty(), o.naEkranie);

        d->key(27);
        ASSERT_NE(wvtest::resultsWindow(), nullptr);
        ASSERT_TRUE(wvtest::resultsWindow()->visible());
        d->click("koniec"); // stop
        d->wait(300);
        EXPECT_FALSE(f->visible());
        EXPECT_EQ(o.bajty(), 0u);
        EXPECT_EQ(stala.backing().byteSize(), 0u);
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
        {ZAK_PODPISYWANIE, "pomoc", {720, 85}, {922, 109}},
        {ZAK_PODPISYWANIE, "stop", {724, 160}, {926, 205}},
        {ZAK_PODPISYWANIE, "nast", {720, 235}, {922, 301}},
        {ZAK_PODPISYWANIE, "pop", {720, 310}, {922, 397}},
        {ZAK_MEMORY, "pomoc", {720, 460}, {922, 588}},
        {ZAK_MEMORY, "stop", {724, 534}, {926, 683}},
        {ZAK_UZUPELNIANIE, "pomoc", {720, 85}, {922, 109}},
        {ZAK_UZUPELNIANIE, "stop", {724, 160}, {926, 205}},
        {ZAK_UZUPELNIANIE, "nast", {720, 235}, {922, 301}},
        {ZAK_UZUPELNIANIE, "pop", {720, 310}, {922, 397}},
        {ZAK_SPADAJACE, "pomoc", {720, 85}, {922, 109}},
        {ZAK_SPADAJACE, "stop", {724, 160}, {926, 205}},
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
