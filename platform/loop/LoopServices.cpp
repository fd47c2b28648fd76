// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/loop/LoopServices.hpp"

#include "platform/backends/Backend.hpp"
#include "platform/windows/Application.hpp"

#include <chrono>
#include <string>
#include <thread>

namespace platform::loop {

bool headless() {
    return hasApp() && app().headless();
}

void presentScreen() {
    if (hasApp()) app().presentScreen();
}

void blockFor(int ms) {
    if (hasApp())
        app().sleep(ms);
    else if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void logEvent(std::string_view line) {
    if (hasApp()) app().backend().log(line);
}

void post(void (*fn)(void*), void* data) {
    if (hasApp()) app().post([fn, data] { fn(data); });
}

void raiseMainWindow() {
    if (hasApp()) app().raiseMainWindow();
}

} // namespace platform::loop
