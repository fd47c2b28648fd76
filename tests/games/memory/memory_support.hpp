// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Plays the memory window on the headless backend with the shipped data set: program-wide objects as
// start-up makes them, the catalogue filtered with the Memory settings, the window shown modally.
#include "core/GameSettings.hpp"
#include "core/ScreenLayout.hpp"
#include "core/SharedObjects.hpp"
#include "core/StatisticsFile.hpp"
#include "games/memory/MemoryWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/backends/HeadlessBackend.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "tests/support/TempDir.hpp"
#include "tests/support/TestDriver.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace memorytest {

// A user directory of its own (the statistics file lands there); the program directory is the source
// tree with the shipped Data and Resource, unless a test gives its own.
class KatalogTymczasowy {
public:
    KatalogTymczasowy() {
        std::filesystem::create_directories(uzytkownik());
        platform::fs::setRoots(WV_SOURCE_DIR, uzytkownik().string());
    }
    ~KatalogTymczasowy() { platform::fs::setRoots("", ""); }
    KatalogTymczasowy(const KatalogTymczasowy&) = delete;
    KatalogTymczasowy& operator=(const KatalogTymczasowy&) = delete;

    std::filesystem::path baza() const { return dir_.dir(); }
    // Where a screenshot for looking at goes: only when asked (WV_SCREENSHOT_DIR names a directory), and
    // then there; otherwise nowhere (empty).
    static std::string zdjecie(const std::string& nazwa) {
        const char* katalog = std::getenv("WV_SCREENSHOT_DIR");
        if (!katalog || !*katalog) return {};
        std::filesystem::create_directories(katalog);
        return (std::filesystem::path(katalog) / nazwa).string();
    }
    std::filesystem::path uzytkownik() const { return baza() / "user"; }

private:
    wvtest::TempDir dir_{"memory"};
};

// One 44-byte record of the statistics file.
struct Rekord {
    std::int32_t gameId, czasSek, podpowiedzi, dobre, zle;
    std::int16_t poziom, gloski, pozycja, wynik;
};

inline std::int32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int32_t(std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 |
                        std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24);
}
inline std::int16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int16_t(b[at] | b[at + 1] << 8);
}

// A black full-screen window below the game, as the main menu would be.
class Tlo : public platform::Form {
public:
    Tlo() : Form("Tlo") {
        const platform::Size s = platform::app().screenSize();
        setBounds(0, 0, s.width, s.height);
    }

protected:
    void paintEvent() override {
        canvas().setBrushColor(platform::kBlack);
        canvas().fillRect(clientRect());
    }
};

