// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/graphics/Image.hpp"

#include "platform/core/Error.hpp"
#include "platform/graphics/ImageDecoding.hpp"
#include "platform/system/Fs.hpp"

#include <SDL.h>
#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <png.h>

// Needs jpeglib.h before it.
#include <jerror.h>

namespace platform::image {

namespace {

// The game's pictures are at most screen-sized; a phone photo a therapist adds is still welcome, but
// anything beyond 16 megapixels is a broken or hostile header (and would cost hundreds of megabytes).
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 16ll << 20;
// What libjpeg may allocate for one picture: a progressive 16-megapixel colour file needs about 100 MB
// of coefficients; anything more fails instead of growing.
constexpr long kJpegMemory = 192l << 20;

std::string label(const std::string& name) {
    return name.empty() ? std::string("(bez nazwy)") : "\u201e" + name + "\u201d";
}

std::atomic<std::size_t> memoryLimit{std::size_t(1) << 30};

std::string megabytes(std::size_t bytes) {
    return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB";
}

// Called before a decoded picture is allocated: a data set of pictures that would together exhaust
// memory is refused with a reason, picture by picture, instead of letting the system run out.
} // namespace

void checkPictureMemory(std::int64_t w, std::int64_t h, PixelFormat format, const std::string& name) {
    const std::size_t need = std::size_t(Bitmap::strideFor(int(w), format)) * std::size_t(h);
    const std::size_t inUse = bitmapBytesInUse(), limit = memoryLimit.load();
    if (inUse + need > limit)
        throw PictureMemoryError("Za mało pamięci na obrazek " + label(name) + " (" + std::to_string(w) +
                                 "x" + std::to_string(h) + "): obrazki zajmują już " + megabytes(inUse) +
                                 " z " + megabytes(limit) + ". Obrazki w zestawie danych są za duże.");
}

namespace {

// ---------------------------------------------------------------------------------------------------
// JPEG. libjpeg reports errors through a callback that must not return; it longjmps back to the phase
// function that called setjmp. Those functions hold only plain C data, so no destructor is skipped.

struct JpegError {
    jpeg_error_mgr pub;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void jpegMessage(j_common_ptr cinfo, int level) {
    // A truncated or damaged scan would otherwise decode "successfully" with grey or smeared blocks
    // filling the missing part, so every corrupt-data warning is an error here.
    if (level >= 0) return;
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        jpegErrorExit(cinfo);
        break;
    default:
        break;
    }
}

// A progressive file can ask for thousands of scans over the same pixels; real pictures use about ten.
void jpegProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > 200) {
        auto* err = reinterpret_cast<JpegError*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "too many scans");
        std::longjmp(err->jump, 1);
    }
}

void initError(JpegError& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.emit_message = jpegMessage;
    err.progress = jpeg_progress_mgr{};
    err.progress.progress_monitor = jpegProgress;
    err.message[0] = '\0';
}

bool jpegReadHeader(jpeg_decompress_struct* cinfo, JpegError* err, const std::uint8_t* data, std::size_t size,
                    std::FILE* file, long memory, bool keepExif) {
    if (setjmp(err->jump)) return false;
    jpeg_create_decompress(cinfo);
    cinfo->progress = &err->progress; // creation clears it
    cinfo->mem->max_memory_to_use = memory;
    if (file)
        jpeg_stdio_src(cinfo, file);
    else
        jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    if (keepExif) jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    cinfo->out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(cinfo);
    return true;
}

bool jpegScale(jpeg_decompress_struct* cinfo, JpegError* err, unsigned num) {
    if (setjmp(err->jump)) return false;
    cinfo->scale_num = num;
    cinfo->scale_denom = 8;
    jpeg_calc_output_dimensions(cinfo);
    return true;
}

