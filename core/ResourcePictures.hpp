// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"

#include <string>

// The resource library: named interface pictures stored as Resource/<name>.bmp beside the program.
// The name is used as given (case-sensitive first, then case-insensitive). A missing or broken
// picture raises, so that callers can turn it into their "missing resources" error.
// The largest side of a resource picture taken: twice the largest screen the program uses.
inline constexpr int kMaxResourceSide = 2048;
void openBmp(const std::string& name, platform::Bitmap& bitmap);
