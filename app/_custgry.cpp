#include "app/_custgry.hpp"

#include "platform/Fs.hpp"
#include "platform/Ini.hpp"

#include <cstdio>
#include <exception>

CUstGry ustPodpisywanie("Podpisywanie");
CUstGry ustMemory("Memory");
CUstGry ustUzupelnianie("Uzupelnianie");
CUstGry ustSpadajace("Spadajace");

int Zakladka = ZAK_PODPISYWANIE;

namespace {
constexpr std::uint16_t kGloski = GL_SZ | GL_ZZ | GL_CZ | GL_DZZ;
constexpr std::uint16_t kPozycje = POZ_NAGLOS | POZ_SRODGLOS | POZ_WYGLOS;

// What the file holds (or held when it was read), so that only real changes are written.
std::string g_zapisane;
bool g_bladZgloszony = false;

std::string tekstUstawien() {
    std::string t = "[DaneProgramu]\r\nZakladka=" + std::to_string(Zakladka) + "\r\n";
    for (const CUstGry* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace})
        t += "\r\n[" + u->sekcja + "]\r\nGloski=" + std::to_string(u->Gloski) +
             "\r\nPoziom=" + std::to_string(u->Poziom) + "\r\nPozycja=" + std::to_string(u->Pozycja) + "\r\n";
    return t;
}
} // namespace

void wczytajZapamietane() {
    try {
        if (platform::fs::exists(kPlikUstawien)) {
            const platform::IniFile ini(kPlikUstawien);
            // The recorder's tab starts on the first one, as in the configuration; no other value is a tab.
            const int z = ini.readInteger("DaneProgramu", "Zakladka", Zakladka);
            if (z >= ZAK_PODPISYWANIE && z <= ZAK_SPADAJACE) Zakladka = z;
            if (z == ZAK_NAGRYWANIE) Zakladka = ZAK_PODPISYWANIE;
            for (CUstGry* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace})
                u->read(ini);
        }
    } catch (const std::exception&) {
        // A file that cannot be read is as good as none: the configuration's values stay.
    }
    g_zapisane = tekstUstawien();
}

bool zapamietajUstawienia() {
    const std::string t = tekstUstawien();
    if (t == g_zapisane) return true;
    try {
        platform::fs::writeAtomic(kPlikUstawien, t);
    } catch (const std::exception& e) {
        if (!g_bladZgloszony) std::fprintf(stderr, "Nie można zapamiętać ustawień: %s\n", e.what());
        g_bladZgloszony = true;
        return false;
    }
    g_zapisane = t;
    return true;
}

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
