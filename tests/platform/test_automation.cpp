// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Scripts, options and the headless run: what a bug report or a demo script relies on.
#include "platform/backends/Automation.hpp"
#include "platform/backends/HeadlessBackend.hpp"
#include "platform/core/RectList.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/system/Options.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Label.hpp"

#include "tests/support/TempDir.hpp"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

using namespace platform;
namespace fs = std::filesystem;

namespace {

// One scratch directory for this run of the tests, removed when they end.
std::string tempPath(const std::string& name) {
    static const wvtest::TempDir dir("auto");
    return dir.file(name);
}

// The program run from the build directory, with a lock of its own: run beside other tests that start the
// program, it would otherwise find "another copy" and end at once.
std::string ownRun(const fs::path& program, const std::string& name) {
    const std::string dir = tempPath(name);
    fs::create_directories(dir);
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace);
    return "XDG_RUNTIME_DIR=" + dir + " " + program.string();
}

std::string writeScript(const std::string& name, const std::string& body) {
    const std::string path = tempPath(name);
    std::ofstream(path) << body;
    return path;
}

// Runs build() and the loop on a headless backend fed by the script; returns the output lines.
std::vector<std::string> runScript(const std::string& script, const std::function<void()>& build,
                                   std::int64_t limit = 3'600'000, Size screen = {320, 240}) {
    std::vector<std::string> out;
    Options o;
    o.headless = true;
    initialize(o, std::make_unique<HeadlessBackend>(screen, std::make_unique<ScriptSource>(script), limit,
                                                    [&](std::string_view l) { out.emplace_back(l); }));
    build();
    shutdown();
    return out;
}

class Board : public Form {
public:
    Board() : Form("Tablica", Rect::fromSize(0, 0, 320, 240)) {}

protected:
    void paintEvent() override {
        canvas().setBrushColor(rgb(0, 0, 255));
        canvas().fillRect(clientRect());
        canvas().setBrushColor(kRed);
        canvas().fillRect({10, 20, 30, 40});
    }
    void keyPressEvent(int c) override {
        if (c == 27) close();
    }
};

} // namespace

TEST(ScriptCommands, EveryVerbParsesWithItsArguments) {
    using V = Command::Verb;
    EXPECT_FALSE(parseCommand("   "));
    EXPECT_FALSE(parseCommand("# wait 100"));
    auto c = parseCommand("  drag 1 2 3 4 ");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->verb, V::Drag);
    EXPECT_EQ((std::vector<int>{c->a, c->b, c->c, c->d}), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(parseCommand("wait 2000")->a, 2000);
    EXPECT_EQ(parseCommand("dblclick 5 6")->verb, V::DblClick);
    EXPECT_EQ(parseCommand("wheel -2")->a, -2);
    EXPECT_EQ(parseCommand("key 27")->verb, V::Key);
    EXPECT_EQ(parseCommand("key Left")->key, Key::Left);
    EXPECT_EQ(parseCommand("text Żółta łódź")->text, "Żółta łódź");
    EXPECT_EQ(parseCommand("answer 7")->a, 7);
    EXPECT_EQ(parseCommand("screenshot /tmp/a b.png")->text, "/tmp/a b.png");
    EXPECT_EQ(parseCommand("DUMP")->verb, V::Dump);
    EXPECT_EQ(parseCommand("quit")->verb, V::Quit);
}

TEST(ScriptCommands, MalformedLinesAreRejectedWithTheLine) {
    for (const char* bad :
         {"wait", "wait -5", "wait 1x", "click 1", "click a b", "drag 1 2 3", "key 0", "key nosuchkey",
          "screenshot", "dump now", "fly 1 2", "drag 0 0 2147483647 5", "move -1000001 0", "wait 86400001",
          "wheel 99999", "key 55296", "answer -1", "click 99999999999 1"}) {
        try {
            parseCommand(bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const ScriptError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string(bad).substr(0, 4)), std::string::npos)
                << e.what();
        }
    }
}

