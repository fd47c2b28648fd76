// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "../windows/program_fixture.hpp"
#include "platform/system/SingleInstance.hpp"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace wvtest;

namespace {

stdfs::path builtProgram() {
    return stdfs::read_symlink("/proc/self/exe").parent_path() / "wirowanki";
}

// The program, copied into the installation, started with its standard output into a file.
pid_t spawnProgram(Installation& inst, const std::vector<std::string>& args, const stdfs::path& out) {
    const stdfs::path program = inst.prog() / "wirowanki";
    if (!stdfs::exists(program)) stdfs::copy_file(builtProgram(), program);
    std::vector<std::string> all{program.string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// Polls for a condition, up to a limit meant for a machine under heavy load.
template <class F> bool waitFor(F done) {
    for (int i = 0; i < 6000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// The exit status, or -1 when the program did not end within the limit (it is then killed).
int waitExit(pid_t pid) {
    int status = 0;
    const bool ended = waitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

} // namespace

// A signal ends the program whatever it shows: a game in progress leaves its record, and the name a second
// copy looks for is free again. The held game waits as an idle program does, so its loop ends it; at the
// message box the program's own loop is blocked and the signal thread ends it.
TEST(Signals, TermIntAndHupEndTheProgramKeepTheGameAndFreeTheLock) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    struct Case {
        int sig;
        bool atBox;
    } const cases[] = {{SIGTERM, false}, {SIGINT, false}, {SIGHUP, false},
                       {SIGTERM, true},  {SIGINT, true},  {SIGHUP, true}};
    // The memory tab and the start button of the 1024 x 768 menu.
    const std::string game = "wait 2500\nclick 765 295\nclick 567 679\nwait 1000\nhold\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.sig)) + (c.atBox ? " at a message box" : " in a game"));
        Installation inst(Installation::Data::Linked);
        const stdfs::path stats = inst.prog() / "Dzieci" / "1" / "prgst1.stt", out = inst.base() / "out";
        // A report that cannot be written is told in a box; the box waits for an answer that never comes.
        if (c.atBox) stdfs::create_directories(inst.prog() / "Dzieci" / "1" / "Raport postępów.html");
        std::ofstream(inst.base() / "s.txt") << (c.atBox ? "wait 2500\nanswer wait\nclick 299 691\n" : game);
        const std::vector<std::string> args{"--headless", "--window", "1024x768", "--script",
                                            (inst.base() / "s.txt").string()};
        const pid_t pid = spawnProgram(inst, args, out);
        const char* ready = c.atBox ? "message-box " : "form-shown Memory\n";
        ASSERT_TRUE(waitFor([&] { return readFile(out).find(ready) != std::string::npos; })) << readFile(out);
        ::kill(pid, c.sig);
        EXPECT_EQ(waitExit(pid), 128 + c.sig) << readFile(out);
        const std::string record = readFile(stats);
        ASSERT_EQ(record.size(), c.atBox ? 20u : 20u + 44u);
        if (!c.atBox) {
            EXPECT_EQ(record.substr(20, 4), std::string("\x02\0\0\0", 4)); // the memory game
        }
        // A second copy starts as the only one.
        std::ofstream(inst.base() / "s.txt") << "wait 2500\nquit\n";
        EXPECT_EQ(waitExit(spawnProgram(inst, args, out)), 0);
        EXPECT_NE(readFile(out).find("form-shown Wesołe Wirowanki Cz.I Demo\n"), std::string::npos)
            << readFile(out);
    }
}

// On a real display: a game on the real window, and a native message box, which runs a loop of its own.
TEST(Signals, UnderAnXServerTheRealWindowEndsInAGameAndAtANativeMessageBox) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    for (const char* tool : {"Xvfb", "xdotool"})
        if (std::system((std::string("command -v ") + tool + " > /dev/null").c_str()) != 0)
            GTEST_SKIP() << tool << " not installed";
    auto at = [](int x, int y) {
        return std::to_string((170 + x) * 1080 / 768) + " " + std::to_string(y * 1080 / 768);
    };
    struct Case {
        int sig;
        bool atBox;
    } const cases[] = {{SIGTERM, false}, {SIGHUP, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.sig)) + (c.atBox ? " at a message box" : " in a game"));
        Installation inst(Installation::Data::Linked);
        const stdfs::path base = inst.base();
        const stdfs::path program = inst.prog() / "wirowanki";
        stdfs::copy_file(builtProgram(), program);
        if (c.atBox) stdfs::create_directories(inst.prog() / "Dzieci" / "1" / "Raport postępów.html");
        const std::string steps =
            c.atBox ? "xdotool mousemove " + at(299, 691) + " click 1\n" +
                          // SDL shows the box from a fork of the program.
                          "for i in $(seq 1200); do pgrep -P $P > /dev/null && break; sleep 0.1; done\n"
                    : "xdotool mousemove " + at(765, 295) + " click 1\n" + "xdotool mousemove " +
                          at(567, 679) + " click 1\n" + "presentedAfter form-shown_Memory\n";
        std::ofstream(base / "x.sh")
            << "cd " << base << "\n"
            << "Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp > d 2>/dev/null & "
               "X=$!\n"
            << "for i in $(seq 600); do [ -s d ] && break; sleep 0.1; done\n"
            << "export DISPLAY=:$(cat d)\n"
            << "presentedAfter() {\n"
            << "  for i in $(seq 1200); do\n"
            << "    awk -v w=\"timeline $1 \" 'index($0, w) == 1 { s = 1 } s && "
               "/^timeline presented / { f = 1 }\n"
            << "      END { exit !f }' err && return 0\n"
            << "    sleep 0.1\n"
            << "  done\n"
            << "}\n"
            // X11 keeps a few allocations to the end; a sanitizer build would blame us.
            << "WV_TIMELINE=1 ASAN_OPTIONS=detect_leaks=0 " << program << " 2> err & P=$!\n"
            << "presentedAfter form-hidden_Wirowanki_Cz.I_Demo_Splash\n"
            << steps << "kill -" << c.sig << " $P\n"
            << "for i in $(seq 600); do kill -0 $P 2>/dev/null || break; sleep 0.1; done\n"
            << "kill -9 $P 2>/dev/null; wait $P; echo $? > code\n"
            << "kill $X; wait $X\n";
        (void)std::system(("sh " + (base / "x.sh").string() + " > /dev/null 2>&1").c_str());
        EXPECT_EQ(readFile(base / "code"), std::to_string(128 + c.sig) + "\n") << readFile(base / "err");
        EXPECT_EQ(stdfs::file_size(inst.prog() / "Dzieci" / "1" / "prgst1.stt"), c.atBox ? 20u : 20u + 44u);
        platform::SingleInstance next("Wirowanki Cz.I Demo MUTEX");
        EXPECT_TRUE(next.acquire());
    }
}
