// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "../windows/program_fixture.hpp"

#include <png.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <sys/wait.h>

using namespace wvtest;

namespace {

struct ProgramResult {
    int code = -1;
    std::string out, err;
};

stdfs::path builtProgram() {
    return stdfs::read_symlink("/proc/self/exe").parent_path() / "wirowanki";
}

// The built program, copied into the scratch installation, run with env before it on the command line.
ProgramResult runProgram(Installation& inst, const std::string& env, const std::string& options,
                         const std::string& script = "") {
    const stdfs::path program = inst.prog() / "wirowanki";
    if (!stdfs::exists(program)) stdfs::copy_file(builtProgram(), program);
    std::ofstream(inst.base() / "script.txt") << script;
    const std::string cmd = env + " " + program.string() + " " + options +
                            (script.empty() ? "" : " --script " + (inst.base() / "script.txt").string()) +
                            " > " + (inst.base() / "out").string() + " 2> " + (inst.base() / "err").string();
    ProgramResult r;
    const int status = std::system(cmd.c_str());
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readFile(inst.base() / "out");
    r.err = readFile(inst.base() / "err");
    return r;
}

struct Png {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

Png readPng(const stdfs::path& path) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    Png out;
    if (!png_image_begin_read_from_file(&img, path.c_str())) return out;
    img.format = PNG_FORMAT_RGB;
    out.rgb.resize(PNG_IMAGE_SIZE(img));
    if (png_image_finish_read(&img, nullptr, out.rgb.data(), 0, nullptr))
        out.width = int(img.width), out.height = int(img.height);
    return out;
}

// Mean difference per channel of a over a grid of layout points against b, each picture with its own
// mapping of layout points: x * num / den + dx (and y likewise).
struct Mapping {
    int dx, dy, num, den;
    int at(int v, int d) const { return ((d + v) * 2 + 1) * num / (den * 2); }
};
long meanDifference(const Png& a, Mapping ma, const Png& b, Mapping mb) {
    long sum = 0, n = 0;
    for (int y = 8; y < 768; y += 32)
        for (int x = 8; x < 1024; x += 32)
            for (int k = 0; k < 3; ++k, ++n) {
                const std::size_t ia =
                    (std::size_t(ma.at(y, ma.dy)) * std::size_t(a.width) + ma.at(x, ma.dx)) * 3;
                const std::size_t ib =
                    (std::size_t(mb.at(y, mb.dy)) * std::size_t(b.width) + mb.at(x, mb.dx)) * 3;
                sum += std::abs(int(a.rgb[ia + k]) - int(b.rgb[ib + k]));
            }
    return sum / n;
}

// Layout points of the 1024 x 768 menu: the four game tabs and the start button.
constexpr int kTabX = 705 + 60, kStartX = 512 + 35 + 20, kStartY = 768 - 109 + 20;
constexpr int kTabY[4] = {95 + 70, 95 + 200, 95 + 300, 95 + 400};
const char* const kGames[4] = {"Podpisywanie", "Memory", "Uzupełnianie", "Spadające"};

} // namespace

