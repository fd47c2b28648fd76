// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/WordVoices.hpp"

#include "platform/audio/VoicePrep.hpp"
#include "platform/system/Fs.hpp"

#include <exception>
#include <stdexcept>

namespace {

// Far beyond any 5-second word in any format, yet a whole album is not read into memory.
constexpr std::size_t kMaxImportBytes = 64u << 20;

std::string problemText(platform::voice::Problem problem) {
    using P = platform::voice::Problem;
    switch (problem) {
    case P::None:
        return {};
    case P::NotSound:
        return "To nie jest plik dźwiękowy, który program umie odczytać (WAV, FLAC, Ogg, Opus, MP3).";
    case P::Damaged:
        return "Plik dźwiękowy jest uszkodzony albo niekompletny.";
    case P::TooLong:
        return "Nagranie jest za długie: słowo może trwać najwyżej " +
               std::to_string(platform::voice::kMaxVoiceMs / 1000) + " sekund.";
    case P::TooQuiet:
        return "W nagraniu prawie nic nie słychać: proszę nagrać słowo głośniej albo bliżej mikrofonu.";
    case P::Empty:
        return "Plik dźwiękowy jest pusty.";
    }
    return "Nie udało się odczytać dźwięku.";
}

} // namespace

std::string ownVoicePath(const std::string& stem) {
    return platform::fs::resolveInUserDir(std::string(kVoicesFolder) + "\\" + stem + ".pw");
}

bool hasOwnVoice(const std::string& stem) {
    return platform::fs::exists(ownVoicePath(stem));
}

std::string wordSoundPath(const std::string& stem) {
    const std::string own = ownVoicePath(stem);
    return platform::fs::exists(own) ? own : "Data\\Smd\\" + stem + ".pw";
}

VoiceTake voiceFromBytes(std::span<const std::uint8_t> fileBytes) {
    VoiceTake take;
    platform::voice::Prepared prepared = platform::voice::prepareVoice(fileBytes);
    if (!prepared.ok()) {
        take.problem = problemText(prepared.problem);
        return take;
    }
    take.wav = std::move(prepared.wav);
    take.lengthMs = prepared.lengthMs;
    return take;
}

VoiceTake voiceFromFile(const std::string& nativePath) {
    std::vector<std::uint8_t> bytes;
    try {
        if (platform::fs::fileSize(nativePath) > kMaxImportBytes) {
            VoiceTake take;
            take.problem = "Plik jest za duży jak na nagranie jednego słowa.";
            return take;
        }
        bytes = platform::fs::readFile(nativePath, kMaxImportBytes);
    } catch (const std::exception&) {
        VoiceTake take;
        take.problem = "Nie można odczytać pliku.";
        return take;
    }
    return voiceFromBytes(bytes);
}

std::string keepOwnVoice(const std::string& stem, std::span<const std::uint8_t> wav) {
    try {
        const std::string folder = platform::fs::resolveInUserDir(kVoicesFolder);
        if (!platform::fs::createPrivateDir(folder)) throw std::runtime_error("");
        platform::fs::writeFileAtomic(ownVoicePath(stem), wav);
        return {};
    } catch (const std::exception&) {
        return "Nie udało się zapisać nagrania (może brak miejsca na dysku); słowo ma nadal swój dawny głos.";
    }
}

std::string removeOwnVoice(const std::string& stem) {
    const std::string path = ownVoicePath(stem);
    if (!platform::fs::exists(path) || platform::fs::remove(path)) return {};
    return "Nie udało się usunąć nagrania; słowo ma nadal własny głos.";
}
