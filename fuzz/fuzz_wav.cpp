// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// WAV reader: any bytes give nothing or a sound whose samples lie within the input, in whole frames.
#include "platform/audio/Wav.hpp"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto sound = platform::wav::parse({data, size});
    if (!sound) return 0;
    const auto& s = sound->samples;
    if (s.data() < data || s.data() + s.size() > data + size) std::abort();
    if (s.size() % std::size_t(sound->format.frameBytes()) != 0) std::abort();
    if (sound->lengthMs() < 0) std::abort();
    volatile std::uint8_t sum = 0;
    for (std::uint8_t b : s)
        sum = sum + b; // every sample byte must be readable
    return 0;
}
