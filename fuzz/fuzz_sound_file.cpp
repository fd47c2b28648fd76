// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Sound file reader: any bytes give nothing or a sound in whole frames within the decoder's bounds.
#include "platform/audio/SoundFile.hpp"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace sf = platform::soundfile;
    const auto sound = sf::decode({data, size});
    const auto& pcm = sound.pcm;
    if (!sound.playable()) {
        if (!pcm.samples.empty()) std::abort();
        return 0;
    }
    if (pcm.channels < 1 || pcm.channels > sf::kMaxChannels) std::abort();
    if (pcm.sampleRate < sf::kMinSampleRate || pcm.sampleRate > sf::kMaxSampleRate) std::abort();
    if (pcm.samples.size() % std::size_t(pcm.channels) != 0) std::abort();
    if (std::int64_t(pcm.samples.size()) > sf::kMaxSamples) std::abort();
    if (pcm.lengthMs() < 0) std::abort();
    return 0;
}
