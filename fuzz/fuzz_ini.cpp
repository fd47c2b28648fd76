// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Ini reader over arbitrary file contents (the program's data.ini and the recordings' record.xtr).
#include "platform/system/Fs.hpp"
#include "platform/system/Ini.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string g_dir;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/wv-fuzz-ini-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    g_dir = pattern;
    platform::fs::setRoots(g_dir, g_dir);
    std::atexit([] {
        std::remove((g_dir + "/fuzz.ini").c_str());
        ::rmdir(g_dir.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen((g_dir + "/fuzz.ini").c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    platform::IniFile ini("fuzz.ini");
    for (const char* section : {"DaneProgramu", "Podpisywanie", "Nagranie1", "Nagranie30", ""}) {
        ini.sectionExists(section);
        for (const char* key : {"Zakladka", "Poziom", "Nazwa", "Plik", "Data", ""}) {
            ini.valueExists(section, key);
            ini.readInteger(section, key, -1);
            ini.readString(section, key, "?");
            ini.readDate(section, key, 0.0);
        }
    }
    return 0;
}
