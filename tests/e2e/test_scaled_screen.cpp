#include "../ui/program_fixture.hpp"

#include <png.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <sys/wait.h>

using namespace wvtest;

namespace {

struct ProgramResult {
    int code = -1;
    double seconds = 0;
    std::vector<std::string> out;
    std::string err;
};

stdfs::path builtProgram() {
    return stdfs::read_symlink("/proc/self/exe").parent_path() / "wirowanki";
}

// The built program, copied into the scratch installation, with env put before it on the command line.
ProgramResult runProgram(Installation& inst, const std::string& env, const std::string& options,
                         const std::string& script = "") {
    const stdfs::path program = inst.prog() / "wirowanki";
    if (!stdfs::exists(program)) stdfs::copy_file(builtProgram(), program);
    std::string cmd = env + " " + program.string() + " " + options;
    if (!script.empty()) {
        std::ofstream(inst.base() / "script.txt") << script;
        cmd += " --script " + (inst.base() / "script.txt").string();
    }
    cmd += " > " + (inst.base() / "out.txt").string() + " 2> " + (inst.base() / "err.txt").string();
    ProgramResult r;
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(cmd.c_str());
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(inst.base() / "out.txt");
    for (std::string l; std::getline(in, l);)
        r.out.push_back(l);
    r.err = readFile(inst.base() / "err.txt");
    return r;
}

struct Png {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    std::array<int, 3> at(int x, int y) const {
        const std::uint8_t* p = rgb.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
        return {p[0], p[1], p[2]};
    }
};

Png readPng(const stdfs::path& path) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    Png out;
    if (!png_image_begin_read_from_file(&img, path.c_str())) return out;
    img.format = PNG_FORMAT_RGB;
    out.rgb.resize(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, out.rgb.data(), 0, nullptr)) return out;
    out.width = int(img.width), out.height = int(img.height);
    return out;
}

// Layout points of the 1024 x 768 menu: the four game tabs and the start button.
constexpr int kTabX = 705 + 60;
constexpr int kTabY[4] = {95 + 70, 95 + 200, 95 + 300, 95 + 400};
constexpr int kStartX = 512 + 35 + 20, kStartY = 768 - 109 + 20;
const char* const kGames[4] = {"Podpisywanie", "Memory", "Uzupełnianie", "Spadające"};

} // namespace

TEST(ScaledScreen, MenuAndEveryGameFillTheScreensHeightAndClicksAtScaledPositionsStartThem) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    const std::string shot = (inst.base() / "layout.png").string();
    const ProgramResult plain =
        runProgram(inst, "", "--headless --window 1024x768", "wait 2500\nscreenshot " + shot + "\n");
    const Png layout = readPng(shot);
    ASSERT_EQ(layout.width, 1024);

    struct Case {
        platform::Size output;
        int marginLeft; // layout's left edge on the virtual screen
    };
    for (const Case& c : {Case{{1920, 1080}, 170}, Case{{2560, 1440}, 170}, Case{{1280, 800}, 102}}) {
        SCOPED_TRACE(std::to_string(c.output.width));
        stdfs::remove(inst.user() / "ustawienia.ini");
        stdfs::remove(inst.prog() / "ustawienia.ini");
        // Every game is filled to the full height, so a layout pixel is screen height / 768 wide.
        auto screen = [&](int x, int y) {
            return std::to_string((c.marginLeft + x) * c.output.height / 768) + " " +
                   std::to_string(y * c.output.height / 768);
        };
        const stdfs::path menu = inst.base() / "menu.png";
        std::string script = "wait 2500\nscreenshot " + menu.string() + "\n";
        for (int t = 0; t < 4; ++t)
            script += "click " + screen(kTabX, kTabY[t]) + "\nclick " + screen(kStartX, kStartY) +
                      "\nwait 500\nscreenshot " +
                      (inst.base() / ("game" + std::to_string(t) + ".png")).string() + "\nkey 27\nkey 27\n";
        const std::string size = std::to_string(c.output.width) + "x" + std::to_string(c.output.height);
        const ProgramResult r = runProgram(inst, "", "--headless --window " + size, script);
        EXPECT_EQ(r.code, 0);
        for (const char* game : kGames)
            EXPECT_NE(std::find(r.out.begin(), r.out.end(), std::string("form-shown ") + game), r.out.end())
                << game;

        const Png scaled = readPng(menu);
        ASSERT_EQ(scaled.width, c.output.width);
        ASSERT_EQ(scaled.height, c.output.height);
        for (int t = 0; t < 4; ++t)
            EXPECT_EQ(readPng(inst.base() / ("game" + std::to_string(t) + ".png")).height, c.output.height);
        // Beside the layout the background; inside it, the unscaled menu's colours at the same layout points.
        EXPECT_EQ(scaled.at(2, c.output.height / 2), (std::array<int, 3>{0, 0, 0}));
        // A grid over the whole layout: shifted or stretched content differs by far more than smoothing.
        long difference = 0, samples = 0;
        for (int y = 8; y < 768; y += 32)
            for (int x = 8; x < 1024; x += 32) {
                const int sx = (c.marginLeft * 2 + x * 2 + 1) * c.output.height / 1536;
                const int sy = (y * 2 + 1) * c.output.height / 1536;
                const auto want = layout.at(x, y), got = scaled.at(sx, sy);
                for (int k = 0; k < 3; ++k, ++samples)
                    difference += std::abs(got[k] - want[k]);
            }
        EXPECT_LT(difference / samples, 6);
    }
    EXPECT_EQ(plain.code, 0);
}

