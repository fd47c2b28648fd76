// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/graphics/Text.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/core/Error.hpp"

#include <SDL_ttf.h>
#include <algorithm>
#include <cctype>
#include <fontconfig/fontconfig.h>
#include <list>
#include <map>
#include <memory>
#include <unordered_map>

namespace platform::text {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct FontFile {
    std::string path;
    bool syntheticBold = false; // the file is not bold but bold was asked for
};

// The windows ask for Windows fonts; these are the installed fonts that look alike and carry the Polish
// letters.
std::vector<std::string> candidateFamilies(const std::string& family, bool& bold) {
    const std::string f = lower(family);
    if (f == "arial black") {
        bold = true;
        return {"Liberation Sans", "DejaVu Sans"};
    }
    if (f == "arial" || f == "araial" || f == "helvetica") return {"Liberation Sans", "DejaVu Sans"};
    if (f == "ms sans serif" || f == "ms shell dlg" || f == "tahoma" || f == "verdana")
        return {"DejaVu Sans", "Liberation Sans"};
    return {family, "DejaVu Sans", "Liberation Sans"};
}

bool coversPolish(FcPattern* match) {
    FcCharSet* cs = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &cs) != FcResultMatch || !cs) return false;
    for (FcChar32 c :
         {0x0105u, 0x0107u, 0x0119u, 0x0142u, 0x0144u, 0x00F3u, 0x015Bu, 0x017Au, 0x017Cu, 0x017Bu, 0x0141u})
        if (!FcCharSetHasChar(cs, c)) return false;
    return true;
}

// Asks fontconfig for family at the weight; accepts only a scalable font of that very family that has the
// Polish letters, so a silent substitution does not hide a missing font.
bool matchFamily(const std::string& family, bool bold, bool anyFamily, FontFile& out) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;

    bool ok = false;
    FcChar8* file = nullptr;
    FcChar8* matchedFamily = nullptr;
    FcChar8* format = nullptr;
    int weight = FC_WEIGHT_REGULAR;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch) {
        const bool sameFamily = lower(reinterpret_cast<const char*>(matchedFamily)) == lower(family);
        const bool trueType = FcPatternGetString(match, FC_FONTFORMAT, 0, &format) == FcResultMatch &&
                              (lower(reinterpret_cast<const char*>(format)) == "truetype" ||
                               lower(reinterpret_cast<const char*>(format)) == "cff");
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        if ((sameFamily || anyFamily) && trueType && coversPolish(match)) {
            out.path = reinterpret_cast<const char*>(file);
            out.syntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
            ok = true;
        }
    }
    FcPatternDestroy(match);
    return ok;
}

struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> alpha; // width * height, 0 = untouched, 255 = full font colour
};

class FontCache {
public:
    ~FontCache() {
        for (auto& [key, font] : fonts_)
            TTF_CloseFont(font);
        if (ttfReady_) TTF_Quit();
        if (fcUsed_) FcFini(); // releases fontconfig's caches, which would otherwise read as leaks
    }

    TTF_Font* get(const Font& font) {
        const FontFile& file = fileFor(font.family, font.bold);
        const int size = std::clamp(font.height > 0 ? font.height : 13, 1, 512);
        const auto key = std::make_tuple(file.path, size, file.syntheticBold);
        if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
        if (!ttfReady_) {
            if (TTF_Init() != 0)
                throw Error(std::string("Cannot start the font renderer: ") + TTF_GetError());
            ttfReady_ = true;
        }
        // At the renderer's 72 dpi one point is one pixel, so the em square is exactly `height` pixels
        // high: the character height (cell height without internal leading).
        TTF_Font* f = TTF_OpenFont(file.path.c_str(), size);
        if (!f) throw Error("Cannot open font \"" + file.path + "\": " + TTF_GetError());
        if (file.syntheticBold) TTF_SetFontStyle(f, TTF_STYLE_BOLD);
        fonts_.emplace(key, f);
        return f;
    }

