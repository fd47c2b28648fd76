// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"
#include "platform/graphics/Text.hpp"

#include <functional>
#include <string_view>

namespace platform {

class Bitmap;

// Raster operations of the block copies the pictures are drawn with.
enum class CopyMode : std::uint32_t {
    SrcCopy = 0x00CC0020,  // destination = source
    SrcPaint = 0x00EE0086, // destination = destination OR source
    SrcAnd = 0x008800C6,   // destination = destination AND source
};

// Draws on one bitmap through a clip rectangle. Everything clips to the clip rectangle and the bitmap;
// nothing ever writes outside the target.
class Canvas {
public:
    explicit Canvas(Bitmap& target);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Bitmap& bitmap() { return *target_; }
    const Bitmap& bitmap() const { return *target_; }

    CopyMode copyMode() const { return copyMode_; }
    void setCopyMode(CopyMode mode) { copyMode_ = mode; }
    Color brushColor() const { return brush_; }
    void setBrushColor(Color color) { brush_ = color; }
    Font& font() { return font_; }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }

    // The clip rectangle in target coordinates; by default the whole bitmap.
    void setClipRect(const Rect& clip);
    void resetClip();
    Rect clipRect() const;

    // Draws src with its top-left corner at (x, y) under the copy mode.
    void draw(int x, int y, const Bitmap& src);
    // Nearest-pixel stretch of the whole of src onto dst under the copy mode.
    void stretchDraw(const Rect& dst, const Bitmap& src);
    // Copies srcRect of src onto dst under the copy mode, stretching nearest-pixel when the sizes differ.
    // Source and destination may be the same canvas and may overlap.
    void copyRect(const Rect& dst, const Canvas& src, const Rect& srcRect);
    void copyRect(const Rect& dst, const Bitmap& src, const Rect& srcRect);
    // Fills with the brush colour.
    void fillRect(const Rect& rect);
    // One-pixel outline just inside rect in the brush colour.
    void frameRect(const Rect& rect);

    Color pixel(int x, int y) const;
    void setPixel(int x, int y, Color color);

    // Text in the canvas font, transparent background.
    void textOut(int x, int y, std::string_view utf8);
    Size textExtent(std::string_view utf8) const;
    void textRect(const Rect& rect, std::string_view utf8, TextAlign align, bool wordWrap);

    // Told about every rectangle the canvas changed (target coordinates, clipped); forms use it to
    // know what to bring to the screen.
    void setChangeListener(std::function<void(const Rect&)> listener) { listener_ = std::move(listener); }

    // Reports a changed rectangle to the listener (for drawing code outside this class).
    void changed(const Rect& r);

private:
    Bitmap* target_;
    CopyMode copyMode_ = CopyMode::SrcCopy;
    Color brush_ = kWhite;
    Font font_;
    Rect clip_{};
    bool clipSet_ = false;
    std::function<void(const Rect&)> listener_;
};

} // namespace platform
