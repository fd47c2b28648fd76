// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program as a user gets it: installed under a prefix (staged with DESTDIR), started from elsewhere.
#include "tests/support/TempDir.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace stdfs = std::filesystem;

stdfs::path buildDir() {
    return stdfs::read_symlink("/proc/self/exe").parent_path();
}

std::string slurp(const stdfs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool haveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct Outcome {
    int code = -1;
    std::string out, err;
};

using Snapshot = std::map<std::string, std::pair<std::uintmax_t, stdfs::file_time_type>>;

// Every entry under dir with its size and modification time: what a run must leave as it found.
Snapshot snapshot(const stdfs::path& dir) {
    Snapshot files;
    for (const auto& e : stdfs::recursive_directory_iterator(dir))
        files[e.path().string()] = {e.is_regular_file() ? e.file_size() : 0, e.last_write_time()};
    return files;
}

// The entries made, removed or changed since before.
std::vector<std::string> changes(const Snapshot& before, const Snapshot& after) {
    std::vector<std::string> changed;
    for (const auto& [path, state] : after)
        if (auto it = before.find(path); it == before.end() || it->second != state) changed.push_back(path);
    for (const auto& [path, state] : before)
        if (!after.contains(path)) changed.push_back(path);
    return changed;
}

// One staged installation under /usr, with a home, a runtime directory and a working directory of its own.
class StagedInstall : public ::testing::Test {
protected:
    void SetUp() override {
        if (!stdfs::exists(buildDir() / "cmake_install.cmake") || !stdfs::exists(buildDir() / "wirowanki"))
            GTEST_SKIP() << "no built program and install rules beside the tests";
        dir_ = std::make_unique<wvtest::TempDir>("install");
        base_ = dir_->dir();
        for (const char* d : {"dest", "home", "run", "cwd"})
            stdfs::create_directories(base_ / d);
        stdfs::permissions(base_ / "run", stdfs::perms::owner_all, stdfs::perm_options::replace);
        const Outcome r = run("DESTDIR=" + (base_ / "dest").string() + " " WV_CMAKE " --install " +
                              buildDir().string() + " --prefix /usr");
        ASSERT_EQ(r.code, 0) << r.out << r.err;
    }
    void TearDown() override { dir_.reset(); }

    stdfs::path usr() const { return base_ / "dest/usr"; }

    // A shell command run from the scratch working directory with a private home; env goes first.
    Outcome run(const std::string& command, const std::string& env = "") const {
        Outcome r;
        const std::string cmd = "cd " + (base_ / "cwd").string() +
                                " && env -u XDG_DATA_HOME HOME=" + (base_ / "home").string() +
                                " XDG_RUNTIME_DIR=" + (base_ / "run").string() + " " + env + " " + command +
                                " >" + (base_ / "out").string() + " 2>" + (base_ / "err").string();
        const int status = std::system(cmd.c_str());
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = slurp(base_ / "out");
        r.err = slurp(base_ / "err");
        return r;
    }

    std::unique_ptr<wvtest::TempDir> dir_;
    stdfs::path base_;
};

} // namespace

TEST_F(StagedInstall, PutsTheProgramDataMenuEntryMetadataAndSquareIconsOfEverySizeUnderThePrefix) {
    for (const char* file :
         {WV_GAMESDIR "/wirowanki", "share/wirowanki/Data/data.ini", "share/wirowanki/Data/Smd/samochod.pw",
          "share/wirowanki/Resource/a_b.bmp", "share/applications/pl.wirowanki.Wirowanki.desktop",
          "share/metainfo/pl.wirowanki.Wirowanki.metainfo.xml",
          "share/icons/hicolor/scalable/apps/pl.wirowanki.Wirowanki.svg", "share/man/man6/wirowanki.6.gz",
          "share/doc/wirowanki/copyright", "share/doc/wirowanki/changelog.gz"})
        EXPECT_TRUE(stdfs::exists(usr() / file)) << file;
    EXPECT_NE(slurp(usr() / "share/metainfo/pl.wirowanki.Wirowanki.metainfo.xml")
                  .find("<release version=\"" WV_VERSION "\""),
              std::string::npos);
    for (int size : {48, 64, 128, 256, 512}) {
        const std::string dim = std::to_string(size) + "x" + std::to_string(size);
        const std::string png =
            slurp(usr() / "share/icons/hicolor" / dim / "apps/pl.wirowanki.Wirowanki.png");
        ASSERT_GE(png.size(), 24u) << dim;
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << dim;
        // IHDR: big-endian width and height at bytes 16 and 20.
        const std::string be(std::string(2, '\0') + char(size >> 8) + char(size & 0xFF));
        EXPECT_EQ(png.substr(16, 4), be) << dim;
        EXPECT_EQ(png.substr(20, 4), be) << dim;
    }
}

