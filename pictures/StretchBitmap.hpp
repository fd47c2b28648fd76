// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"

// Rescales a 24-bit source to the target's current size (target also 24-bit): bilinear while no axis
// shrinks below about one half, an exact area average when both shrink strongly, otherwise a
// nearest-pixel block copy. Other formats, a missing bitmap or an empty target leave everything as it is.
void StretchBitmap(platform::Bitmap* target, const platform::Bitmap* source);

// Gives every fully transparent pixel the mean colour of its non-transparent neighbours, so scaling does
// not pull a dark fringe into soft edges. colour 24-bit, alpha 8-bit, equal sizes, both sides above 1.
void bleedColorIntoTransparent(platform::Bitmap* color, const platform::Bitmap* alpha);
