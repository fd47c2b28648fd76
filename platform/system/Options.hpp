// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Error.hpp"
#include "platform/core/Types.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The program's command line: backend and automation options, everything else passed through.
struct Options {
    bool headless = false;
    std::optional<Size> window;  // --window WxH: a window of that size instead of full screen
    std::string script;          // --script FILE (headless)
    bool scale = true;           // --skala 1 turns it off: the layout at its own size, centred
    bool scriptInLayout = false; // --script-coords layout: pointer commands in layout, not screen, pixels
    std::int64_t maxVirtualMs = 3'600'000;
    std::vector<std::string> args;    // positional arguments, in order
    std::optional<std::string> child; // --dziecko NAME: with raport, the one child's report
    bool help = false;                // --help: print optionsHelp() and end
    bool version = false;             // --version: print the version and end
};

class OptionsError : public Error {
public:
    using Error::Error;
};

// Raises OptionsError with a readable message for anything malformed.
Options parseOptions(int argc, const char* const* argv);
Options parseOptions(const std::vector<std::string>& arguments);
const char* optionsUsage();
// The usage line followed by one line per option and command.
const char* optionsHelp();

} // namespace platform