bool jpegReadPixels(jpeg_decompress_struct* cinfo, JpegError* err, std::uint8_t* base, std::size_t stride,
                    unsigned height) {
    if (setjmp(err->jump)) return false;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3 || cinfo->output_height != height) {
        std::snprintf(err->message, sizeof err->message, "unexpected output format");
        return false;
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = base + std::size_t(cinfo->output_scanline) * stride;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

bool jpegWrite(jpeg_compress_struct* cinfo, JpegError* err, unsigned char** out, unsigned long* outSize,
               const std::uint8_t* base, std::size_t stride, int width, int height, int quality,
               bool fullChroma) {
    if (setjmp(err->jump)) return false;
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, out, outSize);
    cinfo->image_width = JDIMENSION(width);
    cinfo->image_height = JDIMENSION(height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    if (fullChroma)
        for (int c = 0; c < cinfo->num_components; ++c)
            cinfo->comp_info[c].h_samp_factor = cinfo->comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(base + std::size_t(cinfo->next_scanline) * stride);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

// ---------------------------------------------------------------------------------------------------
// BMP header checks, done before SDL sees the data so that no header can make it allocate without bound.

std::uint32_t le32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t(d[at]) | (std::uint32_t(d[at + 1]) << 8) | (std::uint32_t(d[at + 2]) << 16) |
           (std::uint32_t(d[at + 3]) << 24);
}

std::uint16_t le16(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint16_t(d[at] | (d[at + 1] << 8));
}

void checkBmpHeader(std::span<const std::uint8_t> d, const std::string& name) {
    auto bad = [&](const char* why) { throw ImageError("Invalid BMP " + label(name) + ": " + why); };
    const std::int64_t size = std::int64_t(d.size());
    if (size < 14 + 12) bad("file too short");
    if (d[0] != 'B' || d[1] != 'M') bad("not a BMP file");
    const std::int64_t pixelOffset = le32(d, 10);
    const std::int64_t headerSize = le32(d, 14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        bad("unknown header kind");
    if (14 + headerSize > size) bad("header past the end of the file");

    std::int64_t width, height;
    int bpp;
    std::uint32_t compression = 0, colorsUsed = 0;
    int paletteEntrySize = 4;
    std::int64_t afterHeader = 14 + headerSize;
    if (headerSize == 12) {
        width = le16(d, 18);
        height = le16(d, 20);
        bpp = le16(d, 24);
        paletteEntrySize = 3;
    } else {
        width = std::int32_t(le32(d, 18));
        height = std::int32_t(le32(d, 22));
        bpp = le16(d, 28);
        compression = le32(d, 30);
        colorsUsed = le32(d, 46);
    }
    if (width <= 0 || width > kMaxSide) bad("bad width");
    if (height == 0 || height < -kMaxSide || height > kMaxSide) bad("bad height");
    if (width * (height < 0 ? -height : height) > kMaxPixels) bad("too many pixels");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) bad("unsupported bit depth");
    if (compression == 3) {
        if (bpp != 16 && bpp != 32) bad("bit fields on a palette picture");
        if (headerSize == 40) afterHeader += 12; // the three colour masks follow the header
    } else if (compression != 0) {
        bad("compressed BMP files are not supported");
    }
    if (afterHeader > size) bad("colour masks past the end of the file");
    if (bpp <= 8) {
        const std::int64_t maxColors = std::int64_t(1) << bpp;
        const std::int64_t colors = colorsUsed ? std::int64_t(colorsUsed) : maxColors;
        if (colors > maxColors) bad("palette too large");
        if (afterHeader + colors * paletteEntrySize > size) bad("palette past the end of the file");
    }
    if (pixelOffset < afterHeader) bad("pixel data overlaps the header");
    const std::int64_t rowBytes = (width * bpp + 31) / 32 * 4;
    const std::int64_t rows = height < 0 ? -height : height;
    if (pixelOffset > size || rowBytes * rows > size - pixelOffset)
        bad("pixel data past the end of the file");
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

void put16(std::vector<std::uint8_t>& v, std::size_t at, std::uint16_t x) {
    v[at] = std::uint8_t(x);
    v[at + 1] = std::uint8_t(x >> 8);
}

void put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v[at + i] = std::uint8_t(x >> (8 * i));
}

// ---------------------------------------------------------------------------------------------------
// PNG, with the same setjmp discipline as JPEG.

struct PngSink {
    std::vector<std::uint8_t>* out;
};

void pngWriteData(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    try {
        sink->out->insert(sink->out->end(), data, data + length);
    } catch (...) {
        png_error(png, "out of memory");
    }
}

void pngFlush(png_structp) {}
void pngWarning(png_structp, png_const_charp) {}

char g_pngMessage[256];

void pngErrorFn(png_structp png, png_const_charp msg) {
    std::snprintf(g_pngMessage, sizeof g_pngMessage, "%s", msg);
    png_longjmp(png, 1);
}

bool pngWrite(png_structp png, png_infop info, PngSink* sink, png_bytepp rows, int width, int height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, sink, pngWriteData, pngFlush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

} // namespace

void setPictureMemoryLimit(std::size_t bytes) {
    memoryLimit.store(bytes);
}

std::size_t pictureMemoryLimit() {
    return memoryLimit.load();
}

Bitmap decodeJpeg(std::span<const std::uint8_t> data, const std::string& nameForErrors) {
    return decodeJpeg(data, nameForErrors, 0, 0);
}

Bitmap decodeJpeg(std::span<const std::uint8_t> data, const std::string& nameForErrors, int minWidth,
                  int minHeight) {
    if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8)
        throw ImageError("To nie jest plik JPEG: " + label(nameForErrors));
    const JpegLimits limits{kMaxSide, kMaxPixels, kJpegMemory};
    return decodeJpegScaled(JpegSource{data, nullptr, data.size()}, nameForErrors, minWidth, minHeight,
                            limits, {});
}