TEST_F(StagedInstall, ThePlayedGameIsRecordedInTheUserDirectoryAndNothingIsWrittenUnderThePrefix) {
    struct Case {
        const char* env;
        const char* userDir; // relative to the scratch base
    } const cases[] = {{"XDG_DATA_HOME=@/home/data", "home/data/wirowanki"},
                       {"", "home/.local/share/wirowanki"}};
    const std::string script = (base_ / "script").string();
    // Main menu, the memory tab, a game started, one card turned, stopped; the results screen, then out.
    std::ofstream(script) << "wait 2000\nclick 611 224\nclick 455 535\nwait 500\nclick 205 220\nwait 300\n"
                             "key 27\nwait 100\nkey 27\nclick 365 535\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.userDir);
        std::string env = c.env;
        if (const auto at = env.find('@'); at != std::string::npos) env.replace(at, 1, base_.string());
        const auto before = snapshot(base_ / "dest");
        const Outcome r = run((usr() / WV_GAMESDIR / "wirowanki").string() +
                                  " --headless --window 800x600 --script " + script,
                              env);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find("form-shown Memory\n"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("form-shown Koniec gry\n"), std::string::npos) << r.out;
        EXPECT_EQ(changes(before, snapshot(base_ / "dest")), std::vector<std::string>{});
        EXPECT_TRUE(stdfs::is_empty(base_ / "cwd"));
        // The header of program 1, then one 44-byte record of game 2 (memory).
        const std::string stats = slurp(base_ / c.userDir / "Dzieci" / "1" / "prgst1.stt");
        ASSERT_EQ(stats.size(), 64u);
        EXPECT_EQ(stats.substr(0, 4), std::string("\x01\0\0\0", 4));
        EXPECT_EQ(stats.substr(20, 4), std::string("\x02\0\0\0", 4));
        stdfs::remove_all(base_ / "home");
        stdfs::create_directories(base_ / "home");
    }
}

TEST_F(StagedInstall, TheMenuCommandAnswersHelpVersionAndRejectsUnknownOptions) {
    std::string exec;
    std::istringstream desktop(slurp(usr() / "share/applications/pl.wirowanki.Wirowanki.desktop"));
    for (std::string line; std::getline(desktop, line);)
        if (line.starts_with("Exec=")) exec = line.substr(5);
    // By its full path: games/ is not on every session's PATH. Started here from the staging directory.
    ASSERT_EQ(exec, "/usr/" WV_GAMESDIR "/wirowanki");
    exec = (base_ / "dest").string() + exec;
    struct Case {
        const char* args;
        int code;
        std::string out;
        const char* errStart;
    } const cases[] = {
        {"--version", 0, "wirowanki " WV_VERSION "\n", ""},
        {"--bogus", 2, "", "wirowanki: unknown option --bogus\nusage: wirowanki "},
        {"--window", 2, "", "wirowanki: --window needs a value\nusage: wirowanki "},
        {"-V", 0, "wirowanki " WV_VERSION "\n", ""},
        {"foo", 2, "", "wirowanki: unknown command foo\nusage: wirowanki "},
        {"-x", 2, "", "wirowanki: unknown option -x\nusage: wirowanki "},
        {"raport a.html b", 2, "", "wirowanki: unexpected argument b\nusage: wirowanki "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const Outcome r = run(exec + " " + c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, c.out);
        EXPECT_TRUE(r.err.starts_with(c.errStart)) << r.err;
    }
    // Help: the usage line, then one line for every option and the resource check.
    const Outcome help = run(exec + " --help");
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(run(exec + " -h").out, help.out);
    std::istringstream lines(help.out);
    std::vector<std::string> firstWords;
    for (std::string line, word; std::getline(lines, line);)
        if (std::istringstream(line) >> word) firstWords.push_back(word);
    EXPECT_EQ(firstWords, (std::vector<std::string>{"usage:", "[--script", "z", "raport", "--dziecko",
                                                    "--window", "--skala", "--headless", "--script",
                                                    "--script-coords", "--max-virtual-ms", "-h,", "-V,"}));
}

TEST_F(StagedInstall, TheMenuEntryAndTheMetadataPassTheirValidators) {
    struct Case {
        const char* tool;
        const char* args;
        const char* file;
    } const cases[] = {
        {"desktop-file-validate", "", "share/applications/pl.wirowanki.Wirowanki.desktop"},
        {"appstreamcli", "validate --no-net", "share/metainfo/pl.wirowanki.Wirowanki.metainfo.xml"},
    };
    std::string missing;
    for (const Case& c : cases) {
        if (!haveTool(c.tool)) {
            missing += std::string(" ") + c.tool;
            continue;
        }
        const Outcome r = run(std::string(c.tool) + " " + c.args + " " + (usr() / c.file).string());
        EXPECT_EQ(r.code, 0) << c.tool << "\n" << r.out << r.err;
    }
    if (!missing.empty())
        GTEST_SKIP() << "not installed, not checked:" << missing
                     << " (Debian: desktop-file-utils, appstream)";
}

namespace {

// A shell command's status and what it printed on standard output (standard error is dropped).
Outcome shell(const std::string& command, const stdfs::path& scratch) {
    Outcome r;
    const int status = std::system((command + " >" + (scratch / "sh.out").string() + " 2>/dev/null").c_str());
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(scratch / "sh.out");
    return r;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

class Scratch : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::make_unique<wvtest::TempDir>("pkg");
        base_ = dir_->dir();
    }
    void TearDown() override { dir_.reset(); }
    std::unique_ptr<wvtest::TempDir> dir_;
    stdfs::path base_;
};

} // namespace

