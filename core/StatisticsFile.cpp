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
bool validTime(const platform::SystemTime& t) {
    return t.year >= 1601 && t.month >= 1 && t.month <= 12 && t.dayOfWeek <= 6 && t.day >= 1 && t.day <= 31 &&
           t.hour < 24 && t.minute < 60 && t.second < 60 && t.milliseconds < 1000;
}

// The program number and a creation time.
bool validHeader(const std::vector<std::uint8_t>& b, std::int32_t programId) {
    if (b.size() < kStatisticsHeaderSize) return false;
    const StatisticsHeader h = decodeHeader(b.data());
    return h.program == programId && validTime(h.created);
}

// A game number, a start time and a quantity the program writes.
bool validRecord(const std::uint8_t* r) {
    const StatisticsRecord record = decodeRecord(r);
    return record.game >= 1 && record.game <= 4 && validTime(record.start) && record.level >= 1 &&
           record.level <= 3;
}

std::string quoted(const std::string& path) {
    return "\u201e" + path + "\u201d";
}

} // namespace

StatisticsFile::StatisticsFile(int programId)
    : programId_(programId), file_("prgst" + std::to_string(programId) + ".stt") {
    timer_.onTimer = [this] { expire(); };
    // Leftovers of a header write or a mending cut short by a kill.
    platform::fs::removeStaleTemporaries("", file_);
    platform::fs::removeStaleTemporaries("", file_ + ".bad-tail*");
    // A directory in its place is not ours to move: creation fails below.
    if (platform::fs::exists(file_)) repairFile();
    if (!platform::fs::exists(file_)) {
        const auto header = encodeHeader({programId_, platform::utcNow()});
        // All or nothing, and never over a file that appeared meanwhile (its header keeps the first
        // creation time).
        platform::fs::createExclusive(file_, header);
    }
    if (!platform::fs::exists(file_)) throw FatalError(3);
}

void StatisticsFile::repairFile() {
    const std::string path = platform::fs::resolve(file_);
    std::vector<std::uint8_t> b;
    try {
        b = platform::fs::readAll(file_);
    } catch (const platform::FileError& e) {
        // What cannot be read is not judged, and never moved aside; appends say whether it takes them.
        notes_ = std::string("Nie można sprawdzić pliku statystyk: ") + e.what() + ".";
        return;
    }
    const std::size_t records =
        b.size() < kStatisticsHeaderSize ? 0 : (b.size() - kStatisticsHeaderSize) / kStatisticsRecordSize;
    const std::size_t whole = kStatisticsHeaderSize + records * kStatisticsRecordSize;
    const bool headerOk = validHeader(b, programId_);
    bool recordsOk = b.size() >= kStatisticsHeaderSize;
    for (std::size_t k = 0; recordsOk && k < records; ++k)
        recordsOk = validRecord(b.data() + kStatisticsHeaderSize + k * kStatisticsRecordSize);

    if (!headerOk && !recordsOk) {
        // Nothing in it reads as this program's: kept whole beside a new file.
        const std::string asidePath = platform::fs::moveAside(file_);
        if (asidePath.empty()) throw FatalError(3);
        notes_ = "Plik statystyk " + quoted(path) +
                 " był uszkodzony i nie dał się odczytać. Odłożono go jako " + quoted(asidePath) +
                 " i rozpoczęto nowy plik.";
        return;
    }
    if (b.size() > whole) {
        // The partial record goes beside the file first, so a kill in between loses nothing.
        const std::span<const std::uint8_t> tail(b.data() + whole, b.size() - whole);
        std::string name = file_ + ".bad-tail";
        for (int n = 2; platform::fs::exists(name) && n < 100; ++n)
            name = file_ + ".bad-tail" + std::to_string(n);
        try {
            platform::fs::writeAtomic(name, tail);
        } catch (const platform::FileError& e) {
            blocked_ = std::string("Plik statystyk ") + quoted(path) +
                       " kończy się niepełnym wynikiem, którego nie można odłożyć (" + e.what() +
                       "), więc nic nie zostanie do niego dopisane.";
            notes_ = blocked_;
            return;
        }
        notes_ =
            "Ostatni wynik w pliku statystyk " + quoted(path) +
            " był zapisany tylko częściowo (na przykład przy nagłym wyłączeniu komputera). Niepełne bajty "
            "przeniesiono do " +
            quoted(platform::fs::resolve(name)) + ", a wszystkie pełne wyniki zostały zachowane.";
    }
    try {
        if (!headerOk) {
            // The records read: only the header is rewritten, dated by the first game when there is one.
            const platform::SystemTime createdAt =
                records == 0 ? platform::utcNow() : decodeRecord(b.data() + kStatisticsHeaderSize).start;
            const auto header = encodeHeader({programId_, createdAt});
            std::copy(header.begin(), header.end(), b.begin());
            platform::fs::writeAtomic(file_, std::span<const std::uint8_t>(b.data(), whole));
            if (notes_.empty())
                notes_ = "Nagłówek pliku statystyk " + quoted(path) +
                         " był uszkodzony i został odtworzony; wszystkie wyniki gier zostały zachowane.";
        } else if (b.size() > whole) {
            int error = 0;
            if (!platform::fs::truncateTo(file_, whole, &error))
                throw platform::FileError("Nie można skrócić pliku " + quoted(path) + ": " +
                                              platform::polishReason(error, true),
                                          error);
        }
    } catch (const platform::FileError& e) {
        blocked_ = std::string("Pliku statystyk nie udało się naprawić (") + e.what() +
                   "), więc nic nie zostanie do niego dopisane.";
        notes_ = blocked_;
    }
}

