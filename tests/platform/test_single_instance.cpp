// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio_test_util.hpp"

#include "platform/system/SingleInstance.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace platform;

namespace {

const char* const kName = "Wirowanki Cz.I Demo MUTEX";

// Every test gets its own runtime directory, so a game running on this machine is never touched.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        hadOld = old != nullptr;
        if (old) oldValue = old;
        ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadOld)
            ::setenv("XDG_RUNTIME_DIR", oldValue.c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    // Runs body in a child process and returns its exit code (-1 when it died otherwise).
    template <class F> static pid_t spawnChild(F body) {
        const pid_t pid = ::fork();
        if (pid == 0) ::_exit(body());
        return pid;
    }
    static int exitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

    // Lets the first copy's loop run in virtual time until the child has finished (real time, at most 10 s).
    static int serveUntilExit(platform::testing::Driver& program, pid_t child) {
        int status = 0;
        for (int i = 0; i < 2000; ++i) {
            program.wait(250);
            const pid_t r = ::waitpid(child, &status, WNOHANG);
            if (r == child) return exitCode(status);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return -1;
    }

    ScratchDir dir;
    bool hadOld = false;
    std::string oldValue;
};

} // namespace

TEST_F(SingleInstanceTest, OnlyTheFirstHolderOfANameGetsIt) {
    auto first = std::make_unique<SingleInstance>(kName);
    EXPECT_EQ(first->lockPath(), dir.path() + "/Wirowanki_Cz.I_Demo_MUTEX.lock");
    ASSERT_TRUE(first->acquire());
    EXPECT_TRUE(first->held());
    EXPECT_TRUE(first->acquire()) << "asking again keeps it";

    SingleInstance second(kName);
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.held());
    SingleInstance otherName("Wirowanki Cz.II");
    EXPECT_TRUE(otherName.acquire());

    first.reset();
    EXPECT_TRUE(second.acquire()) << "released on destruction";
}

TEST_F(SingleInstanceTest, ACopyInAnotherProcessIsRefused) {
    SingleInstance first(kName);
    ASSERT_TRUE(first.acquire());
    const pid_t child = spawnChild([] { return SingleInstance(kName).acquire() ? 1 : 0; });
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(exitCode(status), 0);
}

TEST_F(SingleInstanceTest, ASecondCopyBringsTheFirstToTheFront) {
    auto program = startProgram();
    SingleInstance first(kName);
    ASSERT_TRUE(first.acquire());
    ASSERT_TRUE(first.listen());
    const pid_t child = spawnChild([] {
        SingleInstance second(kName);
        if (second.acquire()) return 2;
        return second.askFirstToRaise(8000) ? 0 : 1;
    });
    EXPECT_EQ(serveUntilExit(*program, child), 0);
    EXPECT_EQ(logLines(*program, "raise-main-window").size(), 1u);
}

TEST_F(SingleInstanceTest, WithoutAnAnsweringFirstCopyTheRequestFails) {
    auto program = startProgram();
    SingleInstance first(kName);
    ASSERT_TRUE(first.acquire());
    SingleInstance second(kName);
    EXPECT_FALSE(second.askFirstToRaise(200)) << "first copy not listening yet";

    // Listening but never getting to its loop (busy or hung): no answer in time.
    ASSERT_TRUE(first.listen());
    EXPECT_FALSE(second.askFirstToRaise(300));
    // That request is still answered once the loop runs; it raises the window and harms nothing.
    EXPECT_TRUE(logLines(*program, "raise-main-window").empty());
    program->wait(250);
    EXPECT_EQ(logLines(*program, "raise-main-window").size(), 1u);
    EXPECT_EQ(first.serveRequests(), 0);
}

TEST_F(SingleInstanceTest, ACrashedCopyDoesNotBlockTheNextStart) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t crashed = spawnChild([&] {
        SingleInstance first(kName);
        const bool ok = first.acquire() && first.listen();
        char c = ok ? 'y' : 'n';
        (void)::write(ready[1], &c, 1);
        for (;;)
            ::pause(); // killed below, never cleaning up
        return 0;
    });
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(c, 'y');
    EXPECT_FALSE(SingleInstance(kName).acquire());
    ::kill(crashed, SIGKILL);
    int status = 0;
    ::waitpid(crashed, &status, 0);

    // Its socket file is still there; the new first copy takes over the name and answers.
    auto program = startProgram();
    SingleInstance next(kName);
    ASSERT_TRUE(std::filesystem::exists(next.socketPath()));
    ASSERT_TRUE(next.acquire());
    ASSERT_TRUE(next.listen());
    const pid_t asker = spawnChild([] { return SingleInstance(kName).askFirstToRaise(8000) ? 0 : 1; });
    EXPECT_EQ(serveUntilExit(*program, asker), 0);
    EXPECT_EQ(logLines(*program, "raise-main-window").size(), 1u);
}

TEST_F(SingleInstanceTest, ProgramsStartedByUsDoNotKeepTheName) {
    auto first = std::make_unique<SingleInstance>(kName);
    ASSERT_TRUE(first->acquire());
    ASSERT_TRUE(first->listen());
    // A program started meanwhile (a browser, say) lives on after we have let go of the name.
    const pid_t other = ::fork();
    if (other == 0) {
        ::execlp("sleep", "sleep", "5", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Until it has become that program, the child still holds our descriptors.
    for (int i = 0; i < 2000; ++i) {
        std::error_code ec;
        if (std::filesystem::read_symlink("/proc/" + std::to_string(other) + "/exe", ec).filename() ==
            "sleep")
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    first.reset();
    EXPECT_TRUE(SingleInstance(kName).acquire());
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
}

TEST_F(SingleInstanceTest, AnUnusablePlaceForTheLockDoesNotStopTheProgram) {
    // A runtime directory that others may enter is not trusted; the private /tmp directory is used instead.
    ::chmod(dir.path().c_str(), 0777);
    SingleInstance a(kName);
    EXPECT_EQ(a.lockPath().rfind("/tmp/wirowanki-", 0), 0u) << a.lockPath();
    ::chmod(dir.path().c_str(), 0700);
}
