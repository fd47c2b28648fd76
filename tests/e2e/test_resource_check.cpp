// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "../windows/program_fixture.hpp"

#include <sys/wait.h>

using namespace wvtest;

namespace {

const std::string kDashes(56, '-');

} // namespace

TEST(ResourceCheck, OneMissingSoundAndOneStrayPictureGiveTheReportFileByteForByte) {
    Installation inst(Installation::Data::Copied);
    stdfs::remove(inst.prog() / "Data" / "Smd" / "szopa.pw");
    std::ofstream(inst.prog() / "Data" / "Bio" / "stary.xji") << "x";
    Outcome out;
    auto d = startProgram(out, {800, 600}, {"z", "--headless"});
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(out.code, 0);
    const std::string expected = "Raport Zasobów\r\n\r\n\r\n" + kDashes +
                                 "\r\nBrakujące pliki zasobów:\r\n"
                                 "Data\\Smd\\szopa.pw\r\n" +
                                 kDashes +
                                 "\r\nNadmiarowe pliki zasobów:\r\n"
                                 "Data\\Bio\\stary.xji\r\n" +
                                 kDashes + "\r\n";
    EXPECT_EQ(readFile(inst.user() / "Raport zasobów.txt"), expected);
    EXPECT_TRUE(
        d->logged("message-box Wirowanki Cz.I Demo - Raport zasobów | Brak niektórych plików lub istnieją "
                  "plik nadmiarowe!\\n\\nRaport zapisano w pliku \"Raport zasobów.txt\""));
    // Nothing of the program itself started.
    EXPECT_FALSE(d->logged("form-shown Wirowanki Cz.I Demo Splash"));
    EXPECT_FALSE(stdfs::exists(inst.user() / "prgst1.stt"));
}

TEST(ResourceCheck, ACompleteDataSetWritesNoFileAndSaysSo) {
    Installation inst;
    Outcome out;
    auto d = startProgram(out, {800, 600}, {"z"});
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(out.code, 0);
    EXPECT_EQ(d->log(),
              (std::vector<std::string>{"message-box Wirowanki Cz.I Demo - Raport zasobów | Wszystkie "
                                        "zasoby słów istnieją.\\nBrak plików nadmiarowych."}));
    EXPECT_FALSE(stdfs::exists(inst.user() / "Raport zasobów.txt"));
}

TEST(ResourceCheck, MissingFilesAreListedDirectoryByDirectoryInCatalogueOrderAndCaseIsIgnored) {
    Installation inst(Installation::Data::Copied);
    const stdfs::path data = inst.prog() / "Data";
    stdfs::remove(data / "Smd" / "sakiewka.pw");
    stdfs::remove(data / "Bio" / "szuflada_upb.xji");
    stdfs::remove(data / "Bio" / "sanki_ms.xji");
    stdfs::remove(data / "Sio" / "squest.xji");
    stdfs::remove(data / "Sio" / "ssep.xji");
    // Another case satisfies the catalogue's name.
    stdfs::rename(data / "Sio" / "ssakiewka.xji", data / "Sio" / "SSakiewka.XJI");
    EXPECT_EQ(resourceReport(),
              (std::vector<std::string>{kDashes, "Brakujące pliki zasobów:", "Data\\Sio\\ssep.xji",
                                        "Data\\Sio\\squest.xji", "Data\\Bio\\sanki_ms.xji",
                                        "Data\\Bio\\szuflada_upb.xji", "Data\\Smd\\sakiewka.pw", kDashes,
                                        "Brak plików nadmiarowych.", kDashes}));
}

TEST(ResourceCheck, OnlyRedundantFilesAndHiddenOnesCountButDirectoriesDoNot) {
    Installation inst(Installation::Data::Copied);
    const stdfs::path data = inst.prog() / "Data";
    std::ofstream(data / "Smd" / ".ukryty") << "x";
    stdfs::create_directory(data / "Sio" / "podkatalog");
    EXPECT_EQ(resourceReport(),
              (std::vector<std::string>{kDashes, "Wszystkie pliki zasobów istnieją.", kDashes,
                                        "Nadmiarowe pliki zasobów:", "Data\\Smd\\.ukryty", kDashes}));
}

TEST(ResourceCheck, AReportThatCannotBeWrittenIsSaidToHaveFailed) {
    Installation inst(Installation::Data::Copied);
    stdfs::remove(inst.prog() / "Data" / "Smd" / "szopa.pw");
    // Where the report would go there is a directory.
    stdfs::create_directory(inst.user() / "Raport zasobów.txt");
    Outcome out;
    auto d = startProgram(out, {800, 600}, {"z"});
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(out.code, 0);
    EXPECT_TRUE(d->logged("message-box Wirowanki Cz.I Demo - Raport zasobów | Błąd podczas zapisu do pliku "
                          "\"Raport zasobów.txt\"!"));
}

TEST(ResourceCheck, TheBuiltProgramRunsTheCheckWhenZComesFirstWhateverFollows) {
    const stdfs::path program = stdfs::read_symlink("/proc/self/exe").parent_path() / "wirowanki";
    if (!stdfs::exists(program)) GTEST_SKIP() << "program not built beside the tests";
    Installation inst(Installation::Data::Copied);
    // The program's directory is where the executable is, and it is writable: the report lands there.
    stdfs::copy_file(program, inst.prog() / "wirowanki");
    stdfs::permissions(inst.prog() / "wirowanki", stdfs::perms::owner_all, stdfs::perm_options::add);
    stdfs::remove(inst.prog() / "Data" / "Smd" / "szopa.pw");
    const stdfs::path output = inst.base() / "z.out";
    const std::string cmd =
        (inst.prog() / "wirowanki").string() + " z --headless --window 800x600 zz > " + output.string();
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(output),
              "message-box Wirowanki Cz.I Demo - Raport zasobów | Brak niektórych plików lub "
              "istnieją plik nadmiarowe!\\n\\nRaport zapisano w pliku \"Raport zasobów.txt\"\n");
    const std::string report = readFile(inst.prog() / "Raport zasobów.txt");
    EXPECT_NE(report.find("Brakujące pliki zasobów:\r\nData\\Smd\\szopa.pw\r\n"), std::string::npos)
        << report;
}

// The adult's own words are checked too: each needs its five pictures and its voice, and nothing more.
TEST(ResourceCheck, OwnWordsNeedTheirFivePicturesAndTheirVoice) {
    Installation inst;
    writeFile(inst.user() / "Slowa" / "slowa.txt", "bartosz\tb,a,r,t,o,_sz\tSZ\twygłos\n");
    for (const char* name :
         {"sbartosz.xji", "bartosz_ms.xji", "bartosz_mb.xji", "bartosz_upb.xji", "notatka.txt"})
        writeFile(inst.user() / "Slowa" / "bartosz" / name, "x");
    Outcome out;
    auto d = startProgram(out, {800, 600}, {"z", "--headless"});
    EXPECT_TRUE(d->finished());
    const std::string own = (inst.user() / "Slowa" / "bartosz").string() + "/";
    const std::string expected =
        "Raport Zasobów\r\n\r\n\r\n" + kDashes + "\r\nBrakujące pliki zasobów:\r\n" + own +
        "bartosz_ups.xji\r\n" + (inst.user() / "Glosy" / "bartosz.pw").string() + "\r\n" + kDashes +
        "\r\nNadmiarowe pliki zasobów:\r\n" + own + "notatka.txt\r\n" + kDashes + "\r\n";
    EXPECT_EQ(readFile(inst.user() / "Raport zasobów.txt"), expected);
}