TEST(CommandLine, OptionsAndPositionalArguments) {
    const Options o = parseOptions({"--headless", "--window", "800x600", "--script=run.txt",
                                    "--max-virtual-ms", "5000", "raport", "x.html"});
    EXPECT_TRUE(o.headless);
    ASSERT_TRUE(o.window);
    EXPECT_EQ(*o.window, (Size{800, 600}));
    EXPECT_EQ(o.script, "run.txt");
    EXPECT_EQ(o.maxVirtualMs, 5000);
    EXPECT_EQ(o.args, (std::vector<std::string>{"raport", "x.html"}));
    EXPECT_EQ(parseOptions(std::vector<std::string>{}).maxVirtualMs, 3'600'000);
    EXPECT_EQ(parseOptions({"raport", "--dziecko", "Zoja Ą", "x.html"}).child, "Zoja Ą");
    EXPECT_EQ(parseOptions({"--dziecko=Ola", "raport"}).args, (std::vector<std::string>{"raport"}));

    struct Accepted {
        std::vector<std::string> args;
        std::vector<std::string> positional;
        bool help, version;
    } const accepted[] = {
        {{"z"}, {"z"}, false, false},
        {{"z", "--window", "800x600", "zz"}, {"z", "zz"}, false, false},
        {{"raport"}, {"raport"}, false, false},
        {{"-h"}, {}, true, false},
        {{"--help"}, {}, true, false},
        {{"-V"}, {}, false, true},
        {{"--version"}, {}, false, true},
    };
    for (const Accepted& c : accepted) {
        SCOPED_TRACE(c.args.front());
        const Options a = parseOptions(c.args);
        EXPECT_EQ(a.args, c.positional);
        EXPECT_EQ(a.help, c.help);
        EXPECT_EQ(a.version, c.version);
    }

    // Whatever the usage does not name is refused before any window could open.
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--window", "800"},
                                               {"--window", "0x600"},
                                               {"--window"},
                                               {"--frobnicate"},
                                               {"--script", "x"},
                                               {"--max-virtual-ms", "-1"},
                                               {"foo"},
                                               {"Z"},
                                               {"zz"},
                                               {"-x"},
                                               {"-"},
                                               {"-hV"},
                                               {"raport", "a.html", "b"},
                                               {"raport", ""},
                                               {"raport", "--dziecko"},
                                               {"--dziecko", "Ola"},
                                               {"z", "--dziecko=Ola"},
                                               {"--window", "800x600", "gra"}})
        EXPECT_THROW(parseOptions(bad), OptionsError) << bad.back();
}

TEST(DirtyRectangles, OverlapsMergeDisjointPiecesStayApart) {
    RectList l;
    l.add({0, 0, 10, 10});
    l.add({20, 0, 30, 10});
    EXPECT_EQ(l.rects().size(), 2u);
    l.add({5, 5, 25, 8}); // bridges both
    ASSERT_EQ(l.rects().size(), 1u);
    EXPECT_EQ(l.rects()[0], (Rect{0, 0, 30, 10}));
    l.add({});
    EXPECT_EQ(l.rects().size(), 1u);
    RectList many;
    for (int i = 0; i < 100; ++i)
        many.add(Rect::fromSize(i * 20, 0, 10, 10));
    EXPECT_LE(many.rects().size(), 32u);
    EXPECT_EQ(many.bounds(), (Rect{0, 0, 1990, 10}));
}

TEST(SystemTimes, TicksCountHundredNanosecondsFrom1601) {
    EXPECT_EQ(toTicks(SystemTime{1601, 1, 0, 1, 0, 0, 0, 0}), 0);
    EXPECT_EQ(toTicks(SystemTime{1970, 1, 0, 1, 0, 0, 0, 0}), 116444736000000000LL);
    const SystemTime t{2024, 2, 0, 29, 12, 34, 56, 789};
    const SystemTime back = fromTicks(toTicks(t));
    EXPECT_EQ(back.year, 2024);
    EXPECT_EQ(back.month, 2);
    EXPECT_EQ(back.day, 29);
    EXPECT_EQ(back.dayOfWeek, 4); // a Thursday
    EXPECT_EQ(back.hour, 12);
    EXPECT_EQ(back.minute, 34);
    EXPECT_EQ(back.second, 56);
    EXPECT_EQ(back.milliseconds, 789);
    EXPECT_EQ(fromTicks(0).dayOfWeek, 1); // 1 January 1601 was a Monday
}

