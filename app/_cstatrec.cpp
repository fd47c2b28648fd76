#include "app/_cstatrec.hpp"

#include "app/_cblad.hpp"
#include "app/_custgry.hpp"
#include "app/_specfunc.hpp"
#include "platform/Fs.hpp"

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

std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// The program number and a creation time that a clock could have given.
bool poprawnyNaglowek(const std::vector<std::uint8_t>& b, std::int32_t programId) {
    if (b.size() < CStatRec::ROZMIAR_NAGLOWKA) return false;
    const auto id = static_cast<std::int32_t>(le16(b, 0) | (std::uint32_t(le16(b, 2)) << 16));
    const std::uint16_t rok = le16(b, 4), miesiac = le16(b, 6), dzienTyg = le16(b, 8), dzien = le16(b, 10),
                        godz = le16(b, 12), min = le16(b, 14), sek = le16(b, 16), ms = le16(b, 18);
    return id == programId && rok >= 1601 && miesiac >= 1 && miesiac <= 12 && dzienTyg <= 6 && dzien >= 1 &&
           dzien <= 31 && godz < 24 && min < 60 && sek < 60 && ms < 1000;
}

} // namespace

CStatRec::CStatRec(int programId)
    : programId_(programId), plik_("prgst" + std::to_string(programId) + ".stt") {
    timer_.onTimer = [this] { wygas(); };
    // Leftovers of a header write cut short by a kill.
    platform::fs::removeStaleTemporaries("", plik_);
    // A directory in its place is not ours to move: creation fails below.
    if (platform::fs::exists(plik_)) {
        std::vector<std::uint8_t> poczatek;
        try {
            poczatek = platform::fs::readHead(plik_, ROZMIAR_NAGLOWKA);
        } catch (const std::exception&) {
        }
        // Records appended to a file without its header could never be read back: such a file is kept
        // aside and a new one started.
        if (!poprawnyNaglowek(poczatek, programId_) && platform::fs::moveAside(plik_).empty()) throw CBlad(3);
    }
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

void CStatRec::start(int gameId, const CUstGry& settings) {
    gameId_ = gameId;
    ustawienia_ = &settings;
    podpowiedzi_ = dobre_ = zle_ = czasSek_ = 0;
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
    const auto bajty = rekord();
    // One write of the whole record into an existing file: a failure leaves no partial record, and a
    // file deleted meanwhile is not recreated without its header.
    return platform::fs::appendAll(plik_, bajty, /*mustExist=*/true);
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
