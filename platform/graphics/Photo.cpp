// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/graphics/Photo.hpp"

#include "platform/graphics/ImageDecoding.hpp"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <sys/stat.h>
#include <vector>

namespace platform::image {

namespace {

// libjpeg's own allowance for one photo: ample for a baseline file at any size (it holds a strip of rows).
// A progressive file holds the whole picture's coefficients whatever the scale, 3 bytes a pixel with the
// usual halved colour: about 26 megapixels fit, larger ones are refused rather than take the process past
// its budget.
constexpr long kPhotoJpegMemory = 80l << 20;
// Text chunks, colour profiles and Exif together; a real file has a few hundred kilobytes at most.
constexpr png_alloc_size_t kPngChunkMemory = 8u << 20;

struct Input {
    std::span<const std::uint8_t> data; // empty when reading from file
    std::FILE* file = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
};

std::uint16_t read16(std::span<const std::uint8_t> d, std::size_t at, bool little) {
    return little ? std::uint16_t(d[at] | (d[at + 1] << 8)) : std::uint16_t((d[at] << 8) | d[at + 1]);
}

std::uint32_t read32(std::span<const std::uint8_t> d, std::size_t at, bool little) {
    const std::uint32_t a = read16(d, at, little), b = read16(d, at + 2, little);
    return little ? a | (b << 16) : (a << 16) | b;
}

void checkSize(std::int64_t w, std::int64_t h) {
    if (w <= 0 || h <= 0) throw PhotoFailure(PhotoError::Damaged);
    if (w * h > kPhotoMaxPixels) throw PhotoFailure(PhotoError::TooLarge);
    if (std::min(w, h) < kPhotoMinShortSide) throw PhotoFailure(PhotoError::TooSmall);
}

int orientationOf(std::span<const std::uint8_t> exif) {
    const std::optional<int> o = exifOrientation(exif);
    if (!o) throw PhotoFailure(PhotoError::BadExif);
    return *o;
}

// Sums whole rows into boxes of factor × factor pixels, so only one output row of sums is held. Edge
// boxes that the picture does not fill are averaged over the pixels they have.
class BoxShrinker {
public:
    BoxShrinker(int width, int height, int factor)
        : width_(width), height_(height), factor_(factor), outWidth_((width + factor - 1) / factor),
          outHeight_((height + factor - 1) / factor) {
        checkPictureMemory(outWidth_, outHeight_, PixelFormat::Bgr24, "");
        out_ = Bitmap(outWidth_, outHeight_, PixelFormat::Bgr24);
        sums_.assign(std::size_t(outWidth_) * 3, 0);
    }

    // One row of RGB (channels 3) or RGBA (channels 4) samples; alpha is laid on white.
    void addRow(const std::uint8_t* row, int channels) {
        std::uint64_t* sum = sums_.data();
        int inBox = 0;
        for (int x = 0; x < width_; ++x, row += channels) {
            unsigned r = row[0], g = row[1], b = row[2];
            if (channels == 4) {
                const unsigned a = row[3], white = 255 * (255 - a);
                r = (r * a + white + 127) / 255;
                g = (g * a + white + 127) / 255;
                b = (b * a + white + 127) / 255;
            }
            sum[0] += b;
            sum[1] += g;
            sum[2] += r;
            if (++inBox == factor_) {
                inBox = 0;
                sum += 3;
            }
        }
        if (++rows_ == factor_ || y_ + 1 == height_) flush();
        ++y_;
    }

    Bitmap take() { return std::move(out_); }

private:
    void flush() {
        std::uint8_t* d = out_.scanline(outY_);
        for (int ox = 0; ox < outWidth_; ++ox) {
            const std::uint64_t cols = std::uint64_t(std::min(factor_, width_ - ox * factor_));
            const std::uint64_t n = cols * std::uint64_t(rows_);
            for (int c = 0; c < 3; ++c) {
                std::uint64_t& s = sums_[std::size_t(ox) * 3 + std::size_t(c)];
                d[ox * 3 + c] = std::uint8_t((s + n / 2) / n);
                s = 0;
            }
        }
        rows_ = 0;
        ++outY_;
    }