// A game window shown modally over a background, on the shipped data, with the program-wide objects as
// start-up makes them. przygotuj fills the game's settings record and filters the catalogue, as the main
// menu does before it opens the window.
template <class Okno> class GraWOknie : public ::testing::Test {
protected:
    void TearDown() override { d.reset(); }

    void uruchomOkno(platform::Size ekran, Okno*& globalny, std::function<void(Catalogue&)> przygotuj) {
        d = std::make_unique<platform::testing::Driver>(
            [this, &globalny, przygotuj] {
                const platform::Size s = platform::app().screenSize();
                display.init(s.width, s.height);
                Catalogue katalogSlow;
                slowa = &katalogSlow;
                StatisticsFile stat(1);
                statRec = &stat;
                Tlo tlo;
                tlo.show();
                Okno gra;
                globalny = okno = &gra;
                ResultsWindow koniec;
                fmKoniecGry = wyniki = &koniec;
                przygotuj(katalogSlow);
                wynikOkna = gra.showModal();
                platform::app().run();
                fmKoniecGry = wyniki = nullptr;
                globalny = okno = nullptr;
                statRec = nullptr;
                slowa = nullptr;
            },
            platform::testing::DriverOptions{.screen = ekran, .args = {}});
    }

    std::vector<std::uint8_t> plikStatystyk() {
        std::ifstream in(katalog.uzytkownik() / "prgst1.stt", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The records after the file's 20-byte header.
    std::vector<Rekord> rekordy() {
        const auto b = plikStatystyk();
        std::vector<Rekord> wynik;
        for (std::size_t at = 20; at + 44 <= b.size(); at += 44)
            wynik.push_back({le32(b, at), le32(b, at + 26), le32(b, at + 32), le32(b, at + 36),
                             le32(b, at + 40), le16(b, at + 20), le16(b, at + 22), le16(b, at + 24),
                             le16(b, at + 30)});
        return wynik;
    }

    void zdjecie(const std::string& nazwa) {
        if (const std::string sciezka = KatalogTymczasowy::zdjecie(nazwa); !sciezka.empty())
            d->screenshot(sciezka);
    }

    KatalogTymczasowy katalog;
    std::unique_ptr<platform::testing::Driver> d;
    Okno* okno = nullptr;
    ResultsWindow* wyniki = nullptr;
    int wynikOkna = -1;
};

struct Ustawienia {
    int poziom = POZIOM_MALO;
    platform::Size ekran{800, 600};
    std::uint16_t gloski = GL_SZ | GL_S; // all ten words, so that every quantity can be dealt
    std::uint16_t pozycja = POZ_NAGLOS;
};

class GraMemory : public memorytest::GraWOknie<MemoryWindow> {
protected:
    void uruchom(Ustawienia u = {}) {
        ust = u;
        uruchomOkno(u.ekran, fmMemory, [this](Catalogue& katalogSlow) {
            ustMemory.level = std::int16_t(ust.poziom);
            ustMemory.sounds = ust.gloski;
            ustMemory.positions = ust.pozycja;
            katalogSlow.filtruj(ustMemory);
        });
        ASSERT_NE(okno, nullptr) << d->error();
        t0 = d->now();
    }

    MemoryGame& gra() { return *okno->gra(); }
    int n() { return gra().liczbaKart(); }
    const MemoryCard& karta(int k) { return *gra().karta(k); }

    // The middle of cell k on the screen.
    platform::Point srodek(int k) {
        const platform::Point p = gra().komorka(k);
        return {okno->left() + p.x + 35, okno->top() + p.y + 47};
    }
    void klikKarte(int k) {
        const platform::Point p = srodek(k);
        d->click(p.x, p.y);
    }
    void klikPomoc() {
        const int w = okno->width(), h = okno->height();
        d->click(okno->left() + w - w / 10 + 35, okno->top() + 23 * h / 30 + 30);
    }
    void klikStop() {
        const int w = okno->width(), h = okno->height();
        d->click(okno->left() + w - w / 10 + 4 + 35, okno->top() + h - h / 9 + 30);
    }
    void klikWynikiStart() { d->click(wyniki->left() + 235 + 20, wyniki->top() + 340 + 20); }
    void klikWynikiStop() { d->click(wyniki->left() + 325 + 20, wyniki->top() + 340 + 20); }

    // The pairs still on the board, as cell numbers.
    std::vector<std::pair<int, int>> pary() {
        std::map<std::string, std::vector<int>> wg;
        for (int k = 0; k < n(); ++k)
            if (karta(k).naPlanszy()) wg[karta(k).slowo()].push_back(k);
        std::vector<std::pair<int, int>> wynik;
        for (auto& [slowo, komorki] : wg)
            if (komorki.size() == 2) wynik.emplace_back(komorki[0], komorki[1]);
        return wynik;
    }
    // A card on the board whose word differs from card k's.
    int inna(int k) {
        for (int j = 0; j < n(); ++j)
            if (karta(j).naPlanszy() && karta(j).slowo() != karta(k).slowo()) return j;
        return -1;
    }
    // The cell of k's partner.
    int partner(int k) {
        for (int j = 0; j < n(); ++j)
            if (j != k && karta(j).slowo() == karta(k).slowo()) return j;
        return -1;
    }

    // What the screen shows at the middle and near the corner of cell k, against a picture file.
    bool pokazuje(int k, const std::string& plik) {
        platform::Bitmap b;
        wczytajJpeg(b, plik);
        const platform::Point p = gra().komorka(k);
        for (platform::Point o : {platform::Point{35, 47}, platform::Point{8, 9}, platform::Point{60, 80}})
            if (d->pixel(okno->left() + p.x + o.x, okno->top() + p.y + o.y) != b.pixel(o.x, o.y))
                return false;
        return true;
    }
    bool rewers(int k) { return pokazuje(k, "Data\\Sio\\blkcard0.xji"); }
    bool awers(int k) { return pokazuje(k, "Data\\Sio\\s" + karta(k).slowo() + ".xji"); }

    int pokazaniaWynikow() {
        int k = 0;
        for (const auto& l : d->log())
            if (l == "form-shown " + wyniki->caption()) ++k;
        return k;
    }

    Ustawienia ust;
    std::int64_t t0 = 0;
};

} // namespace memorytest
