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

namespace report {

namespace {

// Why a record was left out, in the order the checks run.
enum SkipReason : int {
    kUnknownGame,
    kWrongCount,
    kNegativeTime,
    kBadResult,
    kNegativeCounts,
    kBadDate,
    kDateBefore2000,
    kDateInFuture,
    kReasonCount
};

constexpr const char* kReasons[kReasonCount] = {
    "nieznany numer gry",
    "ilość zadań spoza zakresu 1–3",
    "ujemny czas gry",
    "wynik gry inny niż 0 lub 1",
    "ujemna liczba odpowiedzi lub podpowiedzi",
    "nieprawidłowa data rozpoczęcia",
    "data sprzed 2000 roku",
    "data ponad dobę późniejsza niż zegar komputera",
};

constexpr int kShownNumbers = 8;

bool isLeapYear(int r) {
    return (r % 4 == 0 && r % 100 != 0) || r % 400 == 0;
}

int daysInMonth(int r, int m) {
    static constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(r) ? 29 : kDaysInMonth[m - 1];
}

// The stored system time (year, month, day of week, day, hour, minute, second, ms) as UTC seconds; the
// day of the week is not checked, nothing reads it.
bool savedTimeToSeconds(const platform::SystemTime& t, std::int64_t& seconds) {
    const int r = t.year, m = t.month, d = t.day;
    const int g = t.hour, min = t.minute, s = t.second, ms = t.milliseconds;
    if (m < 1 || m > 12 || d < 1 || d > daysInMonth(r, m) || g > 23 || min > 59 || s > 59 || ms > 999)
        return false;
    seconds = daysSinceEpoch(r, m, d) * 86400 + g * 3600 + min * 60 + s;
    return true;
}

const std::int64_t kYear2000 = daysSinceEpoch(2000, 1, 1) * 86400;

// The first reason the record cannot stand, or kReasonCount for a sound one.
int check(const std::uint8_t* p, std::int64_t nowSeconds, PlayedGame& g) {
    const StatisticsRecord r = decodeRecord(p);
    g.game = r.game;
    g.level = r.level;
    g.sounds = r.sounds;
    g.position = r.positions;
    g.timeSeconds = r.seconds;
    const int result = r.result;
    g.completed = result == 1;
    g.hints = r.hints;
    g.correct = r.correct;
    g.wrong = r.wrong;
    if (g.game < 1 || g.game > 4) return kUnknownGame;
    if (g.level < 1 || g.level > 3) return kWrongCount;
    if (g.timeSeconds < 0) return kNegativeTime;
    if (result != 0 && result != 1) return kBadResult;
    if (g.hints < 0 || g.correct < 0 || g.wrong < 0) return kNegativeCounts;
    if (!savedTimeToSeconds(r.start, g.startSeconds)) return kBadDate;
    if (g.startSeconds < kYear2000) return kDateBefore2000;
    if (g.startSeconds > nowSeconds + kToleranceSeconds) return kDateInFuture;
    return kReasonCount;
}

std::string countWithNoun(std::int64_t n, const char* one, const char* few, const char* many) {
    return std::to_string(n) + " " + pluralForm(n, one, few, many);
}

} // namespace

const char* pluralForm(std::int64_t n, const char* one, const char* few, const char* many) {
    if (n == 1) return one;
    const std::int64_t j = n % 10, d = n % 100;
    return j >= 2 && j <= 4 && (d < 12 || d > 14) ? few : many;
}

std::int64_t daysSinceEpoch(int year, int month, int day) {
    // Days from civil date (H. Hinnant's algorithm): years start in March so leap days come last.
    const std::int64_t r = year - (month <= 2);
    const std::int64_t era = (r >= 0 ? r : r - 399) / 400;
    const std::int64_t yearOfEra = r - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void dateFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

ReadResult readBytes(std::span<const std::uint8_t> bytes, std::int64_t nowSeconds, bool header) {
    ReadResult o;
    o.fileExists = true;
    if (bytes.empty()) {
        o.notes.emplace_back("Plik statystyk jest pusty.");
        return o;
    }
    if (bytes.size() < kStatisticsHeaderSize) {
        o.notes.push_back("Plik statystyk jest krótszy niż jego nagłówek (" + std::to_string(bytes.size()) +
                          " z " + std::to_string(kStatisticsHeaderSize) +
                          " bajtów) i nie zawiera żadnej gry.");
        return o;
    }
    const StatisticsHeader h = decodeHeader(bytes.data());
    const std::int32_t program = h.program;
    std::int64_t createdAt = 0;
    const bool headerDateValid = savedTimeToSeconds(h.created, createdAt) && createdAt >= kYear2000;
    if (header && (program != 1 || !headerDateValid))
        o.notes.push_back(std::string("Nagłówek pliku statystyk jest nieprawidłowy (") +
                          (program != 1 ? "numer programu " + std::to_string(program) + " zamiast 1"
                                        : std::string("nieprawidłowa data utworzenia")) +
                          "); zapisane gry odczytano mimo to.");

    const std::size_t full = (bytes.size() - kStatisticsHeaderSize) / kStatisticsRecordSize;
    o.games.reserve(full);
    std::array<std::vector<int>, kReasonCount> skipped;
    std::array<int, kReasonCount> count{};
    for (std::size_t i = 0; i < full; ++i) {
        PlayedGame g;
        g.number = static_cast<int>(i + 1);
        const int reason =
            check(bytes.data() + kStatisticsHeaderSize + i * kStatisticsRecordSize, nowSeconds, g);
        if (reason == kReasonCount) {
            if (g.startSeconds > nowSeconds) ++o.ahead;
            o.games.push_back(g);
            continue;
        }
        ++count[reason];
        ++o.skipped;
        if (skipped[reason].size() < kShownNumbers) skipped[reason].push_back(g.number);
    }
    // One note per reason, in the order of each reason's first record.
    std::array<int, kReasonCount> order{};
    for (int p = 0; p < kReasonCount; ++p)
        order[p] = p;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int pa = skipped[a].empty() ? INT_MAX : skipped[a].front();
        const int pb = skipped[b].empty() ? INT_MAX : skipped[b].front();
        return pa < pb;
    });
    for (int p : order) {
        if (!count[p]) continue;
        std::string numbers;
        for (int n : skipped[p])
            numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
        if (count[p] > kShownNumbers) numbers += ", …";
        o.notes.push_back("Pominięto " + countWithNoun(count[p], "rekord", "rekordy", "rekordów") + " (nr " +
                          numbers + "): " + kReasons[p] + ".");
    }
    if (const std::size_t rest = (bytes.size() - kStatisticsHeaderSize) % kStatisticsRecordSize) {
        ++o.skipped;
        o.notes.push_back("Ostatni rekord jest niepełny (" + std::to_string(rest) + " z " +
                          std::to_string(kStatisticsRecordSize) + " bajtów) i został pominięty.");
    }
    if (o.ahead)
        o.notes.push_back(countWithNoun(o.ahead, "gra ma", "gry mają", "gier ma") +
                          " datę późniejszą niż zegar tego komputera (najwyżej o dobę); pokazano " +
                          (o.ahead == 1 ? "ją" : "je") +
                          " z zapisaną datą. Warto sprawdzić ustawienie zegara i strefy czasowej.");
    return o;
}