namespace {

// A failure of libjpeg's own allowance is a question of memory, not a broken file.
[[noreturn]] void jpegFailed(const JpegError& err, const std::string& name) {
    const int code = err.pub.msg_code;
    if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE || code == JERR_TFILE_CREATE)
        throw PictureMemoryError("Za mało pamięci na obrazek JPEG " + label(name) + ": " + err.message);
    throw ImageError("Uszkodzony obrazek JPEG " + label(name) + ": " + err.message);
}

} // namespace

Bitmap decodeJpegScaled(const JpegSource& source, const std::string& nameForErrors, int minWidth,
                        int minHeight, const JpegLimits& limits,
                        const std::function<void(const JpegHeader&)>& checkHeader) {
    jpeg_decompress_struct cinfo{};
    JpegError err;
    initError(err);
    cinfo.err = &err.pub;
    struct Guard {
        jpeg_decompress_struct* c;
        ~Guard() { jpeg_destroy_decompress(c); }
    } guard{&cinfo};

    if (!jpegReadHeader(&cinfo, &err, source.data.data(), source.data.size(), source.file,
                        limits.libjpegMemory, bool(checkHeader)))
        jpegFailed(err, nameForErrors);

    const std::int64_t w = cinfo.output_width, h = cinfo.output_height;
    if (checkHeader) {
        JpegHeader header{int(w), int(h), {}};
        for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
            static constexpr std::uint8_t kExifId[6] = {'E', 'x', 'i', 'f', 0, 0};
            if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && std::memcmp(m->data, kExifId, 6) == 0) {
                header.exif.assign(m->data + 6, m->data + m->data_length);
                break;
            }
        }
        checkHeader(header);
    }
    // Even a flat picture costs some bits per 8x8 block; a header promising far more pixels than the
    // data could describe is refused before anything is allocated for it.
    const std::int64_t plausible = std::max<std::int64_t>(std::int64_t(source.size) * 1024, 1 << 20);
    if (w <= 0 || h <= 0 || w > limits.maxSide || h > limits.maxSide || w * h > limits.maxPixels ||
        w * h > plausible)
        throw ImageError("Obrazek JPEG " + label(nameForErrors) + " ma nieprawdopodobny rozmiar " +
                         std::to_string(w) + "x" + std::to_string(h));

    if (minWidth > 0 && minHeight > 0) {
        unsigned num = 1;
        // Output sides are the full ones times num/8, rounded up.
        while (num < 8 && ((w * num + 7) / 8 < minWidth || (h * num + 7) / 8 < minHeight))
            ++num;
        if (num < 8 && !jpegScale(&cinfo, &err, num)) jpegFailed(err, nameForErrors);
    }
    const unsigned outW = cinfo.output_width, outH = cinfo.output_height;
    checkPictureMemory(outW, outH, PixelFormat::Bgr24, nameForErrors);
    Bitmap bitmap(int(outW), int(outH), PixelFormat::Bgr24);
    if (!jpegReadPixels(&cinfo, &err, bitmap.data(), std::size_t(bitmap.stride()), outH))
        jpegFailed(err, nameForErrors);
    return bitmap;
}

