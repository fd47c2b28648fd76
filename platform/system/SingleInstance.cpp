// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/system/SingleInstance.hpp"

#include "platform/loop/LoopServices.hpp"
#include "platform/loop/Signals.hpp"
#include "platform/loop/Timer.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// A raise request is rare; four looks a second answer it promptly at no cost worth measuring.
constexpr int kPollMs = 250;
constexpr char kAnswer = 'R';

// A directory only we can enter, so nobody else can plant or steal our lock and socket.
bool privateDir(const std::string& dir) {
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

std::string baseDir() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && privateDir(runtime)) return runtime;
    std::string dir = "/tmp/wirowanki-" + std::to_string(::getuid());
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return privateDir(dir) ? dir : std::string();
}

// "Wirowanki Cz.I Demo MUTEX" → "Wirowanki_Cz.I_Demo_MUTEX": a plain file name.
std::string fileStem(std::string_view name) {
    std::string s;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-';
        s += plain ? c : '_';
    }
    if (s.empty() || s[0] == '.') s.insert(s.begin(), '_');
    return s;
}

bool socketAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

SingleInstance::SingleInstance(std::string_view name) {
    const std::string dir = baseDir();
    if (dir.empty()) return;
    const std::string stem = dir + "/" + fileStem(name);
    lockPath_ = stem + ".lock";
    socketPath_ = stem + ".sock";
}

SingleInstance::~SingleInstance() {
    signals::removeEmergencyStep(emergencyStep_);
    poll_.reset();
    release();
}

bool SingleInstance::acquire() {
    if (lockFd_ >= 0) return true;
    if (lockPath_.empty()) return true;
    // Close-on-exec: a browser started from here must not inherit, and so keep, our lock.
    const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return true;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return !taken;
    }
    lockFd_ = fd;
    // A signal that ends the program with the loop blocked still lets go of the name first.
    emergencyStep_ = signals::addEmergencyStep([this] { release(); });
    return true;
}

void SingleInstance::release() {
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(socketPath_.c_str());
        listenFd_ = -1;
    }
    // Closing the descriptor releases the lock; the file itself stays, removing it would race a new start.
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
}

bool SingleInstance::askFirstToRaise(int timeoutMs) {
    sockaddr_un addr;
    if (!socketAddress(socketPath_, addr)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool answered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
        // The first copy answers from its event loop, so a busy or hung one simply does not answer in time.
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            const int left = int(std::max<std::int64_t>(0, rest.count()));
            const int r = ::poll(&p, 1, left);
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            char c = 0;
            const ssize_t n = ::recv(fd, &c, 1, 0);
            if (n < 0 && errno == EINTR) continue;
            answered = n == 1 && c == kAnswer;
            break;
        }
    }
    ::close(fd);
    return answered;
}

bool SingleInstance::listen() {
    if (listenFd_ >= 0) return true;
    if (lockFd_ < 0) return false;
    sockaddr_un addr;
    if (!socketAddress(socketPath_, addr)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    // Holding the lock means any socket file left there belongs to a copy that has died.
    ::unlink(socketPath_.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    listenFd_ = fd;
    poll_ = std::make_unique<Timer>(kPollMs, true);
    poll_->onTimer = [this] { serveRequests(); };
    return true;
}

int SingleInstance::serveRequests() {
    if (listenFd_ < 0) return 0;
    int served = 0;
    for (;;) {
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break; // EAGAIN: nothing more waiting
        }
        loop::raiseMainWindow();
        const char answer = kAnswer;
        (void)::send(client, &answer, 1, MSG_NOSIGNAL);
        ::close(client);
        ++served;
    }
    return served;
}

} // namespace platform