// Packaging twice from one build directory gives the same package, byte for byte, and lintian has no
// error or warning for it.
TEST_F(Scratch, TheDebianPackageIsTheSameEachTimeAndLintianFindsNothingToWarnAbout) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the package of the normal build is the one checked";
#endif
    if (!stdfs::exists(buildDir() / "CPackConfig.cmake") || !haveTool("dpkg-deb") ||
        !haveTool("dpkg-shlibdeps"))
        GTEST_SKIP() << "no package configuration, dpkg-deb or dpkg-shlibdeps (Debian: dpkg-dev)";
    const std::string deb = "wirowanki_" WV_VERSION "_amd64.deb";
    std::vector<std::string> listings, sums;
    for (const char* run : {"one", "two"}) {
        const stdfs::path out = base_ / run;
        const Outcome made = shell("cd " + buildDir().string() +
                                       " && env -u SOURCE_DATE_EPOCH " WV_CPACK " -G DEB -B " + out.string(),
                                   base_);
        ASSERT_EQ(made.code, 0) << made.out;
        ASSERT_TRUE(stdfs::exists(out / deb)) << run;
        listings.push_back(shell("dpkg-deb -c " + (out / deb).string() + " | awk '{print $6}'", base_).out);
        sums.push_back(shell("sha256sum < " + (out / deb).string(), base_).out);
    }
    EXPECT_EQ(listings[0], listings[1]);
    EXPECT_EQ(sums[0], sums[1]);
    const stdfs::path pkg = base_ / "one" / deb;
    // Everything under /usr; the game where Debian puts games, its page, changelog and copyright.
    std::vector<std::string> top;
    for (const std::string& entry : lines(listings[0]))
        if (std::count(entry.begin(), entry.end(), '/') <= 2) top.push_back(entry);
    EXPECT_EQ(top, (std::vector<std::string>{"./usr/"}));
    for (const char* file : {"./usr/games/wirowanki", "./usr/share/man/man6/wirowanki.6.gz",
                             "./usr/share/doc/wirowanki/copyright", "./usr/share/doc/wirowanki/changelog.gz",
                             "./usr/share/wirowanki/Data/data.ini"})
        EXPECT_NE(listings[0].find(std::string(file) + "\n"), std::string::npos) << file;
    // The copyright file opens with the file paragraphs of .reuse/dep5 as they are.
    const std::string copyright =
        shell("dpkg-deb --fsys-tarfile " + pkg.string() + " | tar -xO ./usr/share/doc/wirowanki/copyright",
              base_)
            .out;
    EXPECT_EQ(copyright.rfind(slurp(stdfs::path(WV_SOURCE_DIR) / ".reuse/dep5"), 0), 0u);
    // The changelog's newest entry is this version.
    const std::string changelog = shell("dpkg-deb --fsys-tarfile " + pkg.string() +
                                            " | tar -xO ./usr/share/doc/wirowanki/changelog.gz | gzip -dc",
                                        base_)
                                      .out;
    EXPECT_EQ(changelog.rfind("wirowanki (" WV_VERSION ") ", 0), 0u) << changelog.substr(0, 80);
    for (const std::string& l : lines(shell("dpkg-deb -f " + pkg.string() + " Description", base_).out))
        EXPECT_LE(l.size(), 80u) << l;
    if (!haveTool("lintian"))
        GTEST_SKIP() << "lintian not installed, the package is not judged (Debian: lintian)";
    std::string complaints;
    for (const std::string& l : lines(shell("lintian " + pkg.string(), base_).out))
        if (l.starts_with("E: ") || l.starts_with("W: ")) complaints += l + "\n";
    EXPECT_EQ(complaints, "");
}