    // Rendered lines are kept, since labels repaint the same few texts again and again.
    const Coverage& coverage(const Font& font, std::string_view utf8) {
        TTF_Font* f = get(font);
        std::string key;
        key.reserve(utf8.size() + 24);
        key.append(reinterpret_cast<const char*>(&f),
                   sizeof f); // NOLINT(bugprone-sizeof-expression): the font's address is the key
        key.append(utf8);
        if (auto it = lines_.find(key); it != lines_.end()) {
            order_.splice(order_.begin(), order_, it->second.second);
            return it->second.first;
        }
        Coverage cov;
        const std::string s(utf8);
        SDL_Surface* surface = TTF_RenderUTF8_Blended(f, s.c_str(), SDL_Color{255, 255, 255, 255});
        if (surface) {
            SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
            SDL_FreeSurface(surface);
            if (argb) {
                cov.width = argb->w;
                cov.height = argb->h;
                cov.alpha.resize(std::size_t(cov.width) * std::size_t(cov.height));
                SDL_LockSurface(argb);
                for (int y = 0; y < cov.height; ++y) {
                    const auto* row = reinterpret_cast<const std::uint32_t*>(
                        static_cast<const std::uint8_t*>(argb->pixels) + y * argb->pitch);
                    std::uint8_t* out = cov.alpha.data() + std::size_t(y) * std::size_t(cov.width);
                    for (int x = 0; x < cov.width; ++x)
                        out[x] = std::uint8_t(row[x] >> 24);
                }
                SDL_UnlockSurface(argb);
                SDL_FreeSurface(argb);
            }
        }
        if (lines_.size() >= kMaxLines) {
            lines_.erase(order_.back());
            order_.pop_back();
        }
        order_.push_front(key);
        auto [it, inserted] = lines_.emplace(key, std::make_pair(std::move(cov), order_.begin()));
        return it->second.first;
    }

private:
    const FontFile& fileFor(const std::string& family, bool bold) {
        const auto key = std::make_pair(lower(family), bold);
        if (auto it = files_.find(key); it != files_.end()) return it->second;
        fcUsed_ = true;
        bool wantBold = bold;
        const auto families = candidateFamilies(family, wantBold);
        FontFile file;
        bool found = false;
        for (const auto& fam : families)
            if ((found = matchFamily(fam, wantBold, false, file))) break;
        if (!found) found = matchFamily("sans-serif", wantBold, true, file);
        if (!found) throw Error("No installed font can show \"" + family + "\" with Polish letters");
        return files_.emplace(key, file).first->second;
    }

    static constexpr std::size_t kMaxLines = 256;
    bool ttfReady_ = false;
    bool fcUsed_ = false;
    std::map<std::pair<std::string, bool>, FontFile> files_;
    std::map<std::tuple<std::string, int, bool>, TTF_Font*> fonts_;
    std::list<std::string> order_;
    std::unordered_map<std::string, std::pair<Coverage, std::list<std::string>::iterator>> lines_;
};

FontCache& cache() {
    static FontCache instance;
    return instance;
}

std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    return std::min(n, s.size() - i);
}

int widthOf(const Font& font, std::string_view s) {
    return measure(font, s).width;
}

// Splits a word too wide for a line into pieces that fit (at least one letter each).
void breakWord(const Font& font, std::string_view word, int width, std::vector<std::string>& lines,
               std::string& rest) {
    std::string piece;
    for (std::size_t i = 0; i < word.size();) {
        const std::size_t n = utf8Length(word, i);
        const std::string next = piece + std::string(word.substr(i, n));
        if (!piece.empty() && widthOf(font, next) > width) {
            lines.push_back(piece);
            piece = std::string(word.substr(i, n));
        } else {
            piece = next;
        }
        i += n;
    }
    rest = piece;
}

std::vector<std::string> splitLines(std::string_view utf8) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : utf8) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    lines.push_back(cur);
    return lines;
}

} // namespace

Size measure(const Font& font, std::string_view utf8) {
    TTF_Font* f = cache().get(font);
    const int h = TTF_FontHeight(f);
    if (utf8.empty()) return {0, h};
    int w = 0, ignored = 0;
    const std::string s(utf8);
    if (TTF_SizeUTF8(f, s.c_str(), &w, &ignored) != 0) return {0, h};
    return {w, h};
}

int lineHeight(const Font& font) {
    return TTF_FontHeight(cache().get(font));
}

