// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Corrected BMP: the image-size fix-up on the raw header, then the decoder, as the game loads ".xbi".
#include "pictures/PictureFiles.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    fixBmpSize(bytes);
    try {
        platform::image::decodeBmp(bytes, "fuzz.xbi");
    } catch (const platform::Error&) {
    }
    return 0;
}
