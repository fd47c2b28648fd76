// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Speech.hpp"

#include "core/WordVoices.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/core/Random.hpp"
#include "platform/loop/LoopServices.hpp"
#include "platform/system/Fs.hpp"

#include <string_view>

namespace {
std::string number(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}
} // namespace

bool playWord(const std::string& word) {
    const std::string path = wordSoundPath(word);
    if (!platform::fs::exists(path)) return false;
    platform::sound::playSync(path);
    return true;
}

bool playPraise(int kind) {
    std::string path;
    switch (kind) {
    case kPraise:
        path = "Data\\Intf\\Smd\\g" + number(platform::random::next() & 7) + ".pw";
        break;
    case kEncouragement:
        path = "Data\\Intf\\Smd\\b" + number(platform::random::next() % 5) + ".pw";
        break;
    case kShortPraise:
        path = "Data\\Intf\\Smd\\g" + number(platform::random::next() % 5) + ".pw";
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
