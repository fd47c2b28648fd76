// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Error.hpp"
#include "platform/system/Fs.hpp"
#include "temp_dir.hpp"

#include <algorithm>
#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

namespace {

std::vector<std::uint8_t> bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// Limits the size any file of this process may grow to, so writes come up short as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

TEST(GamePaths, DataRestsOnTheProgramDirectoryEverythingElseOnTheUserDirectory) {
    TempRoots roots;
    EXPECT_EQ(fs::resolve("Data\\Bio\\x.xji"), roots.prog() + "/Data/Bio/x.xji");
    EXPECT_EQ(fs::resolve("prgst1.stt"), roots.user() + "/prgst1.stt");
    EXPECT_EQ(fs::resolve("Nagrane\\record.xtr"), roots.user() + "/Nagrane/record.xtr");
    EXPECT_EQ(fs::resolve("Nagrane\\Nagranie7.wav"), roots.user() + "/Nagrane/Nagranie7.wav");
    EXPECT_EQ(fs::resolve("/etc/hostname"), "/etc/hostname");
    EXPECT_EQ(fs::resolveInProgramDir("Resource/start_D.bmp"), roots.prog() + "/Resource/start_D.bmp");
    EXPECT_EQ(fs::toNative("Data\\Intf\\Spec\\a.xji"), "Data/Intf/Spec/a.xji");
}

TEST(GamePaths, ANamesCaseDoesNotMatterWhenTheExactOneIsMissing) {
    TempRoots roots;
    TempRoots::write(roots.prog() + "/DATA/bio/X.XJI", "jpeg");
    EXPECT_EQ(fs::resolve("Data\\Bio\\x.xji"), roots.prog() + "/DATA/bio/X.XJI");
    EXPECT_TRUE(fs::exists("Data\\Bio\\x.xji"));
    EXPECT_TRUE(fs::dirExists("data\\BIO"));
    EXPECT_FALSE(fs::exists("Data\\Bio")); // a directory is not a file
    // A file not made yet keeps its own name inside the directory that was found.
    EXPECT_EQ(fs::resolve("Data\\Bio\\new.xji"), roots.prog() + "/DATA/bio/new.xji");
    // Polish letters fold too.
    TempRoots::write(roots.user() + "/Raport ZASOBÓW.txt", "x");
    EXPECT_EQ(fs::resolve("Raport zasobów.txt"), roots.user() + "/Raport ZASOBÓW.txt");
    // An exact match wins over a case-insensitive one.
    TempRoots::write(roots.prog() + "/DATA/bio/x.xji", "exact");
    EXPECT_EQ(fs::resolve("Data\\Bio\\x.xji"), roots.prog() + "/DATA/bio/x.xji");
}

TEST(GamePaths, TheProgramDirectoryIsWhereTheExecutableLives) {
    char exe[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    fs::setRoots("", "");
    EXPECT_EQ(fs::programDir(), std::filesystem::path(exe).parent_path().string());
}

// The user directory is the XDG one (made owner-only, parents too) unless a "portable" file beside the
// program asks for the program directory, and that directory can be written.
TEST(GamePaths, TheUserDirectoryIsTheXdgOneUnlessAPortableFileBesideTheProgramAsksOtherwise) {
    struct Case {
        const char* name;
        const char* portable; // what lies in the program directory as "portable"; null: nothing
        bool readOnlyProgram;
        bool xdgSet;
        const char* want; // relative to the temporary base
    } const cases[] = {
        {"no portable, XDG_DATA_HOME set", nullptr, false, true, "/xdg/data/wirowanki"},
        {"no portable, XDG_DATA_HOME unset", nullptr, false, false, "/home/.local/share/wirowanki"},
        {"portable, XDG_DATA_HOME set", "file", false, true, "/prog"},
        {"portable, XDG_DATA_HOME unset", "file", false, false, "/prog"},
        {"portable in a read-only program directory", "file", true, true, "/xdg/data/wirowanki"},
        {"a directory named portable does not count", "dir", false, false, "/home/.local/share/wirowanki"},
    };
    const auto saved = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const auto restore = [](const char* name, const std::optional<std::string>& v) {
        if (v)
            ::setenv(name, v->c_str(), 1);
        else
            ::unsetenv(name);
    };
    const auto oldXdg = saved("XDG_DATA_HOME");
    const auto oldHome = saved("HOME");
    const bool root = ::geteuid() == 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Root writes anywhere, so a read-only program directory cannot be had.
        if (c.readOnlyProgram && root) continue;
        TempRoots roots;
        if (c.portable && std::string(c.portable) == "file") TempRoots::write(roots.prog() + "/portable", "");
        if (c.portable && std::string(c.portable) == "dir")
            std::filesystem::create_directory(roots.prog() + "/portable");
        if (c.readOnlyProgram) ::chmod(roots.prog().c_str(), 0555);
        ::setenv("HOME", (roots.base() + "/home").c_str(), 1);
        if (c.xdgSet)
            ::setenv("XDG_DATA_HOME", (roots.base() + "/xdg/data").c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        fs::setRoots(roots.prog(), "");
        const std::string want = roots.base() + c.want;
        EXPECT_EQ(fs::userDir(), want);
        EXPECT_EQ(fs::resolve("prgst1.stt"), want + "/prgst1.stt");
        if (std::string(c.want) != "/prog") {
            // Every directory made on the way is the user's alone.
            const std::string top = roots.base() + (c.xdgSet ? "/xdg" : "/home");
            for (std::string d = want; d.size() >= top.size(); d = std::filesystem::path(d).parent_path()) {
                struct stat st {};
                ASSERT_EQ(::stat(d.c_str(), &st), 0) << d;
                EXPECT_EQ(st.st_mode & 07777, 0700u) << d;
            }
        }
        ::chmod(roots.prog().c_str(), 0755);
    }
    restore("XDG_DATA_HOME", oldXdg);
    restore("HOME", oldHome);
}

TEST(FileListing, ListsPlainAndHiddenFilesMatchingTheMaskButNoDirectories) {
    TempRoots roots;
    const std::string sio = roots.prog() + "/Data/Sio/";
    for (const char* name : {"a.xji", "B.XJI", ".hidden.xji", "c.txt", "noext"})
        TempRoots::write(sio + name, "x");
    std::filesystem::create_directories(sio + "sub.xji");

    EXPECT_THAT(sorted(fs::list("Data\\Sio", "*.xji")), ElementsAre(".hidden.xji", "B.XJI", "a.xji"));
    EXPECT_THAT(sorted(fs::list("Data\\Sio\\", "*.*")),
                ElementsAre(".hidden.xji", "B.XJI", "a.xji", "c.txt", "noext"));
    EXPECT_THAT(fs::list("Data\\Sio", "?.TXT"), ElementsAre("c.txt"));
    EXPECT_TRUE(fs::list("Data\\Nothing", "*.*").empty());
}

TEST(FileListing, MasksFollowTheWildcardRulesOfTheDataSetsOrigin) {
    EXPECT_TRUE(fs::matchMask("Ssakiewka.XJI", "s*.xji"));
    EXPECT_TRUE(fs::matchMask("noext", "*.*"));
    EXPECT_TRUE(fs::matchMask("record", "record.*"));
    EXPECT_TRUE(fs::matchMask("g07.pw", "g??.pw"));
    EXPECT_FALSE(fs::matchMask("g7.pw", "g??.pw"));
    EXPECT_FALSE(fs::matchMask("a.xjix", "*.xji"));
    EXPECT_TRUE(fs::matchMask("ŻABA.xji", "żaba.*"));
    EXPECT_TRUE(fs::matchMask("żółw.xji", "??ł?.xji")); // '?' is one letter, not one byte
}

TEST(FileListing, ListsBareNamesOfFilesOnly) {
    TempRoots roots;
    TempRoots::write(roots.prog() + "/Data/Smd/szopa.pw", "x");
    TempRoots::write(roots.prog() + "/Data/Smd/.ukryty.pw", "x");
    std::filesystem::create_directories(roots.prog() + "/Data/Smd/katalog.pw");
    EXPECT_THAT(sorted(fs::list("Data\\Smd", "*.pw")), ElementsAre(".ukryty.pw", "szopa.pw"));

    // An empty directory searches the user directory, where relative paths outside Data rest.
    TempRoots::write(roots.user() + "/prgst1.stt", "x");
    EXPECT_THAT(fs::list("", "*.stt"), ElementsAre("prgst1.stt"));
}

TEST(FileWriting, AppendAddsWholeRecordsOrNothing) {
    TempRoots roots;
    const std::vector<std::uint8_t> record(44, 0xAB);
    EXPECT_FALSE(fs::appendAll("prgst1.stt", record, true)); // must exist, does not
    EXPECT_FALSE(std::filesystem::exists(roots.user() + "/prgst1.stt"));

    TempRoots::write(roots.user() + "/prgst1.stt", std::string(20, 'H'));
    EXPECT_TRUE(fs::appendAll("prgst1.stt", record, true));
    EXPECT_TRUE(fs::appendAll("prgst1.stt", record, true));
    EXPECT_EQ(fs::fileSize("prgst1.stt"), 20u + 2 * 44u);

    {
        // Room for only 10 more bytes: the write comes up short and is taken back.
        FileSizeLimit limit(20 + 2 * 44 + 10);
        EXPECT_FALSE(fs::appendAll("prgst1.stt", record, true));
    }
    EXPECT_EQ(fs::fileSize("prgst1.stt"), 20u + 2 * 44u);
    const std::string content = TempRoots::read(roots.user() + "/prgst1.stt");
    EXPECT_EQ(content.substr(20), std::string(88, char(0xAB)));

    EXPECT_TRUE(fs::appendAll("new.bin", bytes("abc"), false));
    EXPECT_EQ(TempRoots::read(roots.user() + "/new.bin"), "abc");
}

TEST(FileWriting, AtomicWriteReplacesTheFileAndKeepsTheOldOneOnFailure) {
    TempRoots roots;
    fs::writeAtomic("record.xtr", std::string_view("first"));
    EXPECT_EQ(TempRoots::read(roots.user() + "/record.xtr"), "first");
    fs::writeAtomic("record.xtr", std::string_view("second version"));
    EXPECT_EQ(TempRoots::read(roots.user() + "/record.xtr"), "second version");
    EXPECT_THAT(fs::list("", "*.*"), ElementsAre("record.xtr")); // no temporary left behind

    {
        // The disk fills up halfway through the new contents.
        FileSizeLimit limit(8);
        EXPECT_THROW(fs::writeAtomic("record.xtr", std::string_view("a much longer third version")),
                     FileError);
    }
    EXPECT_EQ(TempRoots::read(roots.user() + "/record.xtr"), "second version");
    EXPECT_THAT(fs::list("", "*.*"), ElementsAre("record.xtr"));

    // The target directory is missing.
    try {
        fs::writeAtomic("Brak\\record.xtr", std::string_view("x"));
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_THAT(e.what(), HasSubstr(roots.user() + "/Brak/record.xtr"));
    }
}

TEST(FileWriting, AtomicWriteIntoAReadOnlyDirectoryFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions are not enforced for root";
    TempRoots roots;
    TempRoots::write(roots.user() + "/Nagrane/record.xtr", "old");
    std::filesystem::permissions(roots.user() + "/Nagrane", std::filesystem::perms(0555));
    EXPECT_THROW(fs::writeAtomic("Nagrane\\record.xtr", std::string_view("new")), FileError);
    EXPECT_EQ(TempRoots::read(roots.user() + "/Nagrane/record.xtr"), "old");
}

TEST(FileWriting, ExclusiveCreationNeverTouchesAnExistingFileAndLeavesNoPartialOne) {
    TempRoots roots;
    const auto header = bytes(std::string(46, 'W'));
    EXPECT_TRUE(fs::createExclusive("Nagranie0.wav", header));
    EXPECT_EQ(fs::fileSize("Nagranie0.wav"), 46u);
    EXPECT_FALSE(fs::createExclusive("Nagranie0.wav", bytes("other")));
    EXPECT_EQ(TempRoots::read(roots.user() + "/Nagranie0.wav"), std::string(46, 'W'));

    {
        FileSizeLimit limit(20);
        EXPECT_FALSE(fs::createExclusive("Nagranie1.wav", header));
    }
    EXPECT_FALSE(std::filesystem::exists(roots.user() + "/Nagranie1.wav"));
}

TEST(FileWriting, DamagedFilesGoAsideAndOnlyOurStaleTemporariesAreRemoved) {
    TempRoots roots;
    const std::string n = roots.user() + "/Nagrane/";
    TempRoots::write(n + "record.xtr", "first");
    EXPECT_EQ(fs::moveAside("Nagrane\\record.xtr"), n + "record.xtr.bad");
    TempRoots::write(n + "record.xtr", "second");
    EXPECT_EQ(fs::moveAside("Nagrane\\record.xtr"), n + "record.xtr.bad2");
    EXPECT_EQ(TempRoots::read(n + "record.xtr.bad"), "first");
    EXPECT_EQ(TempRoots::read(n + "record.xtr.bad2"), "second");
    EXPECT_EQ(fs::moveAside("Nagrane\\record.xtr"), "") << "nothing to move";

    // Temporaries are "." + name + "." + six characters; everything else stays.
    for (const char* f :
         {".record.xtr.Ab3dE1", ".Nagranie4.wav.zz99AA", ".Nagranie12.wav.q1w2e3", "record.xtr",
          ".record.xtr.bad", ".record.xtr.Ab3dE", ".notes.txt.Ab3dE1", ".Nagranie4.wav"})
        TempRoots::write(n + f, "x");
    EXPECT_EQ(fs::removeStaleTemporaries("Nagrane", "record.xtr"), 1);
    EXPECT_EQ(fs::removeStaleTemporaries("Nagrane", "Nagranie*.wav"), 2);
    EXPECT_THAT(sorted(fs::list("Nagrane", "*.*")),
                ElementsAre(".Nagranie4.wav", ".notes.txt.Ab3dE1", ".record.xtr.Ab3dE", ".record.xtr.bad",
                            "record.xtr", "record.xtr.bad", "record.xtr.bad2"));

    // Exclusive creation leaves no temporary of its own.
    EXPECT_TRUE(fs::createExclusive("Nagrane\\Nagranie5.wav", bytes("RIFF")));
    EXPECT_EQ(fs::removeStaleTemporaries("Nagrane", "Nagranie*.wav"), 0);
    EXPECT_EQ(TempRoots::read(n + "Nagranie5.wav"), "RIFF");
}

TEST(FileReading, ReadsWholeFilesAndNamesThePathInErrors) {
    TempRoots roots;
    TempRoots::write(roots.prog() + "/Data/data.ini", "[DaneProgramu]\nZakladka=3\n");
    EXPECT_EQ(fs::readAll("Data\\data.ini").size(), 26u);
    EXPECT_THROW(fs::readAll("Data\\data.ini", 10), FileError);
    try {
        fs::readAll("Data\\brak.ini");
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_THAT(e.what(), HasSubstr(roots.prog() + "/Data/brak.ini"));
    }
    EXPECT_THROW(fs::readAll("Data"), FileError); // a directory
    EXPECT_EQ(fs::fileSize("Data\\brak.ini"), 0u);

    EXPECT_TRUE(fs::createDir("Nagrane\\a\\b"));
    EXPECT_TRUE(fs::dirExists("nagrane\\A"));
    EXPECT_TRUE(fs::createDir("Nagrane")); // already there
    TempRoots::write(roots.user() + "/gone.txt", "x");
    EXPECT_TRUE(fs::remove("gone.txt"));
    EXPECT_FALSE(fs::remove("gone.txt"));
}
