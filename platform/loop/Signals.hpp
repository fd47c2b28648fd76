// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

namespace platform::signals {

// SIGTERM, SIGINT and SIGHUP end the program in order, whatever it is doing.
//
// A handler only writes the signal's number into a pipe; a thread of ours reads it. That thread first asks
// the loop to end the program (onRequest, run on the loop's thread through Application::post). The loop's
// thread holds one lock all the time it works and lets go of it only while it blocks: waiting for input,
// a native message box (which runs a loop of its own), a synchronous sound. If the program has not ended
// shortly after the request, the thread takes that lock, so the loop's thread is parked in one of those
// blocking calls and never inside a file write, runs the emergency steps and leaves with _exit.

// Installs the handlers and the thread; the calling thread becomes the loop's thread and holds the lock.
// onRequest runs on the loop's thread; it should end the game in progress and terminate the loop.
void install(std::function<void()> onRequest);
bool installed();
// The signal that asked the program to end, or 0.
int requested();

// Steps for an ending the loop cannot carry out itself, run in order of registration on the signal
// thread with the loop's thread parked; with onRequestToo also on the loop's thread, after onRequest, when
// the request comes (a step that may run twice must let the second run do nothing). Unregister with the
// returned id.
int addEmergencyStep(std::function<void()> step, bool onRequestToo = false);
void removeEmergencyStep(int id);

// The loop's thread lets go of the lock for the life of this object, around a call that blocks.
class Blocking {
public:
    Blocking();
    ~Blocking();
    Blocking(const Blocking&) = delete;
    Blocking& operator=(const Blocking&) = delete;

private:
    bool counted_ = false;
    bool released_ = false;
};

// Blocks the calling (loop) thread until a signal ends the program; returns at once without install().
void waitForEnd();

} // namespace platform::signals