// Every file of the tree names its copyright and licence, in a header or in .reuse/dep5.
TEST_F(Scratch, TheSourceTreeMeetsTheReuseRules) {
    if (!haveTool("reuse") || !haveTool("git"))
        GTEST_SKIP() << "reuse or git not installed (Debian: reuse, git)";
    const Outcome r = shell("reuse --root " WV_SOURCE_DIR " lint", base_);
    EXPECT_EQ(r.code, 0) << r.out;
}

// The header tool tags each kind of source file in its own comment style, after a shebang, leaves data and
// tagged files alone, and changes nothing when run again.
TEST_F(Scratch, TheHeaderToolTagsEachSourceFileOnceInItsOwnCommentStyle) {
    if (!haveTool("git") || !haveTool("python3")) GTEST_SKIP() << "git or python3 not installed";
    // Spelled in pieces so that the licence checker does not take them for this file's own tags.
    const std::string tags = "SPDX-"
                             "FileCopyrightText: 2027 Wirowanki authors\n";
    const std::string licence = "SPDX-"
                                "License-Identifier: GPL-3.0-or-later\n";
    struct Case {
        const char* file;
        std::string before, after;
    } const cases[] = {
        {"a.cpp", "int x;\n", "// " + tags + "// " + licence + "\nint x;\n"},
        {"b.hpp", "\n#pragma once\n", "// " + tags + "// " + licence + "\n#pragma once\n"},
        {"CMakeLists.txt", "project(x)\n", "# " + tags + "# " + licence + "\nproject(x)\n"},
        {"s.sh", "#!/bin/sh\necho\n", "#!/bin/sh\n# " + tags + "# " + licence + "\necho\n"},
        {"t.py", "#!/usr/bin/env python3\n# -*- coding: utf-8 -*-\nx = 1\n",
         "#!/usr/bin/env python3\n# -*- coding: utf-8 -*-\n# " + tags + "# " + licence + "\nx = 1\n"},
        {"ci/run", "#!/usr/bin/env bash\nexit 0",
         "#!/usr/bin/env bash\n# " + tags + "# " + licence + "\nexit 0"},
        {"done.cpp", "// " + licence + "int y;\n", "// " + licence + "int y;\n"},
        {"notes.txt", "plain\n", "plain\n"},
        {"Data/gen.py", "x = 2\n", "x = 2\n"},
    };
    const stdfs::path repo = base_ / "repo";
    stdfs::create_directories(repo / "tools");
    stdfs::copy_file(stdfs::path(WV_SOURCE_DIR) / "tools/spdx_headers.py", repo / "tools/spdx_headers.py");
    for (const Case& c : cases) {
        stdfs::create_directories((repo / c.file).parent_path());
        std::ofstream(repo / c.file, std::ios::binary) << c.before;
    }
    const std::string tool = "cd " + repo.string() +
                             " && git init -q && SOURCE_DATE_EPOCH=1798761600 python3 tools/spdx_headers.py";
    ASSERT_EQ(shell(tool, base_).code, 0);
    for (const Case& c : cases)
        EXPECT_EQ(slurp(repo / c.file), c.after) << c.file;
    // Again: nothing left to tag, nothing changed, and the check agrees.
    const Outcome again = shell(tool, base_);
    EXPECT_EQ(again.out, "");
    for (const Case& c : cases)
        EXPECT_EQ(slurp(repo / c.file), c.after) << c.file;
    EXPECT_EQ(shell(tool + " --check", base_).code, 0);
}
