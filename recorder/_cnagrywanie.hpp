#pragma once

#include "platform/Action.hpp"
#include "platform/Edit.hpp"
#include "platform/Form.hpp"
#include "platform/Label.hpp"
#include "platform/Sound.hpp"

#include <array>
#include <functional>
#include <memory>
#include <string>

class CCheckBut;
class CPrzyciskP;
class CScrollBar;

namespace platform {
class Canvas;
}

// One recording place: its number, the name the user gave it, the date of its last recording and the
// stem of its sound file.
struct Nagranie {
    int numer = 0;
    std::string nazwa;
    double data = 32874; // 1 January 1990: no date
    std::string plik;
};

// The microphone recorder of the recordings panel: one WAV file of a place at a time.
class CNagrywarka {
public:
    // glosnik: the program-wide speaker switch; while it is off the recorder counts as busy.
    explicit CNagrywarka(const bool& glosnik);
    ~CNagrywarka();
    CNagrywarka(const CNagrywarka&) = delete;
    CNagrywarka& operator=(const CNagrywarka&) = delete;

    // Opens the place's file, creating the empty recording when it is missing.
    bool otworz(const std::string& sciezka);
    bool nagrywaj(int maxMs);
    void odtwarzaj();
    void zatrzymaj();
    void zamknij();
    bool zajety() const;

    bool otwarty() const { return otwarty_; }
    bool nagrywa() const { return nagrywa_; }
    bool odtwarza() const { return odtwarza_; }

    // Run when a recording reaches its limit or a playback ends by itself.
    std::function<void()> poNagraniu;
    std::function<void()> poOdtworzeniu;

private:
    void zakonczone();

    platform::sound::Recorder odtwarzacz_;
    const bool& glosnik_;
    bool otwarty_ = false;
    bool nagrywa_ = false;
    bool odtwarza_ = false;
};

// The 30 recording places, their index file and the eight visible rows of the panel.
class CListaNagran {
public:
    static constexpr int kMiejsc = 30;
    static constexpr int kWierszy = 8;
    static constexpr double kBrakDaty = 32874;
    static constexpr const char* kIndeks = "Nagrane\\record.xtr";

    // The headers, the list buttons and the scroll bar belong to the window; the list places them.
    CListaNagran(platform::Form& okno, platform::Canvas& kanwa, platform::Label& naglowekNazwy,
                 platform::Label& naglowekDaty, CPrzyciskP& wGore, CPrzyciskP& wDol, CScrollBar& pasek);
    ~CListaNagran();
    CListaNagran(const CListaNagran&) = delete;
    CListaNagran& operator=(const CListaNagran&) = delete;

    // All rows visible, no row selected.
    void pokaz();
    void ukryj();
    // Draws the rows' check buttons again (after the window painted its background over them).
    void rysuj();
    bool wGore();
    bool wDol();
    // First selected row, -1 when none.
    int wybranyWiersz() const;
    // The row's typed name, kept in memory for its place.
    std::string nazwaWiersza(int r);
    // The place's sound file, empty while it has never been recorded.
    std::string sciezkaWiersza(int r) const;
    // Records the row's place in the index file with today's date; false when the index has no section
    // for it or cannot be written.
    bool zapiszWpis(int r);

    int gora() const { return gora_; }
    const Nagranie& wpis(int p) const { return wpisy_[p]; }
    platform::Edit& edycja(int r) { return *wiersze_[r].nazwa; }
    CCheckBut& przycisk(int r) { return *wiersze_[r].przycisk; }

private:
    struct Wiersz {
        platform::Action wybor;
        std::unique_ptr<platform::Label> numer;
        std::unique_ptr<platform::Edit> nazwa;
        std::unique_ptr<platform::Label> data;
        std::unique_ptr<CCheckBut> przycisk;
    };

    static void utworzIndeks();
    void wczytaj();
    void odswiez();
    void wybierz(int r, bool zPrzycisku);
    static std::string tekstDaty(double data);

    platform::Form& okno_;
    CScrollBar& pasek_;
    std::array<Nagranie, kMiejsc> wpisy_;
    std::array<Wiersz, kWierszy> wiersze_;
    short gora_ = 0;
};
