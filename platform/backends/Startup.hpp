// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/system/Options.hpp"

namespace platform {

// Starts the program's platform: the SDL backend, or the headless one with the script (if any).
void initialize(const Options& options);

} // namespace platform
