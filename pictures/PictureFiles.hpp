// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"

#include <cstdint>
#include <string>
#include <vector>

// Loading of the game's picture files. Paths are game paths ("Data\Intf\Spec\mT_m0_s.xji").
// Every loader raises platform::FileError ("Brak pliku <path>") when the file is missing or unreadable and
// platform::ImageError ("Uszkodzony plik obrazka <path>") when it is broken; the texts are for the user.

// A JPEG file (".xji") into a 24-bit bitmap.
void loadJpeg(platform::Bitmap& bitmap, const std::string& path);
// A picture drawn at w × h: one larger on either side is decoded no larger than needed, then scaled exactly
// to w × h; one that fits is taken as it is. A data set's photos then cost what the shipped pictures cost.
void loadJpeg(platform::Bitmap& bitmap, const std::string& path, int w, int h);

// A window's w × h background with the JPEG picture at its top left. Windows read their picture once at
// start-up to stop there when it is missing; one that went missing since leaves the background black.
platform::Bitmap windowBackground(const std::string& path, int w, int h);
// A BMP file (".xbi") keeping the file's pixel format.
void loadBmp(platform::Bitmap& bitmap, const std::string& path);
// A BMP file read through memory after its image-size field has been recomputed (24-bit files).
void loadCorrectedBmp(platform::Bitmap& bitmap, const std::string& path);

// Recomputes the image-size field of a 24-bit BMP held in memory (what loadCorrectedBmp does before
// decoding); other files are left as they are.
void fixBmpSize(std::vector<std::uint8_t>& buffer);

// The mask-and-picture drawing rule: mask with OR, picture with AND at (x, y), copy mode back to plain.
void drawWithMask(platform::Canvas& canvas, int x, int y, const platform::Bitmap& mask,
                  const platform::Bitmap& picture);
