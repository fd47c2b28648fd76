// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A transparent picture from a pair (on black, on white), then scaled and blended as the games do.
// Input: one byte of mode (bit 0: JPEG pair, else corrected BMP pair; the rest: drawing offsets), two
// bytes giving the length of the first file, the first file, the second file.
#include "pictures/AlphaPicture.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"

#include <cstdint>
#include <vector>

namespace {

bool decode(platform::Bitmap& b, const std::uint8_t* p, std::size_t n, bool jpeg) {
    try {
        if (jpeg) {
            b = platform::image::decodeJpeg({p, n});
        } else {
            std::vector<std::uint8_t> bytes(p, p + n);
            poprawRozmiarBmp(bytes);
            b = platform::image::decodeBmp(bytes);
        }
        return true;
    } catch (const platform::Error&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t mode = data[0];
    const std::size_t first = std::size_t(data[1]) | std::size_t(data[2]) << 8;
    data += 3, size -= 3;
    if (first > size) return 0;
    const bool jpeg = mode & 1;
    platform::Bitmap czarne, biale;
    if (!decode(czarne, data, first, jpeg) || !decode(biale, data + first, size - first, jpeg)) return 0;
    if (jpeg) czarne.setFormat(platform::PixelFormat::Bgr24), biale.setFormat(platform::PixelFormat::Bgr24);
    // The pair is checked as the loader checks it before extracting.
    if (czarne.size() != biale.size() || czarne.format() != platform::PixelFormat::Bgr24 ||
        biale.format() != platform::PixelFormat::Bgr24)
        return 0;
    auto kolor = std::make_unique<platform::Bitmap>();
    auto alfa = std::make_unique<platform::Bitmap>(0, 0, platform::PixelFormat::Indexed8);
    if (!wyodrebnijKolorIAlfe(czarne, biale, *kolor, *alfa)) return 0;
    AlphaPicture t;
    t.ustawKolor(std::move(kolor));
    t.ustawAlfe(std::move(alfa));
    platform::Bitmap cel(64, 48);
    const int dx = (mode >> 1) % 8 * 12 - 40, dy = (mode >> 4) % 8 * 10 - 30;
    t.rysujNaBitmapie(&cel, dx, dy, mode, &cel, 0, 0, platform::Rect{0, 0, t.szerokosc(), t.wysokosc()});
    AlphaPicture maly;
    maly.przeskaluj(t, 1 + mode % 40, 1 + mode / 7, (mode & 2) != 0);
    maly.rysujNaKanwie(cel.canvas(), dy, dx, 255 - mode, true);
    return 0;
}