    int width_, height_, factor_, outWidth_, outHeight_;
    int rows_ = 0, y_ = 0, outY_ = 0;
    Bitmap out_;
    std::vector<std::uint64_t> sums_;
};

// ---------------------------------------------------------------------------------------------------
// PNG, read row by row. libpng reports errors by longjmp; the functions that setjmp hold only plain C data
// and call into C++ objects that do not throw.

struct PngReader {
    Input* input;
    char message[200];
};

void pngError(png_structp png, png_const_charp msg) {
    auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
    std::snprintf(reader->message, sizeof reader->message, "%s", msg);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    Input& in = *reader->input;
    if (in.file) {
        if (std::fread(out, 1, length, in.file) != length) png_error(png, "unexpected end of file");
        return;
    }
    if (length > in.data.size() - in.pos) png_error(png, "unexpected end of file");
    std::memcpy(out, in.data.data() + in.pos, length);
    in.pos += length;
}

struct PngHeader {
    png_uint_32 width = 0, height = 0;
    int interlace = 0;
    png_bytep exif = nullptr;
    png_uint_32 exifSize = 0;
};

bool pngReadHeader(png_structp png, png_infop info, PngReader* reader, PngHeader* header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, reader, pngRead);
    png_set_chunk_malloc_max(png, kPngChunkMemory);
    png_set_chunk_cache_max(png, 1000);
    png_read_info(png, info);
    int depth = 0, colorType = 0;
    png_get_IHDR(png, info, &header->width, &header->height, &depth, &colorType, &header->interlace, nullptr,
                 nullptr);
#ifdef PNG_eXIf_SUPPORTED
    png_get_eXIf_1(png, info, &header->exifSize, &header->exif);
#endif
    // Everything to 8-bit RGB or RGBA: palettes and low-depth grey expanded, transparency to alpha.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if (header->interlace != PNG_INTERLACE_NONE) png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool pngReadRows(png_structp png, png_bytep row, png_uint_32 height, int channels, BoxShrinker* shrinker) {
    if (setjmp(png_jmpbuf(png))) return false;
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, row, nullptr);
        shrinker->addRow(row, channels);
    }
    return true;
}

