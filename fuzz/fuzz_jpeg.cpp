// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// JPEG decoder: any bytes either decode within the size limits or raise ImageError.
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const platform::Bitmap b = platform::image::decodeJpeg({data, size}, "fuzz.xji");
        if (b.width() <= 0 || b.height() <= 0 || std::int64_t(b.width()) * b.height() > (16ll << 20))
            std::abort();
    } catch (const platform::Error&) {
    }
    return 0;
}
