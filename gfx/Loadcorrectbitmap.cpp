#include "Loadcorrectbitmap.hpp"

#include "platform/Fs.hpp"
#include "platform/Image.hpp"

#include <cstdint>
#include <vector>

using platform::Bitmap;

namespace {

std::int32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int32_t(std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 |
                        std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24);
}

} // namespace

void wczytajJpeg(Bitmap& bitmap, const std::string& path) {
    // Decoded into a temporary so that a failure leaves the caller's bitmap as it was.
    Bitmap obraz = platform::image::decodeJpeg(platform::fs::readAll(path), path);
    obraz.setFormat(platform::PixelFormat::Bgr24);
    bitmap = std::move(obraz);
}

void wczytajBmp(Bitmap& bitmap, const std::string& path) {
    bitmap = platform::image::decodeBmp(platform::fs::readAll(path), path);
}

void wczytajPoprawionaBmp(Bitmap& bitmap, const std::string& path) {
    std::vector<std::uint8_t> bufor = platform::fs::readAll(path);
    // Some tools write a wrong or zero image size into 24-bit files; recompute it from the header.
    // A file too short to hold the field goes to the decoder as it is and fails there.
    constexpr std::size_t kPoleRozmiaru = 34;
    if (bufor.size() >= kPoleRozmiaru + 4 && (bufor[28] | bufor[29] << 8) == 24) {
        const std::int64_t szer = le32(bufor, 18), wys = le32(bufor, 22);
        // 32-bit wrap-around as the header field holds it (only absurd headers wrap, and those fail later).
        const std::uint32_t rozmiar = std::uint32_t(std::uint64_t((szer * 3 + szer % 4) * wys));
        for (int k = 0; k < 4; ++k)
            bufor[kPoleRozmiaru + k] = std::uint8_t(rozmiar >> (8 * k));
    }
    bitmap = platform::image::decodeBmp(bufor, path);
}

void rysujZMaska(platform::Canvas& canvas, int x, int y, const Bitmap& mask, const Bitmap& picture) {
    canvas.setCopyMode(platform::CopyMode::SrcPaint);
    canvas.draw(x, y, mask);
    canvas.setCopyMode(platform::CopyMode::SrcAnd);
    canvas.draw(x, y, picture);
    canvas.setCopyMode(platform::CopyMode::SrcCopy);
}