std::vector<std::string> wrap(const Font& font, std::string_view utf8, int width) {
    std::vector<std::string> out;
    for (const std::string& paragraph : splitLines(utf8)) {
        if (width <= 0 || widthOf(font, paragraph) <= width) {
            out.push_back(paragraph);
            continue;
        }
        std::string line;
        bool lineStarted = false;
        std::size_t pos = 0;
        while (pos <= paragraph.size()) {
            std::size_t space = paragraph.find(' ', pos);
            if (space == std::string::npos) space = paragraph.size();
            const std::string word = paragraph.substr(pos, space - pos);
            pos = space + 1;
            const std::string candidate = lineStarted ? line + " " + word : word;
            if (widthOf(font, candidate) <= width) {
                line = candidate;
                lineStarted = true;
                continue;
            }
            if (lineStarted) out.push_back(line);
            if (widthOf(font, word) > width) {
                breakWord(font, word, width, out, line);
            } else {
                line = word;
            }
            lineStarted = true;
        }
        if (lineStarted) out.push_back(line);
    }
    return out;
}

Rect draw(Bitmap& target, const Rect& clip, int x, int y, std::string_view utf8, const Font& font) {
    if (utf8.empty() || target.empty()) return {};
    const Coverage& cov = cache().coverage(font, utf8);
    const Rect area = Rect::fromSize(x, y, cov.width, cov.height)
                          .intersect(clip)
                          .intersect(Rect{0, 0, target.width(), target.height()});
    if (area.empty()) return {};

    const int r = redOf(font.color), g = greenOf(font.color), b = blueOf(font.color);
    const PixelFormat format = target.format();
    const int bpp = target.bytesPerPixel();
    const std::uint8_t fullIndex =
        format == PixelFormat::Indexed8
            ? nearestPaletteIndex(target.palette(), std::uint8_t(b), std::uint8_t(g), std::uint8_t(r))
            : 0;
    for (int py = area.top; py < area.bottom; ++py) {
        const std::uint8_t* a =
            cov.alpha.data() + std::size_t(py - y) * std::size_t(cov.width) + (area.left - x);
        std::uint8_t* d = target.scanline(py) + std::size_t(area.left) * std::size_t(bpp);
        for (int px = area.left; px < area.right; ++px, ++a, d += bpp) {
            const int k = *a;
            if (k == 0) continue;
            if (format == PixelFormat::Indexed8) {
                if (k == 255) {
                    *d = fullIndex;
                    continue;
                }
                const PaletteEntry& e = target.palette()[*d];
                *d = nearestPaletteIndex(target.palette(),
                                         std::uint8_t((b * k + e.blue * (255 - k) + 127) / 255),
                                         std::uint8_t((g * k + e.green * (255 - k) + 127) / 255),
                                         std::uint8_t((r * k + e.red * (255 - k) + 127) / 255));
                continue;
            }
            d[0] = std::uint8_t((b * k + d[0] * (255 - k) + 127) / 255);
            d[1] = std::uint8_t((g * k + d[1] * (255 - k) + 127) / 255);
            d[2] = std::uint8_t((r * k + d[2] * (255 - k) + 127) / 255);
        }
    }
    return area;
}

Rect drawInRect(Bitmap& target, const Rect& clip, const Rect& rect, std::string_view utf8, const Font& font,
                TextAlign align, bool wordWrap) {
    const Rect limit = clip.intersect(rect);
    if (limit.empty() || utf8.empty()) return {};
    const auto lines = wordWrap ? wrap(font, utf8, rect.width()) : splitLines(utf8);
    const int step = lineHeight(font);
    Rect changed{};
    int y = rect.top;
    for (const std::string& line : lines) {
        if (y >= limit.bottom) break;
        if (!line.empty() && y + step > limit.top) {
            const int w = widthOf(font, line);
            int x = rect.left;
            if (align == TextAlign::Center)
                x = rect.left + (rect.width() - w) / 2;
            else if (align == TextAlign::Right)
                x = rect.right - w;
            changed = changed.unite(draw(target, limit, x, y, line, font));
        }
        y += step;
    }
    return changed;
}

} // namespace platform::text