Bitmap decodeBmp(std::span<const std::uint8_t> data, const std::string& nameForErrors) {
    checkBmpHeader(data, nameForErrors);
    SDL_RWops* rw = SDL_RWFromConstMem(data.data(), int(data.size()));
    if (!rw)
        throw ImageError("Nie można odczytać obrazka BMP " + label(nameForErrors) + ": " + SDL_GetError());
    SurfacePtr surface(SDL_LoadBMP_RW(rw, 1));
    if (!surface) throw ImageError("Uszkodzony obrazek BMP " + label(nameForErrors) + ": " + SDL_GetError());

    const int w = surface->w, h = surface->h;
    const SDL_PixelFormat* fmt = surface->format;
    if (fmt->BitsPerPixel == 8 && fmt->palette) {
        checkPictureMemory(w, h, PixelFormat::Indexed8, nameForErrors);
        Bitmap bitmap(w, h, PixelFormat::Indexed8);
        if (SDL_LockSurface(surface.get()) != 0)
            throw ImageError("Nie można odczytać obrazka BMP " + label(nameForErrors) + ": " +
                             SDL_GetError());
        for (int y = 0; y < h; ++y)
            std::memcpy(bitmap.scanline(y),
                        static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch,
                        std::size_t(w));
        SDL_UnlockSurface(surface.get());
        const int n = std::min(fmt->palette->ncolors, 256);
        for (int i = 0; i < n; ++i) {
            const SDL_Color c = fmt->palette->colors[i];
            bitmap.palette()[i] = PaletteEntry{c.b, c.g, c.r, 0};
        }
        return bitmap;
    }

    SurfacePtr bgra(SDL_ConvertSurfaceFormat(surface.get(), SDL_PIXELFORMAT_BGRA32, 0));
    if (!bgra)
        throw ImageError("Nie można przekształcić obrazka BMP " + label(nameForErrors) + ": " +
                         SDL_GetError());
    const bool keepAlpha = fmt->BitsPerPixel == 32;
    checkPictureMemory(w, h, keepAlpha ? PixelFormat::Bgra32 : PixelFormat::Bgr24, nameForErrors);
    Bitmap bitmap(w, h, keepAlpha ? PixelFormat::Bgra32 : PixelFormat::Bgr24);
    if (SDL_LockSurface(bgra.get()) != 0)
        throw ImageError("Nie można odczytać obrazka BMP " + label(nameForErrors) + ": " + SDL_GetError());
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = static_cast<const std::uint8_t*>(bgra->pixels) + y * bgra->pitch;
        std::uint8_t* d = bitmap.scanline(y);
        if (keepAlpha) {
            std::memcpy(d, s, std::size_t(w) * 4);
        } else {
            for (int x = 0; x < w; ++x, s += 4, d += 3) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        }
    }
    SDL_UnlockSurface(bgra.get());
    return bitmap;
}

Bitmap loadJpegFile(const std::string& nativePath) {
    const auto data = fs::readFile(nativePath);
    return decodeJpeg(data, nativePath);
}

Bitmap loadBmpFile(const std::string& nativePath) {
    const auto data = fs::readFile(nativePath);
    return decodeBmp(data, nativePath);
}

