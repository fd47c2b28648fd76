// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/PictureFiles.hpp"

#include "pictures/StretchBitmap.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/system/Fs.hpp"

#include <cstdint>
#include <vector>

using platform::Bitmap;

namespace {

std::int32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int32_t(std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 |
                        std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24);
}

// The user reads these: in Polish, naming the file, whatever the decoder or the file system said.
std::vector<std::uint8_t> wczytajPlik(const std::string& path) {
    if (!platform::fs::exists(path)) throw platform::FileError("Brak pliku " + platform::fs::toNative(path));
    try {
        return platform::fs::readAll(path);
    } catch (const platform::FileError& e) {
        throw platform::FileError(std::string(e.what()), e.code());
    }
}

template <class Dekoder>
Bitmap dekoduj(const std::vector<std::uint8_t>& bufor, const std::string& path, Dekoder dekoder) {
    try {
        return dekoder(bufor, path);
    } catch (const platform::ImageError&) {
        throw platform::ImageError("Uszkodzony plik obrazka " + platform::fs::toNative(path));
    }
}

} // namespace

void wczytajJpeg(Bitmap& bitmap, const std::string& path) {
    // Decoded into a temporary so that a failure leaves the caller's bitmap as it was.
    Bitmap obraz =
        dekoduj(wczytajPlik(path), path, [](const std::vector<std::uint8_t>& b, const std::string& n) {
            return platform::image::decodeJpeg(b, n);
        });
    obraz.setFormat(platform::PixelFormat::Bgr24);
    bitmap = std::move(obraz);
}

void wczytajJpeg(Bitmap& bitmap, const std::string& path, int w, int h) {
    Bitmap obraz =
        dekoduj(wczytajPlik(path), path, [w, h](const std::vector<std::uint8_t>& b, const std::string& n) {
            return platform::image::decodeJpeg(b, n, w, h);
        });
    obraz.setFormat(platform::PixelFormat::Bgr24);
    if (obraz.width() > w || obraz.height() > h) {
        Bitmap dokladny(w, h, platform::PixelFormat::Bgr24);
        StretchBitmap(&dokladny, &obraz);
        obraz = std::move(dokladny);
    }
    bitmap = std::move(obraz);
}

Bitmap tloOkna(const std::string& path, int w, int h) {
    Bitmap obraz;
    try {
        wczytajJpeg(obraz, path);
    } catch (const std::exception&) {
    }
    Bitmap tlo(w, h);
    tlo.canvas().draw(0, 0, obraz);
    return tlo;
}

void wczytajBmp(Bitmap& bitmap, const std::string& path) {
    bitmap = dekoduj(wczytajPlik(path), path, platform::image::decodeBmp);
}

void poprawRozmiarBmp(std::vector<std::uint8_t>& bufor) {
    // Some tools write a wrong or zero image size into 24-bit files; recompute it from the header.
    // A file too short to hold the field goes to the decoder as it is and fails there.
    constexpr std::size_t kPoleRozmiaru = 34;
    if (bufor.size() < kPoleRozmiaru + 4 || (bufor[28] | bufor[29] << 8) != 24) return;
    const std::int64_t szer = le32(bufor, 18), wys = le32(bufor, 22);
    // Absurd sides are left for the decoder to refuse; within these bounds the product fits easily.
    constexpr std::int64_t kGranica = 1 << 20;
    if (szer < -kGranica || szer > kGranica || wys < -kGranica || wys > kGranica) return;
    // 32-bit wrap-around as the header field holds it.
    const std::uint32_t rozmiar = std::uint32_t(std::uint64_t((szer * 3 + szer % 4) * wys));
    for (int k = 0; k < 4; ++k)
        bufor[kPoleRozmiaru + k] = std::uint8_t(rozmiar >> (8 * k));
}

void wczytajPoprawionaBmp(Bitmap& bitmap, const std::string& path) {
    std::vector<std::uint8_t> bufor = wczytajPlik(path);
    poprawRozmiarBmp(bufor);
    bitmap = dekoduj(bufor, path, platform::image::decodeBmp);
}

void rysujZMaska(platform::Canvas& canvas, int x, int y, const Bitmap& mask, const Bitmap& picture) {
    canvas.setCopyMode(platform::CopyMode::SrcPaint);
    canvas.draw(x, y, mask);
    canvas.setCopyMode(platform::CopyMode::SrcAnd);
    canvas.draw(x, y, picture);
    canvas.setCopyMode(platform::CopyMode::SrcCopy);
}
