// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/backends/Startup.hpp"

#include "platform/backends/HeadlessBackend.hpp"
#include "platform/backends/SdlBackend.hpp"
#include "platform/windows/Application.hpp"

#include <cstdio>

namespace platform {

void initialize(const Options& options) {
    if (options.headless) {
        std::unique_ptr<InputSource> source;
        if (!options.script.empty()) source = std::make_unique<ScriptSource>(options.script);
        const Size size = options.window.value_or(Size{1024, 768});
        auto sink = [](std::string_view line) {
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
            std::fflush(stdout);
        };
        const ScreenScale scale = options.scale ? ScreenScale::fit(size) : ScreenScale::none(size);
        initialize(options, std::make_unique<HeadlessBackend>(scale, options.scriptInLayout,
                                                              std::move(source), options.maxVirtualMs, sink));
    } else {
        initialize(options, std::make_unique<SdlBackend>(options.window, options.scale));
    }
}

} // namespace platform
