// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/RectList.hpp"

#include <utility>

namespace platform {

static bool touches(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

static long long area(const Rect& r) {
    return (long long)r.width() * r.height();
}

void RectList::add(const Rect& in) {
    if (in.empty()) return;
    Rect r = in;
    // Absorb everything the new rectangle overlaps, repeatedly, since the union may reach further.
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < rects_.size(); ++i) {
            if (touches(rects_[i], r)) {
                r = r.unite(rects_[i]);
                rects_.erase(rects_.begin() + long(i));
                merged = true;
                break;
            }
        }
    }
    rects_.push_back(r);
    while (rects_.size() > kMax) {
        // Too many pieces: merge the pair whose union wastes least.
        std::size_t bi = 0, bj = 1;
        long long best = -1;
        for (std::size_t i = 0; i < rects_.size(); ++i)
            for (std::size_t j = i + 1; j < rects_.size(); ++j) {
                const long long waste = area(rects_[i].unite(rects_[j])) - area(rects_[i]) - area(rects_[j]);
                if (best < 0 || waste < best) best = waste, bi = i, bj = j;
            }
        const Rect u = rects_[bi].unite(rects_[bj]);
        rects_.erase(rects_.begin() + long(bj));
        rects_.erase(rects_.begin() + long(bi));
        add(u);
    }
}

Rect RectList::bounds() const {
    Rect b{};
    for (const Rect& r : rects_)
        b = b.unite(r);
    return b;
}

std::vector<Rect> RectList::take() {
    return std::exchange(rects_, {});
}

} // namespace platform
