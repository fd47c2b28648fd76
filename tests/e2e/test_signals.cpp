#include "../ui/program_fixture.hpp"

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
        const stdfs::path stats = inst.prog() / "prgst1.stt", out = inst.base() / "out";
        // A report that cannot be written is told in a box; the box waits for an answer that never comes.
        if (c.atBox) stdfs::create_directory(inst.prog() / "Raport postępów.html");
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
        if (!c.atBox) EXPECT_EQ(record.substr(20, 4), std::string("\x02\0\0\0", 4)); // the memory game
        // A second copy starts as the only one.
        std::ofstream(inst.base() / "s.txt") << "wait 2500\nquit\n";
        EXPECT_EQ(waitExit(spawnProgram(inst, args, out)), 0);
        EXPECT_NE(readFile(out).find("form-shown Wesołe Wirowanki Cz.I Demo\n"), std::string::npos)
            << readFile(out);
    }
}
