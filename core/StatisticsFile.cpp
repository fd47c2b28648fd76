// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/StatisticsFile.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "platform/core/Error.hpp"
#include "platform/system/Fs.hpp"

#include <algorithm>

#include <span>
#include <vector>

namespace {

// A time that a clock could have given.
bool poprawnyCzas(const platform::SystemTime& t) {
    return t.year >= 1601 && t.month >= 1 && t.month <= 12 && t.dayOfWeek <= 6 && t.day >= 1 && t.day <= 31 &&
           t.hour < 24 && t.minute < 60 && t.second < 60 && t.milliseconds < 1000;
}

// The program number and a creation time.
bool poprawnyNaglowek(const std::vector<std::uint8_t>& b, std::int32_t programId) {
    if (b.size() < kStatisticsHeaderSize) return false;
    const StatisticsHeader h = decodeHeader(b.data());
    return h.program == programId && poprawnyCzas(h.created);
}

// A game number, a start time and a quantity the program writes.
bool poprawnyRekord(const std::uint8_t* r) {
    const StatisticsRecord rekord = decodeRecord(r);
    return rekord.game >= 1 && rekord.game <= 4 && poprawnyCzas(rekord.start) && rekord.level >= 1 &&
           rekord.level <= 3;
}

std::string cytat(const std::string& sciezka) {
    return "\u201e" + sciezka + "\u201d";
}

} // namespace

StatisticsFile::StatisticsFile(int programId)
    : programId_(programId), plik_("prgst" + std::to_string(programId) + ".stt") {
    timer_.onTimer = [this] { wygas(); };
    // Leftovers of a header write or a mending cut short by a kill.
    platform::fs::removeStaleTemporaries("", plik_);
    platform::fs::removeStaleTemporaries("", plik_ + ".bad-tail*");
    // A directory in its place is not ours to move: creation fails below.
    if (platform::fs::exists(plik_)) naprawPlik();
    if (!platform::fs::exists(plik_)) {
        const auto naglowek = encodeHeader({programId_, platform::utcNow()});
        // All or nothing, and never over a file that appeared meanwhile (its header keeps the first
        // creation time).
        platform::fs::createExclusive(plik_, naglowek);
    }
    if (!platform::fs::exists(plik_)) throw FatalError(3);
}

void StatisticsFile::naprawPlik() {
    const std::string sciezka = platform::fs::resolve(plik_);
    std::vector<std::uint8_t> b;
    try {
        b = platform::fs::readAll(plik_);
    } catch (const platform::FileError& e) {
        // What cannot be read is not judged, and never moved aside; appends say whether it takes them.
        uwagi_ = std::string("Nie można sprawdzić pliku statystyk: ") + e.what() + ".";
        return;
    }
    const std::size_t rekordy =
        b.size() < kStatisticsHeaderSize ? 0 : (b.size() - kStatisticsHeaderSize) / kStatisticsRecordSize;
    const std::size_t calosc = kStatisticsHeaderSize + rekordy * kStatisticsRecordSize;
    const bool naglowekOk = poprawnyNaglowek(b, programId_);
    bool rekordyOk = b.size() >= kStatisticsHeaderSize;
    for (std::size_t k = 0; rekordyOk && k < rekordy; ++k)
        rekordyOk = poprawnyRekord(b.data() + kStatisticsHeaderSize + k * kStatisticsRecordSize);

    if (!naglowekOk && !rekordyOk) {
        // Nothing in it reads as this program's: kept whole beside a new file.
        const std::string obok = platform::fs::moveAside(plik_);
        if (obok.empty()) throw FatalError(3);
        uwagi_ = "Plik statystyk " + cytat(sciezka) +
                 " był uszkodzony i nie dał się odczytać. Odłożono go jako " + cytat(obok) +
                 " i rozpoczęto nowy plik.";
        return;
    }
    if (b.size() > calosc) {
        // The partial record goes beside the file first, so a kill in between loses nothing.
        const std::span<const std::uint8_t> ogon(b.data() + calosc, b.size() - calosc);
        std::string nazwa = plik_ + ".bad-tail";
        for (int n = 2; platform::fs::exists(nazwa) && n < 100; ++n)
            nazwa = plik_ + ".bad-tail" + std::to_string(n);
        try {
            platform::fs::writeAtomic(nazwa, ogon);
        } catch (const platform::FileError& e) {
            zablokowany_ = std::string("Plik statystyk ") + cytat(sciezka) +
                           " kończy się niepełnym wynikiem, którego nie można odłożyć (" + e.what() +
                           "), więc nic nie zostanie do niego dopisane.";
            uwagi_ = zablokowany_;
            return;
        }
        uwagi_ =
            "Ostatni wynik w pliku statystyk " + cytat(sciezka) +
            " był zapisany tylko częściowo (na przykład przy nagłym wyłączeniu komputera). Niepełne bajty "
            "przeniesiono do " +
            cytat(platform::fs::resolve(nazwa)) + ", a wszystkie pełne wyniki zostały zachowane.";
    }
    try {
        if (!naglowekOk) {
            // The records read: only the header is rewritten, dated by the first game when there is one.
            const platform::SystemTime utworzony =
                rekordy == 0 ? platform::utcNow() : decodeRecord(b.data() + kStatisticsHeaderSize).start;
            const auto naglowek = encodeHeader({programId_, utworzony});
            std::copy(naglowek.begin(), naglowek.end(), b.begin());
            platform::fs::writeAtomic(plik_, std::span<const std::uint8_t>(b.data(), calosc));
            if (uwagi_.empty())
                uwagi_ = "Nagłówek pliku statystyk " + cytat(sciezka) +
                         " był uszkodzony i został odtworzony; wszystkie wyniki gier zostały zachowane.";
        } else if (b.size() > calosc) {
            int blad = 0;
            if (!platform::fs::truncateTo(plik_, calosc, &blad))
                throw platform::FileError("Nie można skrócić pliku " + cytat(sciezka) + ": " +
                                              platform::polskaPrzyczyna(blad, true),
                                          blad);
        }
    } catch (const platform::FileError& e) {
        zablokowany_ = std::string("Pliku statystyk nie udało się naprawić (") + e.what() +
                       "), więc nic nie zostanie do niego dopisane.";
        uwagi_ = zablokowany_;
    }
}

