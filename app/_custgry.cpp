#include "app/_custgry.hpp"

#include "platform/Ini.hpp"

CUstGry ustPodpisywanie("Podpisywanie");
CUstGry ustMemory("Memory");
CUstGry ustUzupelnianie("Uzupelnianie");
CUstGry ustSpadajace("Spadajace");

int Zakladka = ZAK_PODPISYWANIE;

namespace {
constexpr std::uint16_t kGloski = GL_SZ | GL_ZZ | GL_CZ | GL_DZZ;
constexpr std::uint16_t kPozycje = POZ_NAGLOS | POZ_SRODGLOS | POZ_WYGLOS;
} // namespace

void CUstGry::read(const platform::IniFile& ini) {
    // Values are 16-bit words in the record; wider numbers keep their low 16 bits.
    Gloski = static_cast<std::uint16_t>(ini.readInteger(sekcja, "Gloski", Gloski));
    Poziom = static_cast<std::int16_t>(ini.readInteger(sekcja, "Poziom", Poziom));
    Pozycja = static_cast<std::uint16_t>(ini.readInteger(sekcja, "Pozycja", Pozycja));

    Gloski &= kGloski;
    if (Poziom < POZIOM_MALO || Poziom > POZIOM_DUZO) Poziom = POZIOM_MALO;
    Pozycja &= kPozycje;
}

void CUstGry::dodajKontrast() {
    // Each contrast flag sits four bits above its sound.
    Gloski |= static_cast<std::uint16_t>((Gloski & kGloski) << 4);
}

void CUstGry::ustawDystraktory(const CUstGry& target) {
    const std::uint16_t cel = target.Gloski & kGloski;
    if (cel == kGloski) {
        Gloski |= GL_S | GL_Z | GL_C | GL_DZ;
        return;
    }
    const std::uint16_t brak = kGloski & static_cast<std::uint16_t>(~cel);
    Gloski |= brak;
    if (brak & GL_DZZ) Gloski |= GL_DZ;
    Gloski |= GL_S;
}
