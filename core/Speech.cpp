// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Speech.hpp"

#include "platform/audio/Sound.hpp"
#include "platform/core/Random.hpp"
#include "platform/loop/LoopServices.hpp"
#include "platform/system/Fs.hpp"

#include <string_view>

namespace {
std::string numer(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}
} // namespace

bool odtworzSlowo(const std::string& word) {
    const std::string path = "Data\\Smd\\" + word + ".pw";
    if (!platform::fs::exists(path)) return false;
    platform::sound::playSync(path);
    return true;
}

bool odtworzPochwale(int kind) {
    std::string path;
    switch (kind) {
    case POCHWALA:
        path = "Data\\Intf\\Smd\\g" + numer(platform::random::next() & 7) + ".pw";
        break;
    case ZACHETA:
        path = "Data\\Intf\\Smd\\b" + numer(platform::random::next() % 5) + ".pw";
        break;
    case KROTKA_POCHWALA:
        path = "Data\\Intf\\Smd\\g" + numer(platform::random::next() % 5) + ".pw";
        break;
    default:
        path = "00.pw";
        break;
    }
    if (!platform::fs::exists(path)) return false;
    platform::sound::playSync(path);
    platform::loop::blockFor(500);
    return true;
}
