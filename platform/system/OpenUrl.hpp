// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string_view>

namespace platform {

// Opens a web address or mailto: link with the desktop's opener (never through a shell); headless it is
// logged. False when nothing could be started.
bool openUrl(std::string_view url);
// The same; onFailure runs later on the loop when the opener ends with an error (it found nothing to
// open the address with).
bool openUrl(std::string_view url, std::function<void()> onFailure);

} // namespace platform
