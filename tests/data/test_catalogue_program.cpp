// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program over a catalogue file: a broken file stops it with its reason, the shipped one feeds the menu.
#include "../windows/program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"
#include "windows/MessageWindow.hpp"

#include <fstream>

using namespace wvtest;

namespace {

const char* const kBadCatalogue = "szafa _sz,a,f,a SZ nagłos\nnoz n,o,_ż Ż wygłos\n";
const std::string kReason =
    "Błąd w katalogu słów:\\n\\nPlik Data/slowa.txt, wiersz 2: na końcu wyrazu głoska „Ż” brzmi "
    "bezdźwięcznie, wygłos jest niemożliwy.";

} // namespace

TEST(CatalogueProgram, ABrokenCatalogueStopsStartUpAndTheResourceCheckWithFileLineAndReason) {
    for (const bool checkingResources : {false, true}) {
        SCOPED_TRACE(checkingResources ? "resource check" : "start-up");
        Installation inst(Installation::Data::Linked);
        std::ofstream(inst.prog() / "Data" / "slowa.txt", std::ios::trunc) << kBadCatalogue;
        Outcome out;
        auto d = startProgram(out, {800, 600},
                              checkingResources ? std::vector<std::string>{"z"} : std::vector<std::string>{});
        d->wait(3000);
        EXPECT_TRUE(d->finished());
        EXPECT_EQ(out.code, 1) << "a scripted run tells the error in its exit code";
        const std::string title =
            checkingResources ? "Wirowanki Cz.I Demo - Raport zasobów" : "Wirowanki Cz.I Demo - Błąd";
        EXPECT_TRUE(d->logged("message-box " + title + " | " + kReason));
        EXPECT_FALSE(d->logged("form-shown Wesołe Wirowanki Cz.I Demo"));
        EXPECT_FALSE(stdfs::exists(inst.user() / "Raport zasobów.txt"));
    }
}

TEST(CatalogueProgram, TheMenuExplainsCellsNoPolishWordFillsAndOpensTheGameForTheOthers) {
    const struct {
        const char* ini;
        const char* shown;
        const char* message;
    } scenarios[] = {
        {"Gloski=2\nPoziom=1\nPozycja=16384", "form-shown Komunikat",
         "Na końcu polskich słów Ż/RZ brzmi jak SZ, więc nie ma słów z tą głoską w wygłosie. Proszę wybrać "
         "inną "
         "pozycję."},
        {"Gloski=8\nPoziom=1\nPozycja=8192", "form-shown Komunikat",
         "W środku polskich słów głoska DŻ występuje bardzo rzadko, więc słów jest za mało do gry. Proszę "
         "wybrać nagłos."},
        {"Gloski=8\nPoziom=3\nPozycja=28672", "form-shown Komunikat",
         "Słów z głoską DŻ we wszystkich pozycjach jest 12, a ta gra potrzebuje 15."},
        {"Gloski=8\nPoziom=3\nPozycja=4096", "form-shown Komunikat",
         "Słów z głoską DŻ w nagłosie jest 10, a ta gra potrzebuje 15."},
        {"Gloski=1\nPoziom=3\nPozycja=16384", "form-shown Podpisywanie", ""},
        {"Gloski=4\nPoziom=3\nPozycja=4096", "form-shown Podpisywanie", ""},
        {"Gloski=8\nPoziom=2\nPozycja=28672", "form-shown Podpisywanie", ""},
        {"Gloski=2\nPoziom=3\nPozycja=12288", "form-shown Podpisywanie", ""},
    };
    for (const auto& p : scenarios) {
        SCOPED_TRACE(p.ini);
        Installation inst(Installation::Data::Linked);
        inst.writeIni(std::string("[DaneProgramu]\nZakladka=1\n[Podpisywanie]\n") + p.ini + "\n");
        Outcome out;
        auto d = startProgram(out, {800, 600});
        d->wait(2500);
        d->click("start");
        EXPECT_TRUE(d->logged(p.shown));
        if (*p.message) {
            EXPECT_EQ(wvtest::messageWindow()->vL_Message.caption(), p.message);
        }
    }
}