std::string readErrorCause(const std::string& nativePath, std::size_t limit) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return "plik nie istnieje";
        if (errno == EACCES) return "brak uprawnień do odczytu";
        return "błąd systemu plików";
    }
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? "to jest katalog, nie plik" : "to nie jest zwykły plik";
    if (std::uint64_t(st.st_size) > limit) return "plik jest za duży";
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? "brak uprawnień do odczytu" : "błąd otwarcia pliku";
    ::close(fd);
    return "błąd odczytu z dysku";
}

namespace {

constexpr std::size_t kByteLimit = 256u << 20;

// Reads one file; a file that exists but cannot be read gives a note with the cause in Polish.
ReadResult readFrom(const std::string& path, std::int64_t nowSeconds, bool header) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = platform::fs::readAll(path, kByteLimit);
    } catch (const platform::Error&) {
        ReadResult o;
        o.fileExists = true;
        o.notes.push_back("Nie można odczytać pliku " + std::filesystem::path(path).filename().string() +
                          " (" + readErrorCause(platform::fs::resolve(path), kByteLimit) + ").");
        return o;
    }
    return readBytes(bytes, nowSeconds, header);
}

} // namespace

ReadResult readFile(const std::string& path, std::int64_t nowSeconds) {
    const std::string deferred = path + ".bad";
    const bool setAsideExists = platform::fs::exists(deferred);
    ReadResult o;
    if (platform::fs::exists(path)) {
        o = readFrom(path, nowSeconds, true);
    } else if (std::filesystem::exists(platform::fs::resolve(path))) {
        // There, but not a file (a directory, say): say so rather than report nothing.
        o.fileExists = true;
        o.notes.push_back("Nie można odczytać pliku " + std::filesystem::path(path).filename().string() +
                          " (" + readErrorCause(platform::fs::resolve(path), kByteLimit) + ").");
    }
    if (!setAsideExists) return o;
    ReadResult b = readFrom(deferred, nowSeconds, false);
    const std::string name = std::filesystem::path(deferred).filename().string();
    o.fileExists = true;
    o.notes.push_back("Odczytano też " + countWithNoun(std::int64_t(b.games.size()), "grę", "gry", "gier") +
                      " z pliku " + name +
                      ", odłożonego przy starcie programu, bo nagłówek pliku statystyk był uszkodzony.");
    for (const std::string& u : b.notes)
        o.notes.push_back(name + ": " + u);
    o.skipped += b.skipped;
    o.ahead += b.ahead;
    o.games.insert(o.games.end(), b.games.begin(), b.games.end());
    std::stable_sort(o.games.begin(), o.games.end(), [](const PlayedGame& x, const PlayedGame& y) {
        return x.startSeconds < y.startSeconds;
    });
    return o;
}

} // namespace report
