// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Remembered settings: any ustawienia.ini is read into valid values, and saving those then reading them
// back gives the same values.
#include "core/GameSettings.hpp"
#include "platform/system/Fs.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string g_dir;

struct Wartosci {
    int zakladka;
    std::int16_t poziom[4];
    std::uint16_t gloski[4], pozycja[4];
    bool operator==(const Wartosci&) const = default;
};

Wartosci teraz(const ProgramSettings& ust) {
    Wartosci w{ust.tab, {}, {}, {}};
    int i = 0;
    for (const GameSettings* u : {&ust.labelling, &ust.memory, &ust.completion, &ust.falling}) {
        w.poziom[i] = u->level;
        w.gloski[i] = u->sounds;
        w.pozycja[i] = u->positions;
        ++i;
    }
    return w;
}

void domyslne(ProgramSettings& ust) {
    ust.tab = 2;
    for (GameSettings* u : {&ust.labelling, &ust.memory, &ust.completion, &ust.falling})
        u->level = 2, u->sounds = 1, u->positions = 0x1000;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/wv-fuzz-settings-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    g_dir = pattern;
    platform::fs::setRoots(g_dir, g_dir);
    std::atexit([] {
        std::remove((g_dir + "/ustawienia.ini").c_str());
        ::rmdir(g_dir.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Past the reader's size limit a file counts as unreadable and is rightly never replaced.
    if (size > 1 << 16) return 0;
    const std::string plik = g_dir + "/ustawienia.ini";
    std::FILE* f = std::fopen(plik.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    ProgramSettings ust;
    domyslne(ust);
    ust.loadRemembered();
    const Wartosci przeczytane = teraz(ust);
    if (przeczytane.zakladka < 1 || przeczytane.zakladka > 4) std::abort();
    for (int i = 0; i < 4; ++i)
        if (przeczytane.poziom[i] < 1 || przeczytane.poziom[i] > 3 || (przeczytane.gloski[i] & ~0x000F) ||
            (przeczytane.pozycja[i] & ~0x7000))
            std::abort();
    // A change forces a save; reading it back from other values must give the saved ones.
    ust.tab = przeczytane.zakladka == 4 ? 1 : przeczytane.zakladka + 1;
    const Wartosci zapisane = teraz(ust);
    if (!ust.remember()) std::abort();
    ProgramSettings znowu;
    domyslne(znowu);
    znowu.loadRemembered();
    if (!(teraz(znowu) == zapisane)) std::abort();
    return 0;
}
