// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/StatisticsReader.hpp"

#include "core/StatisticsRecord.hpp"

#include "platform/core/Error.hpp"
#include "platform/system/Fs.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace raport {

namespace {

// Why a record was left out, in the order the checks run.
enum Powod : int {
    NIEZNANA_GRA,
    ZLA_ILOSC,
    UJEMNY_CZAS,
    ZLY_WYNIK,
    UJEMNE_LICZBY,
    ZLA_DATA,
    DATA_PRZED_2000,
    DATA_Z_PRZYSZLOSCI,
    LICZBA_POWODOW
};

constexpr const char* kPowody[LICZBA_POWODOW] = {
    "nieznany numer gry",
    "ilość zadań spoza zakresu 1–3",
    "ujemny czas gry",
    "wynik gry inny niż 0 lub 1",
    "ujemna liczba odpowiedzi lub podpowiedzi",
    "nieprawidłowa data rozpoczęcia",
    "data sprzed 2000 roku",
    "data ponad dobę późniejsza niż zegar komputera",
};

constexpr int kPokazaneNumery = 8;

bool przestepny(int r) {
    return (r % 4 == 0 && r % 100 != 0) || r % 400 == 0;
}

int dniMiesiaca(int r, int m) {
    static constexpr int kDni[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && przestepny(r) ? 29 : kDni[m - 1];
}

// The stored system time (year, month, day of week, day, hour, minute, second, ms) as UTC seconds; the
// day of the week is not checked, nothing reads it.
bool czasZapisu(const platform::SystemTime& t, std::int64_t& sek) {
    const int r = t.year, m = t.month, d = t.day;
    const int g = t.hour, min = t.minute, s = t.second, ms = t.milliseconds;
    if (m < 1 || m > 12 || d < 1 || d > dniMiesiaca(r, m) || g > 23 || min > 59 || s > 59 || ms > 999)
        return false;
    sek = dniOdEpoki(r, m, d) * 86400 + g * 3600 + min * 60 + s;
    return true;
}

const std::int64_t kRok2000 = dniOdEpoki(2000, 1, 1) * 86400;

// The first reason the record cannot stand, or LICZBA_POWODOW for a sound one.
int sprawdz(const std::uint8_t* p, std::int64_t terazSek, Gra& g) {
    const StatisticsRecord r = decodeRecord(p);
    g.gra = r.game;
    g.poziom = r.level;
    g.gloski = r.sounds;
    g.pozycja = r.positions;
    g.czasSek = r.seconds;
    const int wynik = r.result;
    g.ukonczona = wynik == 1;
    g.podpowiedzi = r.hints;
    g.dobre = r.correct;
    g.zle = r.wrong;
    if (g.gra < 1 || g.gra > 4) return NIEZNANA_GRA;
    if (g.poziom < 1 || g.poziom > 3) return ZLA_ILOSC;
    if (g.czasSek < 0) return UJEMNY_CZAS;
    if (wynik != 0 && wynik != 1) return ZLY_WYNIK;
    if (g.podpowiedzi < 0 || g.dobre < 0 || g.zle < 0) return UJEMNE_LICZBY;
    if (!czasZapisu(r.start, g.startSek)) return ZLA_DATA;
    if (g.startSek < kRok2000) return DATA_PRZED_2000;
    if (g.startSek > terazSek + kTolerancjaSek) return DATA_Z_PRZYSZLOSCI;
    return LICZBA_POWODOW;
}

std::string liczba(std::int64_t n, const char* jeden, const char* kilka, const char* wiele) {
    return std::to_string(n) + " " + odmiana(n, jeden, kilka, wiele);
}

} // namespace

const char* odmiana(std::int64_t n, const char* jeden, const char* kilka, const char* wiele) {
    if (n == 1) return jeden;
    const std::int64_t j = n % 10, d = n % 100;
    return j >= 2 && j <= 4 && (d < 12 || d > 14) ? kilka : wiele;
}

std::int64_t dniOdEpoki(int rok, int miesiac, int dzien) {
    // Days from civil date (H. Hinnant's algorithm): years start in March so leap days come last.
    const std::int64_t r = rok - (miesiac <= 2);
    const std::int64_t era = (r >= 0 ? r : r - 399) / 400;
    const std::int64_t rokEry = r - era * 400;
    const std::int64_t dzienRoku = (153 * (miesiac > 2 ? miesiac - 3 : miesiac + 9) + 2) / 5 + dzien - 1;
    const std::int64_t dzienEry = rokEry * 365 + rokEry / 4 - rokEry / 100 + dzienRoku;
    return era * 146097 + dzienEry - 719468;
}

void dataZDni(std::int64_t dni, int& rok, int& miesiac, int& dzien) {
    dni += 719468;
    const std::int64_t era = (dni >= 0 ? dni : dni - 146096) / 146097;
    const std::int64_t dzienEry = dni - era * 146097;
    const std::int64_t rokEry = (dzienEry - dzienEry / 1460 + dzienEry / 36524 - dzienEry / 146096) / 365;
    const std::int64_t dzienRoku = dzienEry - (365 * rokEry + rokEry / 4 - rokEry / 100);
    const std::int64_t mp = (5 * dzienRoku + 2) / 153;
    dzien = static_cast<int>(dzienRoku - (153 * mp + 2) / 5 + 1);
    miesiac = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    rok = static_cast<int>(rokEry + era * 400 + (miesiac <= 2));
}

Odczyt odczytaj(std::span<const std::uint8_t> bajty, std::int64_t terazSek, bool naglowek) {
    Odczyt o;
    o.plikIstnieje = true;
    if (bajty.empty()) {
        o.uwagi.emplace_back("Plik statystyk jest pusty.");
        return o;
    }
    if (bajty.size() < kStatisticsHeaderSize) {
        o.uwagi.push_back("Plik statystyk jest krótszy niż jego nagłówek (" + std::to_string(bajty.size()) +
                          " z " + std::to_string(kStatisticsHeaderSize) +
                          " bajtów) i nie zawiera żadnej gry.");
        return o;
    }
    const StatisticsHeader h = decodeHeader(bajty.data());
    const std::int32_t program = h.program;
    std::int64_t utworzony = 0;
    const bool dataNaglowka = czasZapisu(h.created, utworzony) && utworzony >= kRok2000;
    if (naglowek && (program != 1 || !dataNaglowka))
        o.uwagi.push_back(std::string("Nagłówek pliku statystyk jest nieprawidłowy (") +
                          (program != 1 ? "numer programu " + std::to_string(program) + " zamiast 1"
                                        : std::string("nieprawidłowa data utworzenia")) +
                          "); zapisane gry odczytano mimo to.");

    const std::size_t pelne = (bajty.size() - kStatisticsHeaderSize) / kStatisticsRecordSize;
    o.gry.reserve(pelne);
    std::array<std::vector<int>, LICZBA_POWODOW> pominiete;
    std::array<int, LICZBA_POWODOW> ile{};
    for (std::size_t i = 0; i < pelne; ++i) {
        Gra g;
        g.numer = static_cast<int>(i + 1);
        const int powod =
            sprawdz(bajty.data() + kStatisticsHeaderSize + i * kStatisticsRecordSize, terazSek, g);
        if (powod == LICZBA_POWODOW) {
            if (g.startSek > terazSek) ++o.naprzod;
            o.gry.push_back(g);
            continue;
        }
        ++ile[powod];
        ++o.pominiete;
        if (pominiete[powod].size() < kPokazaneNumery) pominiete[powod].push_back(g.numer);
    }
    // One note per reason, in the order of each reason's first record.
    std::array<int, LICZBA_POWODOW> kolejnosc{};
    for (int p = 0; p < LICZBA_POWODOW; ++p)
        kolejnosc[p] = p;
    std::stable_sort(kolejnosc.begin(), kolejnosc.end(), [&](int a, int b) {
        const int pa = pominiete[a].empty() ? INT_MAX : pominiete[a].front();
        const int pb = pominiete[b].empty() ? INT_MAX : pominiete[b].front();
        return pa < pb;
    });
    for (int p : kolejnosc) {
        if (!ile[p]) continue;
        std::string numery;
        for (int n : pominiete[p])
            numery += (numery.empty() ? "" : ", ") + std::to_string(n);
        if (ile[p] > kPokazaneNumery) numery += ", …";
        o.uwagi.push_back("Pominięto " + liczba(ile[p], "rekord", "rekordy", "rekordów") + " (nr " + numery +
                          "): " + kPowody[p] + ".");
    }
    if (const std::size_t reszta = (bajty.size() - kStatisticsHeaderSize) % kStatisticsRecordSize) {
        ++o.pominiete;
        o.uwagi.push_back("Ostatni rekord jest niepełny (" + std::to_string(reszta) + " z " +
                          std::to_string(kStatisticsRecordSize) + " bajtów) i został pominięty.");
    }
    if (o.naprzod)
        o.uwagi.push_back(liczba(o.naprzod, "gra ma", "gry mają", "gier ma") +
                          " datę późniejszą niż zegar tego komputera (najwyżej o dobę); pokazano " +
                          (o.naprzod == 1 ? "ją" : "je") +
                          " z zapisaną datą. Warto sprawdzić ustawienie zegara i strefy czasowej.");
    return o;
}

std::string przyczynaBleduOdczytu(const std::string& sciezkaNatywna, std::size_t limit) {
    struct stat st {};
    if (::stat(sciezkaNatywna.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return "plik nie istnieje";
        if (errno == EACCES) return "brak uprawnień do odczytu";
        return "błąd systemu plików";
    }
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? "to jest katalog, nie plik" : "to nie jest zwykły plik";
    if (std::uint64_t(st.st_size) > limit) return "plik jest za duży";
    const int fd = ::open(sciezkaNatywna.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? "brak uprawnień do odczytu" : "błąd otwarcia pliku";
    ::close(fd);
    return "błąd odczytu z dysku";
}

namespace {

constexpr std::size_t kLimitBajtow = 256u << 20;

// Reads one file; a file that exists but cannot be read gives a note with the cause in Polish.
Odczyt czytaj(const std::string& sciezka, std::int64_t terazSek, bool naglowek) {
    std::vector<std::uint8_t> bajty;
    try {
        bajty = platform::fs::readAll(sciezka, kLimitBajtow);
    } catch (const platform::Error&) {
        Odczyt o;
        o.plikIstnieje = true;
        o.uwagi.push_back("Nie można odczytać pliku " + std::filesystem::path(sciezka).filename().string() +
                          " (" + przyczynaBleduOdczytu(platform::fs::resolve(sciezka), kLimitBajtow) + ").");
        return o;
    }
    return odczytaj(bajty, terazSek, naglowek);
}

} // namespace

Odczyt odczytajPlik(const std::string& sciezka, std::int64_t terazSek) {
    const std::string odlozony = sciezka + ".bad";
    const bool jestOdlozony = platform::fs::exists(odlozony);
    Odczyt o;
    if (platform::fs::exists(sciezka)) {
        o = czytaj(sciezka, terazSek, true);
    } else if (std::filesystem::exists(platform::fs::resolve(sciezka))) {
        // There, but not a file (a directory, say): say so rather than report nothing.
        o.plikIstnieje = true;
        o.uwagi.push_back("Nie można odczytać pliku " + std::filesystem::path(sciezka).filename().string() +
                          " (" + przyczynaBleduOdczytu(platform::fs::resolve(sciezka), kLimitBajtow) + ").");
    }
    if (!jestOdlozony) return o;
    Odczyt b = czytaj(odlozony, terazSek, false);
    const std::string nazwa = std::filesystem::path(odlozony).filename().string();
    o.plikIstnieje = true;
    o.uwagi.push_back("Odczytano też " + liczba(std::int64_t(b.gry.size()), "grę", "gry", "gier") +
                      " z pliku " + nazwa +
                      ", odłożonego przy starcie programu, bo nagłówek pliku statystyk był uszkodzony.");
    for (const std::string& u : b.uwagi)
        o.uwagi.push_back(nazwa + ": " + u);
    o.pominiete += b.pominiete;
    o.naprzod += b.naprzod;
    o.gry.insert(o.gry.end(), b.gry.begin(), b.gry.end());
    std::stable_sort(o.gry.begin(), o.gry.end(),
                     [](const Gra& x, const Gra& y) { return x.startSek < y.startSek; });
    return o;
}

} // namespace raport