TEST(ScaledScreen, MenuAndEveryGameFillTheScreenAndScriptedClicksOnItStartThem) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    const stdfs::path menu = inst.base() / "menu.png";
    runProgram(inst, "", "--headless --window 1024x768", "wait 2500\nscreenshot " + menu.string() + "\n");
    const Png layout = readPng(menu);
    ASSERT_EQ(layout.width, 1024);

    struct Case {
        std::string options;
        platform::Size output;
        Mapping shot, click; // layout to screenshot pixels, layout to the script's coordinates
    };
    const Case cases[] = {
        {"--window 1920x1080", {1920, 1080}, {170, 0, 1080, 768}, {170, 0, 1080, 768}},
        {"--window 2560x1440", {2560, 1440}, {170, 0, 1440, 768}, {170, 0, 1440, 768}},
        {"--window 1280x800", {1280, 800}, {102, 0, 800, 768}, {102, 0, 800, 768}},
        {"--window 1920x1080 --script-coords layout", {1920, 1080}, {170, 0, 1080, 768}, {170, 0, 1, 1}},
        {"--window 1920x1080 --skala 1", {1920, 1080}, {448, 156, 1, 1}, {448, 156, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        stdfs::remove(inst.prog() / "Dzieci" / "1" / "ustawienia.ini");
        auto point = [&](int x, int y) {
            return std::to_string((c.click.dx + x) * c.click.num / c.click.den) + " " +
                   std::to_string((c.click.dy + y) * c.click.num / c.click.den);
        };
        std::string script = "wait 2500\nscreenshot " + menu.string() + "\n";
        for (int t = 0; t < 4; ++t)
            script += "click " + point(kTabX, kTabY[t]) + "\nclick " + point(kStartX, kStartY) +
                      "\nwait 500\n" + "screenshot " +
                      (inst.base() / ("game" + std::to_string(t) + ".png")).string() + "\nkey 27\nkey 27\n";
        const ProgramResult r = runProgram(inst, "", "--headless " + c.options, script);
        EXPECT_EQ(r.code, 0);
        for (const char* game : kGames)
            EXPECT_NE(r.out.find(std::string("form-shown ") + game + "\n"), std::string::npos) << game;
        const Png scaled = readPng(menu);
        ASSERT_EQ(scaled.width, c.output.width);
        ASSERT_EQ(scaled.height, c.output.height);
        EXPECT_EQ(readPng(inst.base() / "game3.png").height, c.output.height);
        // The background beside the layout; the unscaled menu's colours at the same layout points.
        EXPECT_EQ(scaled.rgb[std::size_t(scaled.width) * 3 * std::size_t(scaled.height / 2)], 0);
        EXPECT_LT(meanDifference(scaled, c.shot, layout, {0, 0, 1, 1}), 6);
    }
}

TEST(ScaledScreen, UnderAnXServerTheRealWindowShowsWhatTheHeadlessOneDoesAndClicksThereStartAGame) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (std::system((std::string("command -v ") + tool + " > /dev/null").c_str()) != 0)
            GTEST_SKIP() << tool << " not installed";
    Installation inst(Installation::Data::Linked);
    const stdfs::path base = inst.base();
    const std::string tab =
        std::to_string((170 + kTabX) * 1080 / 768) + " " + std::to_string(kTabY[1] * 1080 / 768);
    const std::string start =
        std::to_string((170 + kStartX) * 1080 / 768) + " " + std::to_string(kStartY * 1080 / 768);
    runProgram(inst, "", "--headless --window 1920x1080",
               "wait 2500\nscreenshot " + (base / "menu-h.png").string() + "\nclick " + tab + "\nclick " +
                   start + "\nwait 1000\nscreenshot " + (base / "game-h.png").string() + "\n");
    stdfs::remove(inst.prog() / "Dzieci" / "1" / "ustawienia.ini");
    // Every step waits for what it needs, with a generous limit: a frame the program reports presented
    // after the window in question came or went, then a screen that stays the same between two looks.
    std::ofstream(base / "x.sh")
        << "cd " << base << "\n"
        << "Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp > d 2>/dev/null & X=$!\n"
        << "for i in $(seq 600); do [ -s d ] && break; sleep 0.1; done\n"
        << "export DISPLAY=:$(cat d)\n"
        << "presentedAfter() {\n"
        << "  for i in $(seq 1200); do\n"
        << "    awk -v w=\"timeline $1 \" 'index($0, w) == 1 { s = 1 } s && /^timeline presented / { f = 1 "
           "}\n"
        << "      END { exit !f }' err && return 0\n"
        << "    sleep 0.1\n"
        << "  done\n"
        << "}\n"
        << "still() {\n"
        << "  import -window root ppm:$1.ppm\n"
        << "  for i in $(seq 300); do\n"
        << "    sleep 0.1; mv $1.ppm $1.old; import -window root ppm:$1.ppm\n"
        << "    cmp -s $1.ppm $1.old && break\n"
        << "  done\n"
        << "  convert $1.ppm $1.png\n"
        << "}\n"
        // X11 and D-Bus keep a few allocations to the end; a sanitizer build would report them as ours.
        << "WV_TIMELINE=1 ASAN_OPTIONS=detect_leaks=0 " << inst.prog() / "wirowanki"
        << " 2> err & P=$!\n"
        << "presentedAfter form-hidden_Wirowanki_Cz.I_Demo_Splash\n"
        << "still menu-x\n"
        << "xdotool mousemove " << tab << " click 1\n"
        << "still tab-x\n"
        << "xdotool mousemove " << start << " click 1\n"
        << "presentedAfter form-shown_Memory\n"
        << "still game-x\n"
        << "kill $P; wait $P; kill $X; wait $X\n";
    (void)std::system(("sh " + (base / "x.sh").string() + " > /dev/null 2>&1").c_str());
    std::string untimed;
    std::istringstream errLines(readFile(base / "err"));
    for (std::string line; std::getline(errLines, line);)
        if (!line.starts_with("timeline ")) untimed += line + "\n";
    EXPECT_EQ(untimed, "");
    const Mapping shot{170, 0, 1080, 768};
    for (const char* name : {"menu", "game"}) {
        const Png real = readPng(base / (std::string(name) + "-x.png"));
        ASSERT_EQ(real.height, 1080) << name;
        EXPECT_LT(meanDifference(real, shot, readPng(base / (std::string(name) + "-h.png")), shot), 6)
            << name;
    }
}

TEST(ScaledScreen, WithoutADisplayOrAMessageBoxEveryFailureLeavesALineOnStandardError) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    const std::string none = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER";
    // The dummy driver, when asked for, runs but can show no message box.
    const std::string dummy = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy";
    struct Case {
        std::string env, options;
        int code;
        std::string err;
    };
    const Case cases[] = {
        {none, "", 1, "no display: "},
        {none, "z", 1, "no display: "},
        {dummy, "z", 0,
         "Wirowanki Cz.I Demo - Raport zasobów: Wszystkie zasoby słów istnieją. Brak plików nadmiarowych.\n"},
        {dummy, "--window 799x600", 0,
         "Wirowanki Cz.I Demo - Błąd: Proszę zmienić rozdzielczość ekranu na 800 x 600 lub wyższą.\n"},
    };
    for (const Case& c : cases) {
        const ProgramResult r = runProgram(inst, c.env, c.options);
        EXPECT_EQ(r.code, c.code) << c.env << " " << c.options;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
        if (c.code == 1) {
            EXPECT_EQ(r.err.find('\n'), r.err.size() - 1); // one line
        }
    }
}
