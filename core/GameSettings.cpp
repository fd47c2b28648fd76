// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/GameSettings.hpp"

#include "platform/system/Fs.hpp"
#include "platform/system/Ini.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string_view>
#include <utility>

GameSettings ustPodpisywanie("Podpisywanie");
GameSettings ustMemory("Memory");
GameSettings ustUzupelnianie("Uzupelnianie");
GameSettings ustSpadajace("Spadajace");

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
    for (const GameSettings* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace})
        t += "\r\n[" + u->sekcja + "]\r\nGloski=" + std::to_string(u->sounds) +
             "\r\nPoziom=" + std::to_string(u->level) + "\r\nPozycja=" + std::to_string(u->positions) +
             "\r\n";
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
                for (GameSettings* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace})
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

void GameSettings::read(const platform::IniFile& ini) {
    // Values are 16-bit words in the record; wider numbers keep their low 16 bits.
    sounds = static_cast<std::uint16_t>(ini.readInteger(sekcja, "Gloski", sounds));
    level = static_cast<std::int16_t>(ini.readInteger(sekcja, "Poziom", level));
    positions = static_cast<std::uint16_t>(ini.readInteger(sekcja, "Pozycja", positions));

    sounds &= kGloski;
    if (level < POZIOM_MALO || level > POZIOM_DUZO) level = POZIOM_MALO;
    positions &= kPozycje;
}

void GameSettings::dodajKontrast() {
    // Each contrast flag sits four bits above its sound.
    sounds |= static_cast<std::uint16_t>((sounds & kGloski) << 4);
}

void GameSettings::ustawDystraktory(const GameSettings& target) {
    const std::uint16_t cel = target.sounds & kGloski;
    if (cel == kGloski) {
        sounds |= GL_S | GL_Z | GL_C | GL_DZ;
        return;
    }
    const std::uint16_t brak = kGloski & static_cast<std::uint16_t>(~cel);
    sounds |= brak;
    if (brak & GL_DZZ) sounds |= GL_DZ;
    sounds |= GL_S;
}

namespace {
constexpr std::string_view kPlikKonfiguracji = "Data\\data.ini";
}

bool readConfiguration() {
    if (!platform::fs::exists(kPlikKonfiguracji)) return true;
    try {
        const platform::IniFile ini(kPlikKonfiguracji);
        Zakladka = zakladkaWZakresie(ini.readInteger("DaneProgramu", "Zakladka", Zakladka));
        ustMemory.read(ini);
        ustUzupelnianie.read(ini);
        ustPodpisywanie.read(ini);
        ustSpadajace.read(ini);
    } catch (const std::exception&) {
        // The caller turns this into the "configuration not accessible" error.
        return false;
    }
    return true;
}