void StatisticsFile::start(int gameId, const GameSettings& settings) {
    gameId_ = gameId;
    ustawienia_ = &settings;
    podpowiedzi_ = dobre_ = zle_ = czasSek_ = 0;
    komunikat_.clear();
    aktywny_ = true;
    czasStartu_ = platform::utcNow();
    aktywnosc();
}

void StatisticsFile::aktywnosc() {
    if (!aktywny_) return;
    timer_.stop();
    timer_.setInterval(CZAS_BEZCZYNNOSCI_MS);
    timer_.start();
}

void StatisticsFile::wygas() {
    timer_.stop();
    aktywny_ = false;
}

void StatisticsFile::zakoncz() {
    czasKonca_ = platform::utcNow();
    const std::int64_t ticks = platform::toTicks(czasKonca_) - platform::toTicks(czasStartu_);
    czasSek_ = static_cast<std::int32_t>(ticks / 10'000'000);
}

std::array<std::uint8_t, kStatisticsRecordSize> StatisticsFile::rekord() const {
    StatisticsRecord r;
    r.game = gameId_;
    r.start = czasStartu_;
    if (ustawienia_) {
        r.level = ustawienia_->level;
        r.sounds = ustawienia_->sounds;
        r.positions = ustawienia_->positions;
    }
    r.seconds = czasSek_;
    r.result = wynik_;
    r.hints = podpowiedzi_;
    r.correct = dobre_;
    r.wrong = zle_;
    return encodeRecord(r);
}

bool StatisticsFile::zapisz(int wynik) {
    if (!aktywny_) return false;
    wynik_ = static_cast<std::int16_t>(wynik);
    komunikat_.clear();
    const auto bajty = rekord();
    oczekujace_.insert(oczekujace_.end(), bajty.begin(), bajty.end());
    const std::string sciezka = platform::fs::resolve(plik_);
    int blad = 0;
    if (zablokowany_.empty()) {
        // A record cut short by an earlier failure that could not be undone never stays in front of new ones.
        const std::uint64_t rozmiar = platform::fs::fileSize(plik_);
        if (rozmiar > kStatisticsHeaderSize && (rozmiar - kStatisticsHeaderSize) % kStatisticsRecordSize != 0)
            platform::fs::truncateTo(plik_,
                                     rozmiar - (rozmiar - kStatisticsHeaderSize) % kStatisticsRecordSize);
        // One write of every waiting record into an existing file: a failure leaves no partial record, and
        // a file deleted meanwhile is not recreated without its header.
        if (platform::fs::appendAll(plik_, oczekujace_, /*mustExist=*/true, &blad)) {
            oczekujace_.clear();
            return true;
        }
    }
    const std::size_t n = oczekujace();
    komunikat_ = "Nie udało się zapisać wyniku gry w pliku statystyk " + cytat(sciezka) + ": " +
                 (zablokowany_.empty() ? platform::polskaPrzyczyna(blad, true) : "plik jest uszkodzony") +
                 ". " +
                 (n == 1 ? std::string("Wynik czeka w pamięci i zostanie dopisany")
                         : "Wyniki " + std::to_string(n) + " gier czekają w pamięci i zostaną dopisane") +
                 " przy następnym udanym zapisie, dopóki program jest otwarty.";
    return false;
}

std::string StatisticsFile::czasTekst() const {
    return formatujCzas(czasSek_);
}

int StatisticsFile::ocena() const {
    // d <= 0.4 z and z > 0.6 d, scaled to whole numbers so the thresholds compare exactly.
    const std::int64_t d = dobre_;
    const std::int64_t z = zle_;
    if (5 * d <= 2 * z) return 1;
    if (5 * z > 3 * d) return 2;
    return 4;
}

std::string formatujCzas(int seconds) {
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
}
