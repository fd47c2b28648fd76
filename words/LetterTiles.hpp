// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

// Code of a Polish letter or sound unit in picture names ("ż" -> "zz"); other text comes back unchanged.
std::string tileCode(const std::string& unit);

// True for the units there are letter tiles for: the Polish letters, q, v, x and the digraphs.
bool hasTile(const std::string& unit);
