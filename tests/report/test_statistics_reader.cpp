// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report_support.hpp"

#include "report/StatisticsReader.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

using reporttest::naglowek;
using reporttest::rekord;

namespace {

// 2026-12-08 12:00 UTC.
const std::int64_t kTeraz = raport::dniOdEpoki(2026, 12, 8) * 86400 + 12 * 3600;

struct Przypadek {
    const char* nazwa;
    std::string bajty;
    std::vector<int> numeryGier; // records read, by their place in the file
    std::vector<std::string> uwagi;
};

} // namespace

TEST(OdczytStatystyk, aDamagedFileGivesWhatIsReadableAndSaysWhatWasSkippedAndWhy) {
    const std::string dobry = rekord(1, 2026, 12, 1);
    const std::vector<Przypadek> przypadki = {
        {"empty", "", {}, {"Plik statystyk jest pusty."}},
        {"shorter than its header",
         naglowek().substr(0, 12),
         {},
         {"Plik statystyk jest krótszy niż jego nagłówek (12 z 20 bajtów) i nie zawiera żadnej gry."}},
        {"header only", naglowek(), {}, {}},
        {"foreign program number",
         naglowek(7) + dobry + dobry,
         {1, 2},
         {"Nagłówek pliku statystyk jest nieprawidłowy (numer programu 7 zamiast 1); zapisane gry odczytano "
          "mimo to."}},
        {"header dated 1990",
         naglowek(1, 1990) + dobry,
         {1},
         {"Nagłówek pliku statystyk jest nieprawidłowy (nieprawidłowa data utworzenia); zapisane gry "
          "odczytano "
          "mimo to."}},
        {"torn last record",
         naglowek() + dobry + dobry + dobry.substr(0, 30),
         {1, 2},
         {"Ostatni rekord jest niepełny (30 z 44 bajtów) i został pominięty."}},
        {"impossible values",
         naglowek() + dobry + rekord(0, 2026, 12, 1) + rekord(9, 2026, 12, 1) + rekord(1, 2026, 12, 1, -5) +
             rekord(1, 1999, 12, 31) + rekord(1, 2026, 12, 10) + rekord(1, 2026, 13, 1) +
             rekord(1, 2025, 2, 29) + rekord(2, 2026, 12, 1, 60, 2) + rekord(3, 2026, 12, 1, 60, 1, -1) +
             rekord(4, 2026, 12, 1, 60, 1, 3, 1, 0, 4) + rekord(4, 2024, 2, 29) + rekord(3, 2026, 12, 8) +
             rekord(2, 2026, 12, 9),
         {1, 12, 13, 14},
         {"Pominięto 2 rekordy (nr 2, 3): nieznany numer gry.", "Pominięto 1 rekord (nr 4): ujemny czas gry.",
          "Pominięto 1 rekord (nr 5): data sprzed 2000 roku.",
          "Pominięto 1 rekord (nr 6): data ponad dobę późniejsza niż zegar komputera.",
          "Pominięto 2 rekordy (nr 7, 8): nieprawidłowa data rozpoczęcia.",
          "Pominięto 1 rekord (nr 9): wynik gry inny niż 0 lub 1.",
          "Pominięto 1 rekord (nr 10): ujemna liczba odpowiedzi lub podpowiedzi.",
          "Pominięto 1 rekord (nr 11): ilość zadań spoza zakresu 1–3.",
          "1 gra ma datę późniejszą niż zegar tego komputera (najwyżej o dobę); pokazano ją z zapisaną datą. "
          "Warto sprawdzić ustawienie zegara i strefy czasowej."}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const std::vector<std::uint8_t> b(p.bajty.begin(), p.bajty.end());
        const raport::Odczyt o = raport::odczytaj(b, kTeraz);
        std::vector<int> numery;
        for (const raport::Gra& g : o.gry)
            numery.push_back(g.numer);
        EXPECT_EQ(numery, p.numeryGier);
        EXPECT_EQ(o.uwagi, p.uwagi);
        EXPECT_TRUE(o.plikIstnieje);
    }
}

TEST(OdczytStatystyk, aRecordIsReadFieldByFieldAndManySkippedNumbersAreCutShort) {
    std::string plik = naglowek() + rekord(3, 2026, 12, 1, 125, 0, 7, 2, 4, 2);
    for (int i = 0; i < 10; ++i)
        plik += rekord(5, 2026, 12, 1);
    const std::vector<std::uint8_t> b(plik.begin(), plik.end());
    const raport::Odczyt o = raport::odczytaj(b, kTeraz);
    ASSERT_EQ(o.gry.size(), 1u);
    const raport::Gra& g = o.gry[0];
    EXPECT_EQ(g.gra, 3);
    EXPECT_EQ(g.startSek, raport::dniOdEpoki(2026, 12, 1) * 86400 + 12 * 3600);
    EXPECT_EQ(g.poziom, 2);
    EXPECT_EQ(g.gloski, 1);
    EXPECT_EQ(g.pozycja, 0x1000);
    EXPECT_EQ(g.czasSek, 125);
    EXPECT_FALSE(g.ukonczona);
    EXPECT_EQ(g.podpowiedzi, 4);
    EXPECT_EQ(g.dobre, 7);
    EXPECT_EQ(g.zle, 2);
    EXPECT_EQ(o.pominiete, 10);
    EXPECT_EQ(o.uwagi,
              std::vector<std::string>{"Pominięto 10 rekordów (nr 2, 3, 4, 5, 6, 7, 8, 9, …): nieznany "
                                       "numer gry."});
}

TEST(OdczytStatystyk, aMissingFileIsNoErrorAndReadingLeavesTheFileAsItWas) {
    coretest::TempRoots roots;
    raport::Odczyt brak = raport::odczytajPlik("prgst1.stt", kTeraz);
    EXPECT_FALSE(brak.plikIstnieje);
    EXPECT_TRUE(brak.gry.empty());
    EXPECT_TRUE(brak.uwagi.empty());

    const std::filesystem::path plik = roots.user() / "prgst1.stt";
    coretest::TempRoots::write(plik, naglowek() + rekord(1, 2026, 12, 1) + "xyz");
    std::filesystem::permissions(plik, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    const auto przed = coretest::TempRoots::read(plik);
    const auto czas = std::filesystem::last_write_time(plik);
    const raport::Odczyt o = raport::odczytajPlik("prgst1.stt", kTeraz);
    EXPECT_EQ(o.gry.size(), 1u);
    EXPECT_EQ(o.uwagi.size(), 1u);
    EXPECT_EQ(coretest::TempRoots::read(plik), przed);
    EXPECT_EQ(std::filesystem::last_write_time(plik), czas);
    EXPECT_EQ(std::filesystem::status(plik).permissions(), std::filesystem::perms::owner_read);
}

TEST(OdczytStatystyk, unreadableFilesAreExplainedInPolishAndAFileSetAsideAddsItsGamesInDateOrder) {
    coretest::TempRoots roots;
    const std::filesystem::path plik = roots.user() / "prgst1.stt";
    struct Przypadek {
        const char* nazwa;
        std::function<void()> przygotuj;
        std::string uwaga;
    } const przypadki[] = {
        {"larger than any statistics file",
         [&] {
             coretest::TempRoots::write(plik, "");
             std::filesystem::resize_file(plik, std::uintmax_t(1) << 30);
         },
         "Nie można odczytać pliku prgst1.stt (plik jest za duży)."},
        {"a directory", [&] { std::filesystem::create_directory(plik); },
         "Nie można odczytać pliku prgst1.stt (to jest katalog, nie plik)."},
        {"not readable",
         [&] {
             coretest::TempRoots::write(plik, naglowek());
             std::filesystem::permissions(plik, std::filesystem::perms::none);
         },
         "Nie można odczytać pliku prgst1.stt (brak uprawnień do odczytu)."},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::filesystem::remove_all(plik);
        p.przygotuj();
        // The superuser reads whatever the permissions say.
        if (std::string(p.nazwa) == "not readable" && ::geteuid() == 0) continue;
        const raport::Odczyt o = raport::odczytajPlik("prgst1.stt", kTeraz);
        EXPECT_TRUE(o.plikIstnieje);
        EXPECT_TRUE(o.gry.empty());
        EXPECT_EQ(o.uwagi, std::vector<std::string>{p.uwaga});
    }
    std::filesystem::remove_all(plik);
    EXPECT_EQ(raport::przyczynaBleduOdczytu(plik.string(), 100), "plik nie istnieje");

    // The set-aside file's header is broken by definition; its records count like the others.
    coretest::TempRoots::write(plik, naglowek() + rekord(1, 2026, 12, 1) + rekord(2, 2026, 12, 3));
    coretest::TempRoots::write(roots.user() / "prgst1.stt.bad",
                               naglowek(0, 1900) + rekord(3, 2026, 12, 2) + rekord(9, 2026, 12, 2) + "x");
    const raport::Odczyt o = raport::odczytajPlik("prgst1.stt", kTeraz);
    std::vector<int> gry;
    for (const raport::Gra& g : o.gry)
        gry.push_back(g.gra);
    EXPECT_EQ(gry, (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(o.pominiete, 2);
    EXPECT_EQ(o.uwagi,
              (std::vector<std::string>{
                  "Odczytano też 1 grę z pliku prgst1.stt.bad, odłożonego przy starcie programu, bo nagłówek "
                  "pliku statystyk był uszkodzony.",
                  "prgst1.stt.bad: Pominięto 1 rekord (nr 2): nieznany numer gry.",
                  "prgst1.stt.bad: Ostatni rekord jest niepełny (1 z 44 bajtów) i został pominięty."}));
}

TEST(OdczytStatystyk, calendarDaysAndPolishNumberForms) {
    struct Dzien {
        int r, m, d;
        std::int64_t dni;
    };
    for (const Dzien& c : {Dzien{1970, 1, 1, 0}, Dzien{2000, 2, 29, 11016}, Dzien{2026, 12, 8, 20795},
                           Dzien{1969, 12, 31, -1}}) {
        EXPECT_EQ(raport::dniOdEpoki(c.r, c.m, c.d), c.dni);
        int r, m, d;
        raport::dataZDni(c.dni, r, m, d);
        EXPECT_EQ((std::vector<int>{r, m, d}), (std::vector<int>{c.r, c.m, c.d}));
    }
    std::string formy;
    for (int n : {0, 1, 2, 4, 5, 12, 14, 21, 22, 112, 1000, 1002})
        formy += std::string(raport::odmiana(n, "a", "b", "c"));
    EXPECT_EQ(formy, "cabbccccbccb");
}
