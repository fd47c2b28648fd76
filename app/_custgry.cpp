// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/_custgry.hpp"

#include "platform/Fs.hpp"
#include "platform/Ini.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

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
// The file exists but could not be read: it is never replaced by values it may not hold.
bool g_nieczytelny = false;
std::string g_komunikat;

void zglos(const std::string& tekst) {
    if (g_bladZgloszony) return;
    g_bladZgloszony = true;
    g_komunikat = tekst;
    std::fprintf(stderr, "%s\n", tekst.c_str());
}

std::string tekstUstawien() {
    std::string t = "[DaneProgramu]\r\nZakladka=" + std::to_string(Zakladka) + "\r\n";
    for (const CUstGry* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace})
        t += "\r\n[" + u->sekcja + "]\r\nGloski=" + std::to_string(u->Gloski) +
             "\r\nPoziom=" + std::to_string(u->Poziom) + "\r\nPozycja=" + std::to_string(u->Pozycja) + "\r\n";
    return t;
}
} // namespace

int zakladkaWZakresie(int z) {
    // The recorder's tab starts on the first one; any other value goes to the nearest game tab.
    if (z == ZAK_NAGRYWANIE) return ZAK_PODPISYWANIE;
    return std::clamp(z, ZAK_PODPISYWANIE, ZAK_SPADAJACE);
}

void wczytajZapamietane() {
    g_nieczytelny = false;
    g_bladZgloszony = false;
    g_komunikat.clear();
    try {
        // A directory in the file's place is neither read nor written over.
        if (platform::fs::exists(kPlikUstawien) || platform::fs::dirExists(kPlikUstawien)) {
            const platform::IniFile ini(kPlikUstawien);
            if (ini.unreadable() || platform::fs::dirExists(kPlikUstawien)) {
                g_nieczytelny = true;
                zglos("Nie można odczytać zapamiętanych ustawień z pliku \u201e" + ini.nativePath() +
                      "\u201d, więc zmiany ustawień nie zostaną w nim zapisane.");
            } else {
                Zakladka = zakladkaWZakresie(ini.readInteger("DaneProgramu", "Zakladka", Zakladka));
                for (CUstGry* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace})
                    u->read(ini);
            }
        }
    } catch (const std::exception&) {
        // A file that cannot be read is as good as none: the configuration's values stay.
    }
    g_zapisane = tekstUstawien();
}

std::string komunikatUstawien() {
    return std::exchange(g_komunikat, std::string());
}

bool zapamietajUstawienia() {
    const std::string t = tekstUstawien();
    if (t == g_zapisane) return true;
    if (g_nieczytelny) return false;
    try {
        platform::fs::writeAtomic(kPlikUstawien, t);
    } catch (const std::exception& e) {
        zglos(std::string("Nie można zapamiętać ustawień. ") + e.what() + ".");
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
