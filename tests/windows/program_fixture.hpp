// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Program.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "tests/support/RunningProgram.hpp"
#include "tests/support/TempDir.hpp"
#include "tests/support/TestDriver.hpp"
#include "windows/ProgramWindows.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace wvtest {

namespace stdfs = std::filesystem;

inline stdfs::path sourceDir() {
    return WV_SOURCE_DIR;
}

// A scratch installation: "prog" stands for the program directory, "user" for the user directory, and
// "run" holds the single-instance lock, so that runs never meet a copy the user started.
class Installation {
public:
    enum class Data { Shipped, Linked, Copied };

    // Shipped: the program directory is the source tree itself. Linked: prog/Data and prog/Resource are
    // symbolic links to the shipped ones except for what a test replaces. Copied: real copies, to remove
    // or add files.
    explicit Installation(Data data = Data::Shipped) {
        stdfs::create_directories(user());
        stdfs::create_directories(run());
        stdfs::permissions(run(), stdfs::perms::owner_all, stdfs::perm_options::replace);
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old;
        ::setenv("XDG_RUNTIME_DIR", run().c_str(), 1);
        if (data == Data::Shipped) {
            prog_ = sourceDir();
        } else {
            prog_ = base() / "prog";
            stdfs::create_directories(prog_ / "Data");
            for (const char* dir : {"Bio", "Sio", "Smd", "Intf"})
                place(sourceDir() / "Data" / dir, prog_ / "Data" / dir, data);
            stdfs::copy_file(sourceDir() / "Data" / "data.ini", prog_ / "Data" / "data.ini");
            stdfs::copy_file(sourceDir() / "Data" / "slowa.txt", prog_ / "Data" / "slowa.txt");
            place(sourceDir() / "Resource", prog_ / "Resource", data);
            // A copy of the program started here keeps its files here, like the in-process one.
            std::ofstream(prog_ / "portable");
        }
        platform::fs::setRoots(prog_.string(), user().string());
    }
    ~Installation() {
        platform::fs::setRoots("", "");
        if (oldRuntime_.empty())
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    stdfs::path base() const { return dir_.dir(); }
    stdfs::path prog() const { return prog_; }
    stdfs::path user() const { return base() / "user"; }
    // The folder of the first child, where a single child's files are kept.
    stdfs::path child() const { return user() / "Dzieci" / "1"; }
    stdfs::path run() const { return base() / "run"; }

    // Replaces a linked directory by real copies of its files, so single files can go.
    void unlink(const stdfs::path& relativeDir) {
        const stdfs::path d = prog_ / relativeDir;
        if (!stdfs::is_symlink(d)) return;
        const stdfs::path target = stdfs::read_symlink(d);
        stdfs::remove(d);
        stdfs::copy(target, d, stdfs::copy_options::recursive);
    }
    void writeIni(const std::string& text) {
        std::ofstream(prog_ / "Data" / "data.ini", std::ios::binary | std::ios::trunc) << text;
    }

private:
    static void place(const stdfs::path& from, const stdfs::path& to, Data data) {
        if (data == Data::Linked)
            stdfs::create_directory_symlink(from, to);
        else
            stdfs::copy(from, to, stdfs::copy_options::recursive);
    }

    wvtest::TempDir dir_{"ui"};
    stdfs::path prog_;
    std::string oldRuntime_;
};

// What the program returned (and that it returned at all).
struct Outcome {
    bool returned = false;
    int code = -1;
};

// The real program inside the test driver.
inline std::unique_ptr<platform::testing::Driver> startProgram(Outcome& outcome, platform::Size screen,
                                                               std::vector<std::string> args = {}) {
    return std::make_unique<platform::testing::Driver>(
        [&outcome] {
            outcome.code = runProgram(platform::app().args(), wvtest::observeProgram());
            outcome.returned = true;
        },
        platform::testing::DriverOptions{.screen = screen, .args = std::move(args)});
}

// A picture file or resource decoded the way the program decodes it.
inline platform::Bitmap jpeg(const std::string& gamePath) {
    platform::Bitmap b;
    loadJpeg(b, gamePath);
    return b;
}
inline platform::Bitmap bmp(const std::string& gamePath) {
    platform::Bitmap b;
    loadBmp(b, gamePath);
    return b;
}

inline std::string readFile(const stdfs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const stdfs::path& p, const std::string& bytes) {
    stdfs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

// Whether a form of that name is on screen.
inline bool shown(platform::testing::Driver& d, const std::string& formName) {
    for (const std::string& l : d.dump())
        if (l.find("name=" + formName + " ") != std::string::npos) return true;
    return false;
}

// The text of the named control, as the dump gives it.
inline std::string controlText(platform::testing::Driver& d, const std::string& name) {
    for (const std::string& l : d.dump())
        if (l.find("name=" + name + " ") != std::string::npos) {
            const std::size_t at = l.find("text=\"");
            return at == std::string::npos ? "" : l.substr(at + 6, l.size() - at - 7);
        }
    return "";
}

// Holds the adults' gate's button (1024 × 768 layout) for holdMs.
inline void holdAdultGate(platform::testing::Driver& d, int holdMs = 2100) {
    const platform::Rect hold = platform::Rect::fromSize(272 + 60, 249 + 190, 200, 56);
    d.press(hold.left + 10, hold.top + 10);
    d.wait(holdMs);
    d.release(hold.left + 10, hold.top + 10);
}

// From the main menu to the word browser showing only the words with SZ at the end.
inline void browseSzAtTheEnd(platform::testing::Driver& d) {
    d.click("slowa");
    d.wait(100);
    holdAdultGate(d);
    for (const char* filter : {"gloska2", "gloska3", "gloska4", "gloska5", "gloska6", "gloska7", "gloska8",
                               "pozycja1", "pozycja2"})
        d.click(filter);
}

} // namespace wvtest