void StatisticsFile::start(int gameId, const GameSettings& settings) {
    gameId_ = gameId;
    gameSettings_ = &settings;
    hints_ = correct_ = wrong_ = timeSeconds_ = 0;
    message_.clear();
    active_ = true;
    startTime_ = platform::utcNow();
    activity();
}

void StatisticsFile::activity() {
    if (!active_) return;
    timer_.stop();
    timer_.setInterval(kIdleLimitMs);
    timer_.start();
}

void StatisticsFile::expire() {
    timer_.stop();
    active_ = false;
}

void StatisticsFile::finish() {
    endTime_ = platform::utcNow();
    const std::int64_t ticks = platform::toTicks(endTime_) - platform::toTicks(startTime_);
    timeSeconds_ = static_cast<std::int32_t>(ticks / 10'000'000);
}

std::array<std::uint8_t, kStatisticsRecordSize> StatisticsFile::record() const {
    StatisticsRecord r;
    r.game = gameId_;
    r.start = startTime_;
    if (gameSettings_) {
        r.level = gameSettings_->level;
        r.sounds = gameSettings_->sounds;
        r.positions = gameSettings_->positions;
    }
    r.seconds = timeSeconds_;
    r.result = result_;
    r.hints = hints_;
    r.correct = correct_;
    r.wrong = wrong_;
    return encodeRecord(r);
}

bool StatisticsFile::save(int result) {
    if (!active_) return false;
    result_ = static_cast<std::int16_t>(result);
    message_.clear();
    const auto bytes = record();
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    const std::string path = platform::fs::resolve(file_);
    int error = 0;
    if (blocked_.empty()) {
        // A record cut short by an earlier failure that could not be undone never stays in front of new ones.
        const std::uint64_t sizeBytes = platform::fs::fileSize(file_);
        if (sizeBytes > kStatisticsHeaderSize &&
            (sizeBytes - kStatisticsHeaderSize) % kStatisticsRecordSize != 0)
            platform::fs::truncateTo(file_,
                                     sizeBytes - (sizeBytes - kStatisticsHeaderSize) % kStatisticsRecordSize);
        // One write of every waiting record into an existing file: a failure leaves no partial record, and
        // a file deleted meanwhile is not recreated without its header.
        if (platform::fs::appendAll(file_, pending_, /*mustExist=*/true, &error)) {
            pending_.clear();
            return true;
        }
    }
    const std::size_t n = pending();
    message_ = "Nie udało się zapisać wyniku gry w pliku statystyk " + quoted(path) + ": " +
               (blocked_.empty() ? platform::polishReason(error, true) : "plik jest uszkodzony") + ". " +
               (n == 1 ? std::string("Wynik czeka w pamięci i zostanie dopisany")
                       : "Wyniki " + std::to_string(n) + " gier czekają w pamięci i zostaną dopisane") +
               " przy następnym udanym zapisie, dopóki program jest otwarty.";
    return false;
}

std::string StatisticsFile::timeText() const {
    return formatTime(timeSeconds_);
}

int StatisticsFile::rating() const {
    // d <= 0.4 z and z > 0.6 d, scaled to whole numbers so the thresholds compare exactly.
    const std::int64_t d = correct_;
    const std::int64_t z = wrong_;
    if (5 * d <= 2 * z) return 1;
    if (5 * z > 3 * d) return 2;
    return 4;
}

std::string formatTime(int seconds) {
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
}
