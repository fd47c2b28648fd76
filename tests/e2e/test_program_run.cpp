// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "../windows/program_fixture.hpp"

#include <algorithm>
#include <sys/wait.h>

using namespace wvtest;

namespace {

struct ProgramRun {
    int status = -1;
    std::vector<std::string> lines;
};

// The built program, copied into the scratch installation (it finds Data/ beside itself and writes there).
ProgramRun runBuiltProgram(Installation& inst, const std::string& options, const std::string& script) {
    ProgramRun r;
    const stdfs::path built = stdfs::read_symlink("/proc/self/exe").parent_path() / "wirowanki";
    const stdfs::path program = inst.prog() / "wirowanki";
    stdfs::copy_file(built, program, stdfs::copy_options::overwrite_existing);
    const stdfs::path scriptFile = inst.base() / "script.txt";
    std::ofstream(scriptFile) << script;
    const stdfs::path output = inst.base() / "out.txt";
    const std::string cmd = program.string() + " " + options + " --script " + scriptFile.string() + " > " +
                            output.string() + " 2>&1";
    r.status = std::system(cmd.c_str());
    std::ifstream in(output);
    for (std::string l; std::getline(in, l);)
        r.lines.push_back(l);
    return r;
}

bool contains(const std::vector<std::string>& lines, const std::string& l) {
    return std::find(lines.begin(), lines.end(), l) != lines.end();
}

bool builtProgramExists() {
    return stdfs::exists(stdfs::read_symlink("/proc/self/exe").parent_path() / "wirowanki");
}

} // namespace

TEST(BuiltProgram, AHeadlessScriptedSessionShowsTheMenuRefusesTooFewWordsAndEndsWithCodeZero) {
    if (!builtProgramExists()) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    // Memory on DŻ at the start of the word: ten words, fewer than "many" needs.
    inst.writeIni("[DaneProgramu]\nZakladka=1\n[Memory]\nGloski=8\nPoziom=1\nPozycja=4096\n");
    const stdfs::path shot = inst.base() / "menu.png";
    const ProgramRun r = runBuiltProgram(inst, "--headless --window 800x600",
                                         "wait 2000\n"
                                         "click 611 224\n" // Memory tab
                                         "click 436 210\n" // many: twelve words needed
                                         "click 455 535\n" // start
                                         "click 405 355\n" // the message window's stop
                                         "screenshot " +
                                             shot.string() +
                                             "\n"
                                             "click 365 535\n"); // exit
    ASSERT_TRUE(WIFEXITED(r.status));
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    const std::vector<std::string> expected{"form-shown Wirowanki Cz.I Demo Splash",
                                            "form-shown Wesołe Wirowanki Cz.I Demo",
                                            "form-hidden Wirowanki Cz.I Demo Splash",
                                            "form-shown Komunikat",
                                            "form-hidden Komunikat",
                                            "screenshot " + shot.string(),
                                            "form-hidden Wesołe Wirowanki Cz.I Demo"};
    EXPECT_EQ(r.lines, expected);
    EXPECT_TRUE(stdfs::exists(shot));
    EXPECT_EQ(stdfs::file_size(inst.prog() / "Dzieci" / "1" / "prgst1.stt"), 20u);
}

TEST(BuiltProgram, TooSmallAWindowGivesTheResolutionMessageAndCodeZero) {
    if (!builtProgramExists()) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    const ProgramRun r = runBuiltProgram(inst, "--headless --window 799x600", "");
    ASSERT_TRUE(WIFEXITED(r.status));
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    EXPECT_EQ(r.lines,
              (std::vector<std::string>{
                  "form-shown Wirowanki Cz.I Demo Splash",
                  "message-box Wirowanki Cz.I Demo - Błąd | Proszę zmienić rozdzielczość ekranu na 800 x "
                  "600 lub wyższą.",
                  "form-hidden Wirowanki Cz.I Demo Splash"}));
}

TEST(BuiltProgram, InMode4TheEscapeKeyEnds) {
    if (!builtProgramExists()) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    const ProgramRun r = runBuiltProgram(inst, "--headless --window 1024x768", "dump\nkey 27\n");
    ASSERT_TRUE(WIFEXITED(r.status));
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    EXPECT_TRUE(
        contains(r.lines, "form \"Wesołe Wirowanki Cz.I Demo\" name=FormMain bounds=0,0,1024x768 active"));
    EXPECT_TRUE(contains(r.lines, "  MenuButton name=start bounds=547,659,84x64"));
    EXPECT_TRUE(contains(r.lines, "  ImageControl name=g_Menu bounds=705,95,319x575"));
    EXPECT_EQ(r.lines.back(), "form-hidden Wirowanki Cz.I Demo Splash");
}

// The headless clock runs ahead of the wall clock by the virtual time waited; a report made right after
// still has the game, with a note that its date is ahead of the computer's clock.
TEST(BuiltProgram, AGamePlayedHeadlessIsInTheReportMadeRightAfterIt) {
    if (!builtProgramExists()) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Linked);
    const ProgramRun r = runBuiltProgram(inst, "--headless --window 1024x768 --max-virtual-ms 7200000",
                                         "wait 1800000\n"
                                         "click 765 295\n" // Memory tab
                                         "click 567 679\n" // start
                                         "wait 1000\n"
                                         "key 27\n" // stop: the record is written, the results shown
                                         "key 27\n"
                                         "quit\n");
    ASSERT_TRUE(WIFEXITED(r.status));
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    ASSERT_EQ(stdfs::file_size(inst.prog() / "Dzieci" / "1" / "prgst1.stt"), 20u + 44u);
    const stdfs::path page = inst.base() / "r.html";
    const std::string cmd =
        (inst.prog() / "wirowanki").string() + " raport " + page.string() + " > /dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    const std::string csv = readFile(inst.base() / "r.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << csv;
    EXPECT_NE(csv.find(",Memory,"), std::string::npos) << csv;
    EXPECT_NE(readFile(page).find("1 gra ma datę późniejszą niż zegar tego komputera"), std::string::npos);
}
