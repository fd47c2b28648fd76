// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Program.hpp"
#include "platform/backends/HeadlessBackend.hpp"
#include "platform/backends/SdlBackend.hpp"
#include "platform/backends/Startup.hpp"
#include "platform/loop/Signals.hpp"
#include "platform/system/Options.hpp"
#include "platform/windows/Application.hpp"

#include <cstdio>
#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    platform::Options options;
    try {
        options = platform::parseOptions(argc, argv);
    } catch (const platform::OptionsError& e) {
        std::fprintf(stderr, "wirowanki: %s\n%s\n", e.what(), platform::optionsUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(platform::optionsHelp(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("wirowanki %s\n", WV_VERSION);
        return 0;
    }
    // The progress report needs no window: it only reads the statistics and writes two files.
    if (!options.args.empty() && options.args[0] == "raport")
        return reportCommand(options.args, options.child);
    // Before the backend starts its threads, so that they leave these signals to ours.
    // The program registers the ending of a game in progress once it has one (see finishGameInProgress).
    platform::signals::install({});
    try {
        platform::initialize(options);
    } catch (const platform::NoDisplayError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const platform::ScriptError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wirowanki: %s\n", e.what());
        return 1;
    }
    runProgram(options.args);
    // A script command that could not be carried out fails the run, whatever the program made of it.
    const std::string scriptError = platform::scriptFailure();
    platform::shutdown();
    if (const int sig = platform::signals::requested()) return 128 + sig;
    if (!scriptError.empty()) {
        std::fprintf(stderr, "%s\n", scriptError.c_str());
        return 1;
    }
    return 0;
}
