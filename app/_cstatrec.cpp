// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/_cstatrec.hpp"

#include "app/_cblad.hpp"
#include "app/_custgry.hpp"
#include "app/_specfunc.hpp"
#include "platform/Error.hpp"
#include "platform/Fs.hpp"

#include <algorithm>

#include <span>
#include <vector>

namespace {

// Little-endian writer over a fixed buffer.
class Zapis {
public:
    explicit Zapis(std::uint8_t* out) : out_(out) {}
    void u16(std::uint16_t v) {
        *out_++ = static_cast<std::uint8_t>(v);
        *out_++ = static_cast<std::uint8_t>(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void czas(const platform::SystemTime& t) {
        for (std::uint16_t v :
             {t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds})
            u16(v);
    }

private:
    std::uint8_t* out_;
};

} // namespace

namespace {

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const std::uint8_t* p) {
    return le16(p) | (std::uint32_t(le16(p + 2)) << 16);
}

// Sixteen bytes of time that a clock could have given.
bool poprawnyCzas(const std::uint8_t* p) {
    const std::uint16_t rok = le16(p), miesiac = le16(p + 2), dzienTyg = le16(p + 4), dzien = le16(p + 6),
                        godz = le16(p + 8), min = le16(p + 10), sek = le16(p + 12), ms = le16(p + 14);
    return rok >= 1601 && miesiac >= 1 && miesiac <= 12 && dzienTyg <= 6 && dzien >= 1 && dzien <= 31 &&
           godz < 24 && min < 60 && sek < 60 && ms < 1000;
}

// The program number and a creation time.
bool poprawnyNaglowek(const std::vector<std::uint8_t>& b, std::int32_t programId) {
    return b.size() >= CStatRec::ROZMIAR_NAGLOWKA && static_cast<std::int32_t>(le32(b.data())) == programId &&
           poprawnyCzas(b.data() + 4);
}

// A game number, a start time and a quantity the program writes.
bool poprawnyRekord(const std::uint8_t* r) {
    const std::uint32_t gra = le32(r);
    const std::uint16_t poziom = le16(r + 20);
    return gra >= 1 && gra <= 4 && poprawnyCzas(r + 4) && poziom >= 1 && poziom <= 3;
}

std::string cytat(const std::string& sciezka) {
    return "\u201e" + sciezka + "\u201d";
}

} // namespace

CStatRec::CStatRec(int programId)
    : programId_(programId), plik_("prgst" + std::to_string(programId) + ".stt") {
    timer_.onTimer = [this] { wygas(); };
    // Leftovers of a header write or a mending cut short by a kill.
    platform::fs::removeStaleTemporaries("", plik_);
    platform::fs::removeStaleTemporaries("", plik_ + ".bad-tail*");
    // A directory in its place is not ours to move: creation fails below.
    if (platform::fs::exists(plik_)) naprawPlik();
    if (!platform::fs::exists(plik_)) {
        std::array<std::uint8_t, ROZMIAR_NAGLOWKA> naglowek{};
        Zapis z(naglowek.data());
        z.u32(static_cast<std::uint32_t>(programId_));
        z.czas(platform::utcNow());
        // All or nothing, and never over a file that appeared meanwhile (its header keeps the first
        // creation time).
        platform::fs::createExclusive(plik_, naglowek);
    }
    if (!platform::fs::exists(plik_)) throw CBlad(3);
}

void CStatRec::naprawPlik() {
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
        b.size() < ROZMIAR_NAGLOWKA ? 0 : (b.size() - ROZMIAR_NAGLOWKA) / ROZMIAR_REKORDU;
    const std::size_t calosc = ROZMIAR_NAGLOWKA + rekordy * ROZMIAR_REKORDU;
    const bool naglowekOk = poprawnyNaglowek(b, programId_);
    bool rekordyOk = b.size() >= ROZMIAR_NAGLOWKA;
    for (std::size_t k = 0; rekordyOk && k < rekordy; ++k)
        rekordyOk = poprawnyRekord(b.data() + ROZMIAR_NAGLOWKA + k * ROZMIAR_REKORDU);

    if (!naglowekOk && !rekordyOk) {
        // Nothing in it reads as this program's: kept whole beside a new file.
        const std::string obok = platform::fs::moveAside(plik_);
        if (obok.empty()) throw CBlad(3);
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
            Zapis z(b.data());
            z.u32(static_cast<std::uint32_t>(programId_));
            if (rekordy == 0)
                z.czas(platform::utcNow());
            else
                std::copy_n(b.data() + ROZMIAR_NAGLOWKA + 4, 16, b.data() + 4);
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

void CStatRec::start(int gameId, const CUstGry& settings) {
    gameId_ = gameId;
    ustawienia_ = &settings;
    podpowiedzi_ = dobre_ = zle_ = czasSek_ = 0;
    komunikat_.clear();
    aktywny_ = true;
    czasStartu_ = platform::utcNow();
    aktywnosc();
}

void CStatRec::aktywnosc() {
    if (!aktywny_) return;
    timer_.stop();
    timer_.setInterval(CZAS_BEZCZYNNOSCI_MS);
    timer_.start();
}

void CStatRec::wygas() {
    timer_.stop();
    aktywny_ = false;
}

void CStatRec::zakoncz() {
    czasKonca_ = platform::utcNow();
    const std::int64_t ticks = platform::toTicks(czasKonca_) - platform::toTicks(czasStartu_);
    czasSek_ = static_cast<std::int32_t>(ticks / 10'000'000);
}

std::array<std::uint8_t, CStatRec::ROZMIAR_REKORDU> CStatRec::rekord() const {
    std::array<std::uint8_t, ROZMIAR_REKORDU> bajty{};
    Zapis z(bajty.data());
    z.u32(static_cast<std::uint32_t>(gameId_));
    z.czas(czasStartu_);
    // Settings order in the record: Poziom, Gloski, Pozycja.
    z.u16(ustawienia_ ? static_cast<std::uint16_t>(ustawienia_->Poziom) : 0);
    z.u16(ustawienia_ ? ustawienia_->Gloski : 0);
    z.u16(ustawienia_ ? ustawienia_->Pozycja : 0);
    z.u32(static_cast<std::uint32_t>(czasSek_));
    z.u16(static_cast<std::uint16_t>(wynik_));
    z.u32(static_cast<std::uint32_t>(podpowiedzi_));
    z.u32(static_cast<std::uint32_t>(dobre_));
    z.u32(static_cast<std::uint32_t>(zle_));
    return bajty;
}

bool CStatRec::zapisz(int wynik) {
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
        if (rozmiar > ROZMIAR_NAGLOWKA && (rozmiar - ROZMIAR_NAGLOWKA) % ROZMIAR_REKORDU != 0)
            platform::fs::truncateTo(plik_, rozmiar - (rozmiar - ROZMIAR_NAGLOWKA) % ROZMIAR_REKORDU);
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

std::string CStatRec::czasTekst() const {
    return formatujCzas(czasSek_);
}

int CStatRec::ocena() const {
    // d <= 0.4 z and z > 0.6 d, scaled to whole numbers so the thresholds compare exactly.
    const std::int64_t d = dobre_;
    const std::int64_t z = zle_;
    if (5 * d <= 2 * z) return 1;
    if (5 * z > 3 * d) return 2;
    return 4;
}
