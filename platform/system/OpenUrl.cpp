// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/system/OpenUrl.hpp"

#include "platform/loop/LoopServices.hpp"
#include "platform/loop/Timer.hpp"

#include <cerrno>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace platform {

namespace {

// Openers we started and have not reaped yet, each with what to do when it fails. They are collected
// from a timer on the loop, so none is left a zombie and no SIGCHLD handler of ours disturbs anyone
// else's waitpid.
struct Opener {
    pid_t pid;
    std::function<void()> onFailure;
};

std::vector<Opener>& pendingOpeners() {
    static std::vector<Opener> openers;
    return openers;
}

Timer* reaper = nullptr;

void reap() {
    auto& openers = pendingOpeners();
    std::vector<std::function<void()>> failed;
    std::erase_if(openers, [&](Opener& o) {
        int status = 0;
        pid_t r;
        do
            r = ::waitpid(o.pid, &status, WNOHANG);
        while (r < 0 && errno == EINTR);
        if (r == o.pid && !(WIFEXITED(status) && WEXITSTATUS(status) == 0) && o.onFailure)
            failed.push_back(std::move(o.onFailure));
        return r != 0; // done, or not ours any more
    });
    if (openers.empty() && reaper) {
        // Destroying a timer inside its own handler is allowed.
        Timer* t = reaper;
        reaper = nullptr;
        delete t;
    }
    // Last: a handler may show a message box and run the loop (and this timer) meanwhile.
    for (auto& f : failed)
        f();
}

void watch(pid_t pid, std::function<void()> onFailure) {
    pendingOpeners().push_back({pid, std::move(onFailure)});
    if (!reaper) {
        reaper = new Timer(500, true);
        reaper->onTimer = reap;
    }
}

// A leading '-' would be taken as an option of the opener; control characters have no place in an address.
bool plausible(std::string_view url) {
    if (url.empty() || url.front() == '-') return false;
    for (unsigned char c : url)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

} // namespace

bool openUrl(std::string_view url) {
    return openUrl(url, nullptr);
}

bool openUrl(std::string_view url, std::function<void()> onFailure) {
    reap();
    if (!plausible(url)) return false;
    const std::string address(url);
    if (loop::headless()) {
        loop::logEvent("open-url " + address);
        return true;
    }
    std::string program = "xdg-open";
    std::vector<char*> argv{program.data(), const_cast<char*>(address.c_str()), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    watch(pid, std::move(onFailure));
    return true;
}

} // namespace platform
