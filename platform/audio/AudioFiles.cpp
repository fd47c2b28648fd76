// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/AudioFiles.hpp"

#include "platform/core/Error.hpp"
#include "platform/system/Fs.hpp"

// The sound code reports trouble as false; the file layer raises.
namespace platform::audiofiles {

bool exists(std::string_view gamePath) {
    return fs::exists(gamePath);
}

std::optional<std::vector<std::uint8_t>> read(std::string_view gamePath) {
    try {
        return fs::readAll(gamePath, kMaxSoundBytes);
    } catch (const Error&) {
        return std::nullopt;
    }
}

bool replace(std::string_view gamePath, std::span<const std::uint8_t> bytes) {
    try {
        fs::writeAtomic(gamePath, bytes);
        return true;
    } catch (const Error&) {
        return false;
    }
}

bool createNew(std::string_view gamePath, std::span<const std::uint8_t> bytes) {
    return fs::createExclusive(gamePath, bytes);
}

} // namespace platform::audiofiles
