// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/loop/Signals.hpp"

#include "platform/windows/Application.hpp"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace platform::signals {

namespace {

// Never destroyed: the signal thread may still use them while static objects are torn down at exit.
struct State {
    std::mutex loopLock;
    std::thread::id loopThread;
    std::mutex stepsMutex;
    struct Step {
        std::function<void()> run;
        bool onRequest;
    };
    std::map<int, Step> steps;
    int nextStep = 1;
    std::function<void()> onRequest;
};
State* g_state = nullptr;
int g_pipe[2] = {-1, -1};
std::atomic<int> g_requested{0};
thread_local int t_blockingDepth = 0;

// How long the loop gets to end the program itself before the emergency steps run instead.
constexpr auto kGrace = std::chrono::milliseconds(400);

extern "C" void onSignal(int sig) {
    const int saved = errno;
    const unsigned char c = static_cast<unsigned char>(sig);
    (void)!::write(g_pipe[1], &c, 1);
    errno = saved;
}

// A native message box may run in a fork of ours (SDL does so on X11); left behind it would keep our
// descriptors, the single-instance lock among them, and its window on screen.
void endOurForks() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string parent = std::to_string(::getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream status(entry.path() / "status");
        std::string line;
        bool child = false;
        while (std::getline(status, line))
            if (line.rfind("PPid:", 0) == 0) {
                child = line.substr(line.find_first_not_of(" \t", 5)) == parent;
                break;
            }
        if (!child || std::filesystem::read_symlink(entry.path() / "exe", ec) != self) continue;
        ::kill(std::stoi(name), SIGKILL);
    }
}

void watch() {
    unsigned char c = 0;
    for (;;) {
        const ssize_t n = ::read(g_pipe[0], &c, 1);
        if (n == 1) break;
        if (n < 0 && errno == EINTR) continue;
        return;
    }
    g_requested.store(c);
    if (hasApp())
        app().post([] {
            if (g_state->onRequest) g_state->onRequest();
            {
                std::lock_guard lock(g_state->stepsMutex);
                for (auto& [id, step] : g_state->steps)
                    if (step.onRequest) step.run();
            }
            if (hasApp()) app().terminate();
        });
    std::this_thread::sleep_for(kGrace);
    // Still running: the loop's thread is blocked somewhere or slow. Once it lets go of the lock it is
    // parked in a blocking call, not in the middle of writing a file.
    g_state->loopLock.lock();
    {
        std::lock_guard lock(g_state->stepsMutex);
        for (auto& [id, step] : g_state->steps) {
            try {
                step.run();
            } catch (...) {
            }
        }
    }
    endOurForks();
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(128 + c);
}

} // namespace

void install(std::function<void()> onRequest) {
    if (g_state) return;
    if (::pipe2(g_pipe, O_CLOEXEC) != 0) return;
    g_state = new State;
    g_state->onRequest = std::move(onRequest);
    g_state->loopThread = std::this_thread::get_id();
    g_state->loopLock.lock();
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
    std::thread(watch).detach();
}

bool installed() {
    return g_state != nullptr;
}

int requested() {
    return g_requested.load();
}

int addEmergencyStep(std::function<void()> step, bool onRequestToo) {
    if (!g_state) return 0;
    std::lock_guard lock(g_state->stepsMutex);
    const int id = g_state->nextStep++;
    g_state->steps.emplace(id, State::Step{std::move(step), onRequestToo});
    return id;
}

void removeEmergencyStep(int id) {
    if (!g_state || id == 0) return;
    std::lock_guard lock(g_state->stepsMutex);
    g_state->steps.erase(id);
}

Blocking::Blocking() {
    if (!g_state || std::this_thread::get_id() != g_state->loopThread) return;
    counted_ = true;
    if (t_blockingDepth++ == 0) {
        g_state->loopLock.unlock();
        released_ = true;
    }
}

Blocking::~Blocking() {
    if (!counted_) return;
    --t_blockingDepth;
    if (released_) g_state->loopLock.lock();
}

void waitForEnd() {
    if (!g_state) return;
    Blocking b;
    for (;;)
        ::pause();
}

} // namespace platform::signals
