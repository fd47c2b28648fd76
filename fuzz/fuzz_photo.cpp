// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Photo reader: any bytes either give an upright picture within the photo limits or raise PhotoFailure;
// the Exif parser reads the same bytes as a block and stays inside them.
#include "platform/graphics/Photo.hpp"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<int> orientation = platform::image::exifOrientation({data, size});
    if (orientation && (*orientation < 1 || *orientation > 8)) std::abort();
    try {
        const platform::Bitmap b = platform::image::decodePhoto({data, size}, 320);
        if (b.width() <= 0 || b.height() <= 0 ||
            std::int64_t(b.width()) * b.height() > platform::image::kPhotoMaxPixels)
            std::abort();
    } catch (const platform::image::PhotoFailure&) {
    }
    return 0;
}
