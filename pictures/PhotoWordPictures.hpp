// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

// A therapist's photo made into the five pictures a word needs, looking like the shipped ones: the
// 70 × 94 small picture (the photo at 62 × 62 centred on white), the found-pair pictures 200 and 256 (white
// outside the disc 4 px inside their edge) and the labelling pictures 252 and 320 (white outside the
// rounded square whose corner radius is 0.12 of the side), all from one square crop.

// A square of the photo: its centre and side in the photo's pixels.
struct SquareCrop {
    int centerX = 0;
    int centerY = 0;
    int side = 0;
    friend bool operator==(const SquareCrop&, const SquareCrop&) = default;
};

// The side the photo is decoded at for the largest picture to be shrunk, not enlarged.
inline constexpr int kPhotoWorkingSide = 320;

// The largest square in the middle of the photo.
SquareCrop defaultCrop(platform::Size photo);
// The crop moved and shrunk as little as needed to lie inside the photo (side at least 1).
SquareCrop clampCrop(SquareCrop crop, platform::Size photo);

struct WordPictures {
    platform::Bitmap small;       // s<stem>.xji
    platform::Bitmap memorySmall; // <stem>_ms.xji
    platform::Bitmap memoryBig;   // <stem>_mb.xji
    platform::Bitmap labelSmall;  // <stem>_ups.xji
    platform::Bitmap labelBig;    // <stem>_upb.xji
};

// The five pictures from a 24-bit upright photo and a crop (clamped first).
WordPictures makeWordPictures(const platform::Bitmap& photo, SquareCrop crop);
// A photo file (native path) read at the working size and made into the pictures of its default crop.
// Raises platform::image::PhotoFailure.
WordPictures wordPicturesFromPhoto(const std::string& photoPath);

// The five file names, in the order of WordPictures.
std::array<std::string, 5> wordPictureNames(std::string_view stem);

// Writing failed or the stem is not a word's stem; what() is Polish, for the user.
class WordPicturesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the five JPEG files as <folder>\<stem>\<name>, folder being a game path resolved as every user
// file is (on the user directory, or the chosen child's folder):
// either all five appear there or none does, whenever the process stops. They are written into a hidden
// folder beside it and that folder is renamed into place; an earlier set of the stem is replaced.
// afterFile(n) is called after the n-th file is written (for progress); whatever it throws stops the
// writing and leaves nothing behind. stem: lower-case a-z and digits, 1-40 of them.
void writeWordPictures(const WordPictures& pictures, std::string_view folder, std::string_view stem,
                       const std::function<void(int)>& afterFile = {});

// The photo file's default crop written as the stem's five pictures: wordPicturesFromPhoto, then
// writeWordPictures. A refused photo (PhotoFailure) writes nothing.
void writePhotoWordPictures(const std::string& photoPath, std::string_view folder, std::string_view stem);