TEST(HeadlessRun, ScriptDrivesTheProgramAndTheOutputNamesWhatHappened) {
    const std::string shot = tempPath("board.png");
    std::remove(shot.c_str());
    const std::string script = writeScript("run.txt", "# a short session\n"
                                                      "click 15 25\n"
                                                      "wait 1000\n"
                                                      "answer 2\n"
                                                      "dump\n"
                                                      "screenshot " +
                                                          shot +
                                                          "\n"
                                                          "key 27\n"
                                                          "wait 5000\n");
    int clicks = 0;
    std::int64_t clickedAt = -1;
    const auto out = runScript(script, [&] {
        Board board;
        ImageControl spot(board);
        spot.name = "spot";
        spot.setBounds(10, 20, 20, 20);
        spot.onClick = [&] {
            ++clicks;
            clickedAt = monotonicMs();
        };
        Label title(board, "Żółw");
        title.name = "title";
        title.setPosition(100, 100);
        board.show();
        app().run();
    });
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clickedAt, 0);
    const std::vector<std::string> expected{
        "form-shown Tablica",
        "timer-idle",
        "form \"Tablica\" bounds=0,0,320x240 active",
        "  ImageControl name=spot bounds=10,20,20x20",
    };
    ASSERT_GE(out.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(out.begin(), out.begin() + 4), expected);
    EXPECT_EQ(out[4].rfind("  Label name=title bounds=100,100,", 0), 0u) << out[4];
    EXPECT_NE(out[4].find("text=\"Żółw\""), std::string::npos);
    EXPECT_EQ(out[5], "screenshot " + shot);
    EXPECT_EQ(out.back(), "form-hidden Tablica");

    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&img, shot.c_str()));
    img.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> px(PNG_IMAGE_SIZE(img));
    ASSERT_TRUE(png_image_finish_read(&img, nullptr, px.data(), 0, nullptr));
    EXPECT_EQ(img.width, 320u);
    EXPECT_EQ(img.height, 240u);
    auto at = [&](int x, int y) {
        const std::uint8_t* p = px.data() + (std::size_t(y) * 320 + std::size_t(x)) * 3;
        return rgb(p[0], p[1], p[2]);
    };
    EXPECT_EQ(at(15, 25), kRed);
    EXPECT_EQ(at(5, 5), rgb(0, 0, 255));
}

TEST(HeadlessRun, TheVirtualTimeLimitEndsARunThatWaitsTooLong) {
    const std::string script = writeScript("long.txt", "wait 100000\nkey 27\n");
    int ticks = 0;
    std::int64_t end = 0;
    const auto out = runScript(
        script,
        [&] {
            Board board;
            Timer t(1000, true);
            t.onTimer = [&] { ++ticks; };
            board.show();
            app().run();
            end = monotonicMs();
        },
        5000);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(end, 5000);
    EXPECT_NE(std::find(out.begin(), out.end(), "virtual-time-limit"), out.end());
}

TEST(HeadlessRun, TheEndOfTheScriptClosesTheProgram) {
    const std::string script = writeScript("short.txt", "wait 10\n");
    bool closed = false;
    struct Main : Board {
        bool* flag;
        explicit Main(bool* f) : flag(f) {}
        void closeEvent() override { *flag = true; }
    };
    const auto out = runScript(script, [&] {
        Main m(&closed);
        m.show();
        app().run();
    });
    EXPECT_TRUE(closed);
}

TEST(HeadlessRun, AMalformedScriptLineStopsTheRunWithItsLineNumber) {
    const std::string script = writeScript("bad.txt", "wait 10\nclick 1\n");
    try {
        runScript(script, [&] {
            Board board;
            board.show();
            app().run();
        });
        ADD_FAILURE() << "no error";
    } catch (const ScriptError& e) {
        EXPECT_NE(std::string(e.what()).find("bad.txt:2"), std::string::npos) << e.what();
    }
    shutdown();
}

