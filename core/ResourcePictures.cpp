// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ResourcePictures.hpp"

#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/system/Fs.hpp"

#include <cstdint>
#include <cstdlib>

void openBmp(const std::string& name, platform::Bitmap& bitmap) {
    // A resource name is a bare name; anything that could climb out of Resource/ is refused.
    if (name.empty() || name.find_first_of("/\\") != std::string::npos ||
        name.find('\0') != std::string::npos)
        throw platform::FileError("Nieprawidłowa nazwa obrazka zasobów \u201e" + name + "\u201d");
    const std::string path = platform::fs::resolveInProgramDir("Resource/" + name + ".bmp");
    // Resource pictures are buttons and strips: a header promising more than a screen is refused before
    // anything is decoded, so a replaced file cannot cost minutes and gigabytes.
    const auto header = platform::fs::readHead(path, 26);
    if (header.size() == 26 && header[0] == 'B' && header[1] == 'M') {
        auto le32 = [&](int at) {
            return std::int32_t(std::uint32_t(header[at]) | std::uint32_t(header[at + 1]) << 8 |
                                std::uint32_t(header[at + 2]) << 16 | std::uint32_t(header[at + 3]) << 24);
        };
        const std::int64_t w = le32(18), h = std::abs(std::int64_t(le32(22)));
        if (w > kMaxResourceSide || h > kMaxResourceSide)
            throw platform::ImageError("Obrazek zasobów \u201e" + path + "\u201d jest za duży (" +
                                       std::to_string(w) + "\u00d7" + std::to_string(h) +
                                       " punktów, najwyżej " + std::to_string(kMaxResourceSide) + "\u00d7" +
                                       std::to_string(kMaxResourceSide) + ")");
    }
    bitmap = platform::image::decodeBmp(platform::fs::readAll(path), path);
}
