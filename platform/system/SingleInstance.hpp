// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

class Timer;

// Marks that a copy of the program runs, by name, for the current user: a lock file (held with flock, so a
// crashed copy never blocks the next start) plus a local socket on which the first copy listens for a later
// copy's request to come to the front. The files live in $XDG_RUNTIME_DIR, else in a private directory
// under /tmp. Everything is released on destruction.
class SingleInstance {
public:
    explicit SingleInstance(std::string_view name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when no other copy holds the name (we hold it from now on). When the lock cannot be made at all,
    // also true: a broken lock must not stop the program.
    bool acquire();
    bool held() const { return lockFd_ >= 0; }

    // A later copy: asks the running one to raise its window; true when it answered within timeoutMs.
    bool askFirstToRaise(int timeoutMs = 3000);

    // The first copy: starts answering raise requests (polled from the event loop, no threads), each one
    // bringing the main window to the front. False when the socket could not be set up.
    bool listen();
    // One poll: accepts and answers every pending request; the number answered.
    int serveRequests();

    // Where the lock file and socket live (for tests and diagnostics).
    const std::string& lockPath() const { return lockPath_; }
    const std::string& socketPath() const { return socketPath_; }

private:
    void release();

    std::string lockPath_;
    std::string socketPath_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    int emergencyStep_ = 0;
    std::unique_ptr<Timer> poll_;
};

} // namespace platform