std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap, int quality, bool fullChroma) {
    if (bitmap.empty()) throw ImageError("Cannot encode an empty picture as JPEG");
    const Bitmap* src = &bitmap;
    Bitmap converted;
    if (bitmap.format() != PixelFormat::Bgr24) {
        converted = bitmap;
        converted.setFormat(PixelFormat::Bgr24);
        src = &converted;
    }
    jpeg_compress_struct cinfo{};
    JpegError err;
    initError(err);
    cinfo.err = &err.pub;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const bool ok = jpegWrite(&cinfo, &err, &out, &outSize, src->data(), std::size_t(src->stride()),
                              src->width(), src->height(), std::clamp(quality, 1, 100), fullChroma);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> result;
    if (ok && out) result.assign(out, out + outSize);
    std::free(out);
    if (!ok) throw ImageError(std::string("Cannot encode JPEG: ") + err.message);
    return result;
}

std::vector<std::uint8_t> encodeBmp(const Bitmap& bitmap) {
    if (bitmap.empty()) throw ImageError("Cannot encode an empty picture as BMP");
    const int w = bitmap.width(), h = bitmap.height(), bpp = bitmap.bitsPerPixel();
    const std::size_t rowBytes = (std::size_t(w) * std::size_t(bpp) + 31) / 32 * 4;
    const std::size_t paletteBytes = bpp == 8 ? 256 * 4 : 0;
    const std::size_t offset = 14 + 40 + paletteBytes;
    std::vector<std::uint8_t> out(offset + rowBytes * std::size_t(h), 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, std::uint32_t(out.size()));
    put32(out, 10, std::uint32_t(offset));
    put32(out, 14, 40);
    put32(out, 18, std::uint32_t(w));
    put32(out, 22, std::uint32_t(h));
    put16(out, 26, 1);
    put16(out, 28, std::uint16_t(bpp));
    put32(out, 34, std::uint32_t(rowBytes * std::size_t(h)));
    put32(out, 38, 2835); // 72 dpi
    put32(out, 42, 2835);
    if (bpp == 8) {
        put32(out, 46, 256);
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry& e = bitmap.palette()[i];
            out[54 + 4 * i] = e.blue;
            out[54 + 4 * i + 1] = e.green;
            out[54 + 4 * i + 2] = e.red;
        }
    }
    // Bottom-up rows, as BMP files store them.
    const std::size_t used = std::size_t(w) * std::size_t(bitmap.bytesPerPixel());
    for (int y = 0; y < h; ++y)
        std::memcpy(out.data() + offset + std::size_t(h - 1 - y) * rowBytes, bitmap.scanline(y), used);
    return out;
}

void savePng(const Bitmap& bitmap, const std::string& nativePath) {
    if (bitmap.empty()) throw ImageError("Cannot save an empty picture to \"" + nativePath + "\"");
    const int w = bitmap.width(), h = bitmap.height();
    std::vector<std::uint8_t> rgb(std::size_t(w) * 3 * std::size_t(h));
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        std::uint8_t* d = rgb.data() + std::size_t(y) * std::size_t(w) * 3;
        rows[std::size_t(y)] = d;
        for (int x = 0; x < w; ++x, d += 3) {
            const Color c = bitmap.pixel(x, y);
            d[0] = redOf(c);
            d[1] = greenOf(c);
            d[2] = blueOf(c);
        }
    }

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngErrorFn, pngWarning);
    if (!png) throw ImageError("Cannot create a PNG writer for \"" + nativePath + "\"");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw ImageError("Cannot create a PNG writer for \"" + nativePath + "\"");
    }
    std::vector<std::uint8_t> encoded;
    PngSink sink{&encoded};
    g_pngMessage[0] = '\0';
    const bool ok = pngWrite(png, info, &sink, rows.data(), w, h);
    png_destroy_write_struct(&png, &info);
    if (!ok) throw ImageError("Cannot encode PNG \"" + nativePath + "\": " + g_pngMessage);
    fs::writeFileAtomic(nativePath, encoded);
}

} // namespace platform::image
