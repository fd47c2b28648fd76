// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/audio/Recorder.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Edit.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Label.hpp"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class TwoStatePicture;
class MenuButton;
class ScrollBar;
class ScreenLayout;

namespace platform {
class Canvas;
}

// One recording place: its number, the name the user gave it, the date of its last recording and the
// stem of its sound file.
struct Recording {
    int numer = 0;
    std::string nazwa;
    double data = 32874; // 1 January 1990: no date
    std::string plik;
};

// What the panel tells the user when the recorder or its files fail.
namespace komunikatNagrywania {
inline constexpr const char* MIKROFON =
    "Nie można włączyć mikrofonu.\nSprawdź, czy mikrofon jest podłączony.";
inline constexpr const char* ZAPIS = "Nie udało się zapisać nagrania na dysku.";
inline constexpr const char* ZAPIS_POPRZEDNIE =
    "Nie udało się zapisać nagrania na dysku. Poprzednie nagranie pozostało bez zmian.";
inline constexpr const char* USZKODZONE =
    "Nagranie jest uszkodzone i nie da się go odtworzyć. Nagraj je ponownie.";
inline constexpr const char* SPIS_ZAPIS =
    "Nagranie zapisano, ale nie udało się zapisać jego nazwy i daty w spisie nagrań.";
inline constexpr const char* SPIS_NIEDOSTEPNY = "Nie można odczytać ani zapisać spisu nagrań w katalogu "
                                                "Nagrane. Nazwy i daty nagrań nie zostaną zapamiętane.";
// Followed by the name the damaged index was kept under.
inline constexpr const char* SPIS_NAPRAWIONY =
    "Spis nagrań był uszkodzony i utworzono go od nowa. Stary spis zachowano jako ";
} // namespace komunikatNagrywania

// The microphone recorder of the recordings panel: one WAV file of a place at a time.
class VoiceRecorder {
public:
    // glosnik: the program-wide speaker switch; while it is off the recorder counts as busy.
    explicit VoiceRecorder(const bool& glosnik);
    ~VoiceRecorder();
    VoiceRecorder(const VoiceRecorder&) = delete;
    VoiceRecorder& operator=(const VoiceRecorder&) = delete;

    // Opens the place's file, creating the empty recording when it is missing.
    bool otworz(const std::string& sciezka);
    // False when the microphone cannot be opened (a file the open created for it is removed again).
    bool nagrywaj(int maxMs);
    // False when nothing is open or the file is damaged.
    bool odtwarzaj();
    void zatrzymaj();
    void zamknij();
    bool zajety() const;

    enum class Wynik { Brak, Zapisane, Niezapisane };
    // How the last recording ended: saved to its file or refused by the disk.
    Wynik wynikNagrania() const { return wynik_; }

    bool otwarty() const { return otwarty_; }
    bool nagrywa() const { return nagrywa_; }
    bool odtwarza() const { return odtwarza_; }

    // Run when a recording reaches its limit or a playback ends by itself.
    std::function<void()> poNagraniu;
    std::function<void()> poOdtworzeniu;

private:
    void zakonczone();
    void koniecNagrania();

    platform::sound::Recorder odtwarzacz_;
    const bool& glosnik_;
    std::string sciezka_;
    bool utworzony_ = false; // the open created the file
    Wynik wynik_ = Wynik::Brak;
    bool otwarty_ = false;
    bool nagrywa_ = false;
    bool odtwarza_ = false;
};

// The 30 recording places, their index file and the eight visible rows of the panel.
class RecordingList {
public:
    static constexpr int kMiejsc = 30;
    static constexpr int kWierszy = 8;
    static constexpr double kBrakDaty = 32874;
    static constexpr const char* kIndeks = "Nagrane\\record.xtr";
    // Longest name in characters: what fits the row.
    static constexpr int kMaxNazwy = 60;

    // The headers, the list buttons and the scroll bar belong to the window; the list places them.
    RecordingList(platform::Form& okno, platform::Canvas& kanwa, platform::Label& naglowekNazwy,
                  platform::Label& naglowekDaty, MenuButton& wGore, MenuButton& wDol, ScrollBar& pasek,
                  const ScreenLayout& layout);
    ~RecordingList();
    RecordingList(const RecordingList&) = delete;
    RecordingList& operator=(const RecordingList&) = delete;

    // All rows visible, no row selected.
    void pokaz();
    void ukryj();
    // Draws the rows' check buttons again (after the window painted its background over them).
    void rysuj();
    bool wGore();
    bool wDol();
    // First selected row, -1 when none.
    int wybranyWiersz() const;
    // The row's typed name, cleaned (see oczyscNazwe), kept in memory for its place and shown as kept.
    std::string nazwaWiersza(int r);
    // The place's sound file, empty while it has never been recorded.
    std::string sciezkaWiersza(int r) const;
    // The file a recording of place p goes to.
    static std::string plikMiejsca(int p);
    // Records the row's place in the index file with today's date; false when the index cannot be written
    // (the place then shows its take for this session only).
    bool zapiszWpis(int r) { return zapiszMiejsce(gora_ + r); }
    bool zapiszMiejsce(int p);
    // Takes on disk that wpisy does not list (a kill between a take and the index write, or an index made
    // anew): a take with sound is listed with no name and its file's date; an empty or cut-off file is
    // removed. True when wpisy changed.
    static bool dolaczNagrania(std::array<Recording, kMiejsc>& wpisy);
    // Once: what the user must know about the index found at start-up (empty when all was well).
    std::string komunikatIndeksu();

    // A name as stored: text that is no valid UTF-8 read as code page 1250, control characters dropped,
    // blanks trimmed, at most kMaxNazwy characters (never a cut character).
    static std::string oczyscNazwe(std::string_view tekst);
    // The whole index for these places, as one file.
    static std::string tekstIndeksu(const std::array<Recording, kMiejsc>& wpisy);

    int gora() const { return gora_; }
    const Recording& wpis(int p) const { return wpisy_[p]; }
    platform::Edit& edycja(int r) { return *wiersze_[r].nazwa; }
    TwoStatePicture& przycisk(int r) { return *wiersze_[r].przycisk; }

private:
    struct Wiersz {
        platform::Action wybor;
        std::unique_ptr<platform::Label> numer;
        std::unique_ptr<platform::Edit> nazwa;
        std::unique_ptr<platform::Label> data;
        std::unique_ptr<TwoStatePicture> przycisk;
    };

    void przygotujIndeks();
    bool zapiszIndeks(const std::array<Recording, kMiejsc>& wpisy);
    void odswiez();
    void wybierz(int r, bool zPrzycisku);
    static std::string tekstDaty(double data);

    platform::Form& okno_;
    ScrollBar& pasek_;
    std::array<Recording, kMiejsc> wpisy_;
    std::array<Recording, kMiejsc> zapisane_; // as the index on disk holds them
    std::string komunikatIndeksu_;
    std::array<Wiersz, kWierszy> wiersze_;
    short gora_ = 0;
};