bool pngReadWhole(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

Bitmap decodePng(Input& in, int minShortSide) {
    PngReader reader{&in, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, pngError, pngWarning);
    if (!png) throw PhotoFailure(PhotoError::NoMemory);
    png_infop info = png_create_info_struct(png);
    struct Guard {
        png_structp* png;
        png_infop* info;
        ~Guard() { png_destroy_read_struct(png, info, nullptr); }
    } guard{&png, &info};
    if (!info) throw PhotoFailure(PhotoError::NoMemory);

    PngHeader header;
    if (!pngReadHeader(png, info, &reader, &header)) throw PhotoFailure(PhotoError::Damaged);
    const std::int64_t w = header.width, h = header.height;
    checkSize(w, h);
    const bool interlaced = header.interlace != PNG_INTERLACE_NONE;
    if (interlaced && w * h > kPhotoInterlacedMaxPixels) throw PhotoFailure(PhotoError::InterlacedTooLarge);
    const int orientation = header.exif ? orientationOf({header.exif, std::size_t(header.exifSize)}) : 1;

    const int channels = png_get_channels(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if ((channels != 3 && channels != 4) || rowBytes != std::size_t(w) * std::size_t(channels))
        throw PhotoFailure(PhotoError::Damaged);
    const int shortSide = int(std::min(w, h));
    const int factor = std::max(1, shortSide / std::max(1, minShortSide));
    try {
        BoxShrinker shrinker(int(w), int(h), factor);
        if (!interlaced) {
            std::vector<std::uint8_t> row(rowBytes);
            if (!pngReadRows(png, row.data(), png_uint_32(h), channels, &shrinker))
                throw PhotoFailure(PhotoError::Damaged);
        } else {
            std::vector<std::uint8_t> whole(rowBytes * std::size_t(h));
            std::vector<png_bytep> rows(static_cast<std::size_t>(h));
            for (std::size_t y = 0; y < rows.size(); ++y)
                rows[y] = whole.data() + y * rowBytes;
            if (!pngReadWhole(png, rows.data())) throw PhotoFailure(PhotoError::Damaged);
            for (png_bytep r : rows)
                shrinker.addRow(r, channels);
        }
        return applyOrientation(shrinker.take(), orientation);
    } catch (const PictureMemoryError&) {
        throw PhotoFailure(PhotoError::NoMemory);
    } catch (const std::bad_alloc&) {
        throw PhotoFailure(PhotoError::NoMemory);
    }
}

Bitmap decodeJpegPhoto(const Input& in, int minShortSide) {
    int orientation = 1;
    const auto check = [&](const JpegHeader& header) {
        checkSize(header.width, header.height);
        orientation = orientationOf(header.exif);
    };
    const JpegLimits limits{65535, kPhotoMaxPixels, kPhotoJpegMemory};
    const int need = std::max(1, minShortSide);
    try {
        Bitmap decoded =
            decodeJpegScaled(JpegSource{in.data, in.file, in.size}, "", need, need, limits, check);
        return applyOrientation(decoded, orientation);
    } catch (const PhotoFailure&) {
        throw;
    } catch (const PictureMemoryError&) {
        throw PhotoFailure(PhotoError::NoMemory);
    } catch (const std::bad_alloc&) {
        throw PhotoFailure(PhotoError::NoMemory);
    } catch (const ImageError&) {
        throw PhotoFailure(PhotoError::Damaged);
    }
}

bool isPng(const std::uint8_t* head, std::size_t n) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return n >= 8 && std::memcmp(head, kSignature, 8) == 0;
}

bool isJpeg(const std::uint8_t* head, std::size_t n) {
    return n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

Bitmap decode(Input& in, const std::uint8_t* head, std::size_t headSize, int minShortSide) {
    if (isPng(head, headSize)) return decodePng(in, minShortSide);
    if (isJpeg(head, headSize)) return decodeJpegPhoto(in, minShortSide);
    throw PhotoFailure(PhotoError::NotAPicture);
}

} // namespace

const char* photoErrorText(PhotoError error) {
    switch (error) {
    case PhotoError::NotAPicture:
        return "To nie jest obraz PNG ani JPEG.";
    case PhotoError::Unreadable:
        return "Nie można odczytać pliku ze zdjęciem.";
    case PhotoError::Damaged:
        return "Zdjęcie jest uszkodzone albo niepełne.";
    case PhotoError::TooLarge:
        return "Zdjęcie jest za duże: najwyżej 50 megapikseli.";
    case PhotoError::InterlacedTooLarge:
        return "Zdjęcie PNG z przeplotem jest za duże: najwyżej 12 megapikseli. Zapisz je bez przeplotu.";
    case PhotoError::TooSmall:
        return "Zdjęcie jest za małe: krótszy bok musi mieć co najmniej 256 pikseli.";
    case PhotoError::BadExif:
        return "Opis zdjęcia (EXIF) jest uszkodzony.";
    case PhotoError::NoMemory:
        return "Za mało pamięci, żeby wczytać to zdjęcie. Zmniejsz je i spróbuj jeszcze raz.";
    }
    return "Nie można wczytać zdjęcia.";
}

std::optional<int> exifOrientation(std::span<const std::uint8_t> exif) {
    static constexpr std::uint8_t kPrefix[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (exif.size() >= 6 && std::memcmp(exif.data(), kPrefix, 6) == 0) exif = exif.subspan(6);
    if (exif.empty()) return 1;
    if (exif.size() < 8) return std::nullopt;
    bool little;
    if (exif[0] == 'I' && exif[1] == 'I')
        little = true;
    else if (exif[0] == 'M' && exif[1] == 'M')
        little = false;
    else
        return std::nullopt;
    if (read16(exif, 2, little) != 42) return std::nullopt;
    // Sizes in 64 bits: no offset or count in the block can wrap a comparison.
    const std::uint64_t size = exif.size();
    const std::uint64_t ifd = read32(exif, 4, little);
    if (ifd < 8 || ifd + 2 > size) return std::nullopt;
    const std::uint64_t count = read16(exif, std::size_t(ifd), little);
    if (ifd + 2 + count * 12 > size) return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::size_t entry = std::size_t(ifd + 2 + i * 12);
        if (read16(exif, entry, little) != 0x0112) continue;
        const unsigned type = read16(exif, entry + 2, little);
        const std::uint32_t n = read32(exif, entry + 4, little);
        const int value = read16(exif, entry + 8, little);
        if (type != 3 || n != 1 || value < 1 || value > 8) return std::nullopt;
        return value;
    }
    return 1;
}

Bitmap applyOrientation(const Bitmap& picture, int orientation) {
    if (orientation <= 1 || orientation > 8 || picture.format() != PixelFormat::Bgr24) return picture;
    const int w = picture.width(), h = picture.height();
    const bool turned = orientation >= 5;
    const int ow = turned ? h : w, oh = turned ? w : h;
    checkPictureMemory(ow, oh, PixelFormat::Bgr24, "");
    Bitmap out(ow, oh, PixelFormat::Bgr24);
    for (int y = 0; y < oh; ++y) {
        std::uint8_t* d = out.scanline(y);
        if (!turned) {
            // 2 mirrors, 3 turns half way, 4 flips.
            const int sy = orientation == 2 ? y : h - 1 - y;
            const std::uint8_t* s = picture.scanline(sy);
            if (orientation == 4) {
                std::memcpy(d, s, std::size_t(w) * 3);
                continue;
            }
            for (int x = 0; x < w; ++x)
                std::memcpy(d + x * 3, s + (w - 1 - x) * 3, 3);
            continue;
        }
        // Output row y is source column sx; output column x walks down (5, 8) or up (6, 7) the source.
        const int sx = (orientation == 5 || orientation == 6) ? y : w - 1 - y;
        const bool downwards = orientation == 5 || orientation == 8;
        for (int x = 0; x < ow; ++x) {
            const int sy = downwards ? x : h - 1 - x;
            std::memcpy(d + x * 3, picture.scanline(sy) + sx * 3, 3);
        }
    }
    return out;
}

Bitmap decodePhoto(std::span<const std::uint8_t> data, int minShortSide) {
    Input in{data, nullptr, data.size(), 0};
    return decode(in, data.data(), data.size(), minShortSide);
}

Bitmap loadPhotoFile(const std::string& nativePath, int minShortSide) {
    std::FILE* file = std::fopen(nativePath.c_str(), "rbe");
    if (!file) throw PhotoFailure(PhotoError::Unreadable);
    struct Closer {
        std::FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{file};
    struct stat st {};
    if (::fstat(::fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) throw PhotoFailure(PhotoError::Unreadable);
    std::uint8_t head[8] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    if (std::ferror(file) || std::fseek(file, 0, SEEK_SET) != 0) throw PhotoFailure(PhotoError::Unreadable);
    Input in{{}, file, std::size_t(st.st_size), 0};
    return decode(in, head, got, minShortSide);
}

} // namespace platform::image
