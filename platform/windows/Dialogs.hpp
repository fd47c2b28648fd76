// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace platform {

class Form;

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
// Answers, numbered like the system the program was designed for.
enum class MessageResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// A modal message box over owner (or the application when owner is null). On the real backend it is
// the system's own; headless it is logged and answered from the script (Ok by default).
MessageResult messageBox(Form* owner, std::string_view text, std::string_view title, MessageIcon icon,
                         MessageButtons buttons = MessageButtons::Ok);

// Text as a system box shows it whole: lines broken at spaces to at most width characters (a longer word
// is split), at most maxLines lines, the rest cut with "…". Characters are UTF-8 code points.
std::string fitMessageText(std::string_view text, std::size_t width = 72, std::size_t maxLines = 20);

} // namespace platform
