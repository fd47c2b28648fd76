// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Tolerant reading of the statistics file: whatever can be read is kept, everything else is skipped
// with a Polish note that says what and why. The file itself is only ever read.
namespace raport {

// One game as its record stores it, after the checks.
struct Gra {
    int numer = 0;             // 1-based position of the record in the file, for the notes
    int gra = 0;               // 1 labelling, 2 memory, 3 completion, 4 falling pictures
    std::int64_t startSek = 0; // start time, seconds since 1970-01-01 UTC
    int poziom = 0;
    std::uint16_t gloski = 0;
    std::uint16_t pozycja = 0;
    int czasSek = 0;
    bool ukonczona = false;
    int podpowiedzi = 0;
    int dobre = 0;
    int zle = 0;
};

struct Odczyt {
    bool plikIstnieje = false;
    std::vector<Gra> gry; // in file order
    int pominiete = 0;    // records left out
    int naprzod = 0;      // kept records dated after the computer's clock, at most a day
    // Visible notes about what was skipped and why (empty for a sound file).
    std::vector<std::string> uwagi;
};

// A clock set a little wrong, another time zone's computer or a headless run ahead in virtual time may
// date a game a little ahead of this computer's clock; only records further ahead count as impossible.
inline constexpr std::int64_t kTolerancjaSek = 86400;

// Reads the bytes of a statistics file; records dated more than a day after terazSek (UTC seconds) count
// as impossible. Notes of skipped records come in record order. Without naglowek the header is not
// judged (a file set aside for its header).
Odczyt odczytaj(std::span<const std::uint8_t> bajty, std::int64_t terazSek, bool naglowek = true);
// The same for a file given as a game path ("prgst1.stt"), together with the readable records of the
// file set aside beside it at start-up for a damaged header ("prgst1.stt.bad"), all in date order. A
// missing or unreadable file gives no games and a note.
Odczyt odczytajPlik(const std::string& sciezka, std::int64_t terazSek);
// Why a file cannot be read, in Polish ("plik nie istnieje", "brak uprawnień do odczytu"...).
std::string przyczynaBleduOdczytu(const std::string& sciezkaNatywna, std::size_t limit);

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar, and back.
std::int64_t dniOdEpoki(int rok, int miesiac, int dzien);
void dataZDni(std::int64_t dni, int& rok, int& miesiac, int& dzien);

// Polish noun form after a number: 1 rekord, 2 rekordy, 5 rekordów.
const char* odmiana(std::int64_t n, const char* jeden, const char* kilka, const char* wiele);

} // namespace raport