TEST(ScaledScreen, ScriptsMayClickInLayoutCoordinatesAndScalingCanBeTurnedOff) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    const std::string startMemory = "wait 2500\nclick " + std::to_string(170 + kTabX) + " " +
                                    std::to_string(kTabY[1]) + "\nclick " + std::to_string(170 + kStartX) +
                                    " " + std::to_string(kStartY) + "\n";
    const ProgramResult layout =
        runProgram(inst, "", "--headless --window 1920x1080 --script-coords layout", startMemory);
    EXPECT_NE(std::find(layout.out.begin(), layout.out.end(), "form-shown Memory"), layout.out.end());

    // Unscaled, the 1024 x 768 layout sits in the middle of the full-HD screen at its own size.
    stdfs::remove(inst.prog() / "ustawienia.ini");
    const std::string shot = (inst.base() / "plain.png").string();
    const std::string startCentred = "wait 2500\nclick " + std::to_string(448 + kTabX) + " " +
                                     std::to_string(156 + kTabY[1]) + "\nclick " +
                                     std::to_string(448 + kStartX) + " " + std::to_string(156 + kStartY) +
                                     "\nscreenshot " + shot + "\n";
    const ProgramResult off = runProgram(inst, "", "--headless --window 1920x1080 --skala 1", startCentred);
    EXPECT_NE(std::find(off.out.begin(), off.out.end(), "form-shown Memory"), off.out.end());
    const Png p = readPng(shot);
    EXPECT_EQ(p.width, 1920);
    EXPECT_EQ(p.at(447, 500), (std::array<int, 3>{0, 0, 0}));
    EXPECT_NE(p.at(448 + 512, 156 + 20), (std::array<int, 3>{0, 0, 0}));
}

TEST(ScaledScreen, WithoutADisplayOrABoxEveryFailureLeavesALineOnStandardError) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER";
    // The dummy driver, asked for, runs but can show no message box.
    const std::string dummy = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy";
    struct Case {
        std::string env, options;
        int code;
        std::string stderrStart;
    };
    const Case cases[] = {
        {noDisplay, "", 1, "no display: "},
        {noDisplay, "z", 1, "no display: "},
        {dummy, "z", 0,
         "Wirowanki Cz.I Demo - Raport zasobów: Wszystkie zasoby słów istnieją. Brak plików nadmiarowych.\n"},
        {dummy, "--window 799x600", 0,
         "Wirowanki Cz.I Demo - Błąd: Proszę zmienić rozdzielczość ekranu na 800 x 600 lub wyższą.\n"},
    };
    for (const Case& c : cases) {
        const ProgramResult r = runProgram(inst, c.env, c.options);
        EXPECT_EQ(r.code, c.code) << c.env << " " << c.options;
        EXPECT_EQ(r.err.substr(0, c.stderrStart.size()), c.stderrStart) << r.err;
        EXPECT_LT(r.seconds, 1.0) << c.options;
        // One line, with what to do.
        if (c.code == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
            EXPECT_NE(r.err.find("--headless"), std::string::npos);
        }
    }
}

TEST(ScaledScreen, UnderAnXServerTheRealWindowFillsTheScreenAndClicksThereStartAGame) {
    if (!stdfs::exists(builtProgram())) GTEST_SKIP() << "program not built beside the tests";
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (std::system((std::string("command -v ") + tool + " > /dev/null").c_str()) != 0)
            GTEST_SKIP() << tool << " not installed";
    Installation inst(Installation::Data::Linked);
    const stdfs::path base = inst.base();
    // The same session headless, for comparison: the Memory game after a click on its tab and on start.
    auto click = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
    const std::string tab = click((170 + kTabX) * 1080 / 768, kTabY[1] * 1080 / 768);
    const std::string start = click((170 + kStartX) * 1080 / 768, kStartY * 1080 / 768);
    runProgram(inst, "", "--headless --window 1920x1080",
               "wait 2500\nscreenshot " + (base / "menu-h.png").string() + "\nclick " + tab + "\nclick " +
                   start + "\nwait 1000\nscreenshot " + (base / "game-h.png").string() + "\n");
    stdfs::remove(inst.prog() / "ustawienia.ini");

    const stdfs::path script = base / "x.sh";
    std::ofstream(script) << "Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp > " << base / "display"
                          << " 2>/dev/null & X=$!\n"
                          << "for i in $(seq 50); do [ -s " << base / "display"
                          << " ] && break; sleep 0.1; done\n"
                          << "export DISPLAY=:$(cat " << base / "display"
                          << ")\n"
                          << (inst.prog() / "wirowanki").string() << " 2> " << base / "err"
                          << " & P=$!\n"
                          << "sleep 4; import -window root " << base / "menu-x.png"
                          << "\n"
                          << "xdotool mousemove " << tab << " click 1; sleep 0.5\n"
                          << "xdotool mousemove " << start << " click 1; sleep 2\n"
                          << "import -window root " << base / "game-x.png"
                          << "\n"
                          << "kill $P; wait $P; kill $X; wait $X\n";
    (void)std::system(("sh " + script.string() + " > /dev/null 2>&1").c_str());
    EXPECT_EQ(readFile(base / "err"), "");
    for (const char* name : {"menu", "game"}) {
        SCOPED_TRACE(name);
        const Png real = readPng(base / (std::string(name) + "-x.png"));
        const Png headless = readPng(base / (std::string(name) + "-h.png"));
        ASSERT_EQ(real.width, 1920);
        ASSERT_EQ(real.height, 1080);
        ASSERT_EQ(headless.width, 1920);
        long difference = 0, samples = 0;
        for (int y = 10; y < 1080; y += 40)
            for (int x = 10; x < 1920; x += 40) {
                const auto a = real.at(x, y), b = headless.at(x, y);
                for (int k = 0; k < 3; ++k, ++samples)
                    difference += std::abs(a[k] - b[k]);
            }
        EXPECT_LT(difference / samples, 6);
    }
}
