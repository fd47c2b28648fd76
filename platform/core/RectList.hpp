// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"

#include <vector>

namespace platform {

// A small set of rectangles needing work (a repaint, a screen update). Overlapping rectangles merge;
// disjoint ones stay apart so that work is done only where something changed.
class RectList {
public:
    void add(const Rect& r);
    void clear() { rects_.clear(); }
    bool empty() const { return rects_.empty(); }
    const std::vector<Rect>& rects() const { return rects_; }
    Rect bounds() const;
    std::vector<Rect> take();

private:
    static constexpr std::size_t kMax = 32;
    std::vector<Rect> rects_;
};

} // namespace platform
