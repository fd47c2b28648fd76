// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

class Bitmap;

// How the virtual screen the program draws on maps onto the pixels of the window (or of the headless
// screenshot). Scaled, the virtual screen is the layout widened to the output's shape, and it is shown
// enlarged to fill the output's height or width; everything above the platform sees only the virtual one.
struct ScreenScale {
    Size output; // pixels of the window or screen
    Size screen; // the virtual screen
    Rect target; // where the virtual screen lands in output

    bool scaled() const { return screen != output; }
    // An output pixel's place on the virtual screen (outside it in the margins).
    Point toScreen(Point outputPoint) const;

    // The virtual screen is the output itself.
    static ScreenScale none(Size output);
    // The layout the output's size calls for (800 x 600, or 1024 x 768 from 1024 x 768 up), widened to
    // the output's aspect and scaled up to fill it; none() when the output is no larger than the layout.
    static ScreenScale fit(Size output);
};

// Resamples a 32-bit picture bilinearly (pixel centres aligned) onto target of a 32-bit dst; pixels of
// dst outside target are left alone.
void scaleBilinear(const Bitmap& src, Bitmap& dst, const Rect& target);

// The same resampling prepared once for a source size and a target, then applied to any part of the
// target, so a window can rescale only what changed without allocating.
class BilinearMap {
public:
    void prepare(Size source, const Rect& target);
    const Rect& target() const { return target_; }
    // The target pixels that source rectangle r influences.
    Rect outputOf(const Rect& r) const;
    // Writes the target pixels inside clip into dst (32-bit pixels, rows pitch bytes apart, size dstSize).
    void apply(const Bitmap& src, std::uint8_t* dst, std::ptrdiff_t pitch, Size dstSize,
               const Rect& clip) const;

private:
    Size source_{};
    Rect target_{};
    std::vector<std::int32_t> xi_, xw_, yi_, yw_; // per target column and row: first pixel, weight of next
};

} // namespace platform
