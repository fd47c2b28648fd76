// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A game window holds its screen-sized pictures only while it is on screen.
#include "../windows/program_fixture.hpp"

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
        {1, "Podpisywanie", [] { return fmPodpisywanie; }, [] { return fmPodpisywanie->bajtyObrazow(); },
         4 * kEkran},
        {2, "Memory", [] { return fmMemory; }, [] { return fmMemory->bajtyObrazow(); }, 2 * kEkran},
        {3, "Uzupelnianie", [] { return fmUzupelnianie; }, [] { return fmUzupelnianie->bajtyObrazow(); },
         2 * kEkran},
        {4, "Spadajace", [] { return fmSpadajace; }, [] { return fmSpadajace->bajtyObrazow(); }, 2 * kEkran},
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
        ASSERT_NE(fmKoniecGry, nullptr);
        ASSERT_TRUE(fmKoniecGry->visible());
        d->click("koniec"); // stop
        d->wait(300);
        EXPECT_FALSE(f->visible());
        EXPECT_EQ(o.bajty(), 0u);
        EXPECT_EQ(stala.backing().byteSize(), 0u);
        d->key(27);
    }
}
