#include "Dialogs.hpp"

#include "LoopServices.hpp"
#include "Timer.hpp"

#include <cerrno>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace platform {

namespace {

// Openers we started and have not reaped yet. They are collected from a timer on the loop, so none is
// left a zombie and no SIGCHLD handler of ours disturbs anyone else's waitpid.
std::vector<pid_t>& pendingOpeners() {
    static std::vector<pid_t> pids;
    return pids;
}

Timer* reaper = nullptr;

void reap() {
    auto& pids = pendingOpeners();
    std::erase_if(pids, [](pid_t pid) {
        int status = 0;
        pid_t r;
        do
            r = ::waitpid(pid, &status, WNOHANG);
        while (r < 0 && errno == EINTR);
        return r != 0; // done, or not ours any more
    });
    if (pids.empty() && reaper) {
        // Destroying a timer inside its own handler is allowed.
        Timer* t = reaper;
        reaper = nullptr;
        delete t;
    }
}

void watch(pid_t pid) {
    pendingOpeners().push_back(pid);
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
    watch(pid);
    return true;
}

} // namespace platform
