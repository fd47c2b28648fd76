// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/StatisticsRecord.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/loop/Timer.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class GameSettings;

// "2 min 5 s".
std::string formatujCzas(int seconds);

// Figures of the game in progress and the statistics file they are appended to.
class StatisticsFile {
public:
    static constexpr int CZAS_BEZCZYNNOSCI_MS = 120000;

    // Creates the statistics file with its header when it does not exist; FatalError(3) when that fails. A
    // file damaged by a kill or a disk fault is mended first (see uwagi()).
    explicit StatisticsFile(int programId);
    StatisticsFile(const StatisticsFile&) = delete;
    StatisticsFile& operator=(const StatisticsFile&) = delete;

    // A new game: counts cleared, clock started. settings must outlive the game.
    void start(int gameId, const GameSettings& settings);
    // Any user action: restarts the idle limit.
    void aktywnosc();
    // The idle limit passed: the game will not be recorded.
    void wygas();

    void dodajPodpowiedz() { ++podpowiedzi_; }
    void dodajDobre() { ++dobre_; }
    void dodajZle() { ++zle_; }

    // Stops the clock: czasSek is the whole seconds since start.
    void zakoncz();
    // Appends the game's record unless the player went idle, after any records of this run that could not
    // be written before (kept in memory, in order); false when this game's record is not on disk.
    bool zapisz(int wynik);
    // What the user should read about the last save (Polish; empty when it went well).
    const std::string& komunikat() const { return komunikat_; }
    // Records waiting in memory for a write that succeeds.
    std::size_t oczekujace() const { return oczekujace_.size() / kStatisticsRecordSize; }
    // What start-up did to a damaged file (Polish; empty when it was whole), to be said once.
    const std::string& uwagi() const { return uwagi_; }

    std::string czasTekst() const;
    std::string podpowiedzi() const { return std::to_string(podpowiedzi_); }
    std::string dobre() const { return std::to_string(dobre_); }
    std::string zle() const { return std::to_string(zle_); }
    // 1 poor, 2 middling, 4 good.
    int ocena() const;

    bool aktywny() const { return aktywny_; }
    int czasSek() const { return czasSek_; }
    // "prgst" + programId + ".stt".
    const std::string& nazwaPliku() const { return plik_; }

    // The 44 bytes appended for the current game.
    std::array<std::uint8_t, kStatisticsRecordSize> rekord() const;

private:
    platform::Timer timer_{CZAS_BEZCZYNNOSCI_MS, false};
    std::int32_t programId_ = 0;
    bool aktywny_ = false;
    std::int32_t gameId_ = 0;
    const GameSettings* ustawienia_ = nullptr;
    std::int32_t czasSek_ = 0;
    std::int16_t wynik_ = 0;
    platform::SystemTime czasStartu_{};
    platform::SystemTime czasKonca_{};
    std::int32_t podpowiedzi_ = 0;
    std::int32_t dobre_ = 0;
    std::int32_t zle_ = 0;
    std::string plik_;
    std::vector<std::uint8_t> oczekujace_;
    std::string komunikat_;
    std::string uwagi_;
    std::string zablokowany_; // why nothing may be appended (a damage that could not be mended)

    void naprawPlik();
};
