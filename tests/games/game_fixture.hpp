// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One fixture for the four game windows: each played on the headless backend with the shipped data set,
// with the program's windows and context as start-up makes them, shown modally over a background window.
#include "core/GameSettings.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/backends/HeadlessBackend.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "tests/support/RunningProgram.hpp"
#include "tests/support/TempDir.hpp"
#include "tests/support/TestDriver.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gametest {

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

    // The game's window under game number numerGry, with the results window, as start-up makes them.
    void uruchomOkno(platform::Size ekran, int numerGry, std::function<void(Catalogue&)> przygotuj) {
        d = std::make_unique<platform::testing::Driver>(
            [this, numerGry, przygotuj] {
                const platform::Size s = platform::app().screenSize();
                ProgramContext kontekst;
                kontekst.layout.init(s.width, s.height);
                Catalogue katalogSlow;
                kontekst.catalogue = &katalogSlow;
                StatisticsFile stat(1);
                kontekst.statistics = &stat;
                Tlo tlo;
                tlo.show();
                {
                    ProgramWindows okna(kontekst);
                    wvtest::running() = &okna;
                    okno = okna.createGame<Okno>(numerGry, okna);
                    wyniki = okna.create<ResultsWindow>(kontekst);
                    przygotuj(katalogSlow);
                    wynikOkna = okno->showModal();
                    platform::app().run();
                    wvtest::running() = nullptr;
                    wyniki = nullptr;
                    okno = nullptr;
                }
            },
            platform::testing::DriverOptions{.screen = ekran, .args = {}});
    }

    // A game button by name, clicked where it stands even while hidden (when it must ignore the click).
    void klikPrzycisk(std::string_view nazwa) {
        for (const platform::Control* c : okno->controls())
            if (c->name == nazwa) {
                const platform::Rect b = c->bounds();
                d->click(okno->left() + b.left + b.width() / 2, okno->top() + b.top + b.height() / 2);
                return;
            }
        ADD_FAILURE() << "no button " << nazwa;
    }
    void klikPomoc() { klikPrzycisk("pomoc"); }
    void klikStop() { klikPrzycisk("stop"); }
    void klikNast() { klikPrzycisk("nast"); }
    void klikPop() { klikPrzycisk("pop"); }
    void klikWynikiStart() { d->click("graj"); }
    void klikWynikiStop() { d->click("koniec"); }

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

} // namespace gametest