TEST(HeadlessRun, ADragBetweenTheFarthestCoordinatesMovesWithoutOverflow) {
    // A test driver's command is not range-checked as a script line is.
    std::vector<Point> moves;
    Options o;
    o.headless = true;
    initialize(o, std::make_unique<HeadlessBackend>(Size{320, 240}, nullptr, 3'600'000, nullptr));
    {
        Board board;
        ImageControl spot(board);
        spot.setBounds(0, 0, 320, 240);
        spot.onMouseMove = [&](MouseButton, ShiftState, int x, int y) { moves.push_back({x, y}); };
        board.show();
        Command drag;
        drag.verb = Command::Verb::Drag;
        // Four billion pixels apart: only the middle step of eight lands on the window, at its corner.
        drag.a = drag.b = -2'000'000'000, drag.c = drag.d = 2'000'000'000;
        static_cast<HeadlessBackend&>(app().backend()).execute(drag, app());
        app().processMessages();
        EXPECT_EQ(moves, (std::vector<Point>{{0, 0}}));
        EXPECT_EQ(app().cursorPos(), (Point{2'000'000'000, 2'000'000'000}));
    }
    shutdown();
}

TEST(Program, ScriptErrorsEndTheRunWithFileLineAndAnErrorExit) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path program = self.parent_path() / "wirowanki";
    if (!fs::exists(program)) GTEST_SKIP() << "program not built beside the tests";
    // A directory nobody can write to, whoever runs the tests (root ignores permission bits).
    const std::string readonly = "/proc";
    const std::string junk(10 << 20, 'x');
    struct Case {
        const char* name;
        std::string body;
        std::string where; // what standard error must start with, after the script's path
    };
    const std::vector<Case> cases = {
        {"negative-wait", "wait 10\nwait -5\n", ":2: number out of range"},
        {"key-zero", "key 0\n", ":1: number out of range"},
        {"unknown-verb", "# ok\n\nfly 1 2\n", ":3: unknown command"},
        {"junk-line", "wait 1\n" + junk + "\n", ":2: unknown command"},
        {"huge-drag", "drag 0 0 2147483647 -2147483648\n", ":1: number out of range"},
        {"missing-dir", "wait 10\nscreenshot " + tempPath("no/such/dir/a.png") + "\nkey 27\n", ":2: "},
        {"read-only-dir", "screenshot " + readonly + "/a.png\n", ":1: "},
        {"endless", "", ": the script is too long"},
    };
    for (const Case& c : cases) {
        const std::string script =
            c.body.empty() ? std::string("/dev/zero") : writeScript(std::string(c.name) + ".txt", c.body);
        const std::string err = tempPath(std::string(c.name) + ".err");
        const std::string cmd = ownRun(program, "run-errors") + " --headless --window 800x600 --script " +
                                script + " > /dev/null 2> " + err;
        const int status = std::system(cmd.c_str());
        EXPECT_EQ(WEXITSTATUS(status), 1) << c.name;
        std::ifstream in(err);
        std::string first;
        std::getline(in, first);
        EXPECT_EQ(first.rfind(script + c.where, 0), 0u) << c.name << ": " << first.substr(0, 200);
        EXPECT_LT(first.size(), 400u) << c.name;
    }
    // Within range, a drag far off the window is carried out.
    const std::string ok = writeScript("far-drag.txt", "drag 62 527 1000000 -1000000\nkey 27\n");
    EXPECT_EQ(
        std::system(
            (ownRun(program, "run-errors") + " --headless --script " + ok + " > /dev/null 2>&1").c_str()),
        0);
}

TEST(Program, HeadlessRunOfTheProgramItself) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path program = self.parent_path() / "wirowanki";
    if (!fs::exists(program)) GTEST_SKIP() << "program not built beside the tests";
    const std::string shot = tempPath("main.png");
    const std::string script = writeScript("main.txt", "dump\nscreenshot " + shot + "\nkey 27\n");
    const std::string out = tempPath("main.out");
    const std::string cmd =
        ownRun(program, "run-self") + " --headless --window 800x600 --script " + script + " > " + out;
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream in(out);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "form-shown Wirowanki Cz.I Demo Splash");
    EXPECT_EQ(lines[1], "form-shown Wesołe Wirowanki Cz.I Demo");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "form \"Wesołe Wirowanki Cz.I Demo\" name=FormMain bounds=0,0,800x600 active"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "screenshot " + shot), lines.end());
    EXPECT_EQ(lines.back(), "form-hidden Wirowanki Cz.I Demo Splash");
    EXPECT_TRUE(fs::exists(shot));
    const std::string bad = program.string() + " --window 12 > /dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(bad.c_str())), 2);
}
