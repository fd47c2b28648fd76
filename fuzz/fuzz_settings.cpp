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

struct Values {
    int tab;
    std::int16_t level[4];
    std::uint16_t sounds[4], position[4];
    bool operator==(const Values&) const = default;
};

Values now(const ProgramSettings& settings) {
    Values w{settings.tab, {}, {}, {}};
    int i = 0;
    for (const GameSettings* u :
         {&settings.labelling, &settings.memory, &settings.completion, &settings.falling}) {
        w.level[i] = u->level;
        w.sounds[i] = u->sounds;
        w.position[i] = u->positions;
        ++i;
    }
    return w;
}

void defaults(ProgramSettings& settings) {
    settings.tab = 2;
    for (GameSettings* u : {&settings.labelling, &settings.memory, &settings.completion, &settings.falling})
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
    const std::string file = g_dir + "/ustawienia.ini";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    ProgramSettings settings;
    defaults(settings);
    settings.loadRemembered();
    const Values readValues = now(settings);
    if (readValues.tab < 1 || readValues.tab > 4) std::abort();
    for (int i = 0; i < 4; ++i)
        if (readValues.level[i] < 1 || readValues.level[i] > 3 || (readValues.sounds[i] & ~0x000F) ||
            (readValues.position[i] & ~0x7000))
            std::abort();
    // A change forces a save; reading it back from other values must give the saved ones.
    settings.tab = readValues.tab == 4 ? 1 : readValues.tab + 1;
    const Values savedValues = now(settings);
    if (!settings.remember()) std::abort();
    ProgramSettings again;
    defaults(again);
    again.loadRemembered();
    if (!(now(again) == savedValues)) std::abort();
    return 0;
}
