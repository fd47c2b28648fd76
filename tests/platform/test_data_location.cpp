// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/system/Fs.hpp"
#include "temp_dir.hpp"

#include <gtest/gtest.h>

using platform::fs::findDataDir;

// Where the data set is looked for: beside the executable, then ../share/wirowanki, then $XDG_DATA_DIRS.
TEST(DataLocation, BesideTheProgramThenTheSharedDirectoryThenTheXdgListElseTheProgramDirectory) {
    struct Case {
        const char* name;
        std::vector<const char*> dataDirs; // under the temporary base, each gets Data/
        const char* xdgDataDirs;           // "@" stands for the temporary base
        const char* wantDir;               // relative to the base
        bool wantInstalled;
    };
    const Case cases[] = {
        {"beside wins", {"usr/bin", "usr/share/wirowanki", "xdg/wirowanki"}, "@/xdg", "usr/bin", false},
        {"shared beats the list",
         {"usr/share/wirowanki", "xdg/wirowanki"},
         "@/xdg",
         "usr/share/wirowanki",
         true},
        {"list in order, trailing slash",
         {"b/wirowanki", "c/wirowanki"},
         "@/a:@/b/:@/c",
         "b/wirowanki",
         true},
        {"relative and empty entries are skipped", {"c/wirowanki"}, "xdg::@/c", "c/wirowanki", true},
        {"nothing found", {}, "@/a:@/b", "usr/bin", false},
        {"a file named Data is no data set", {}, "@/f", "usr/bin", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempRoots roots;
        const std::string base = roots.base();
        std::filesystem::create_directories(base + "/usr/bin");
        for (const char* d : c.dataDirs)
            std::filesystem::create_directories(base + "/" + d + "/Data");
        TempRoots::write(base + "/f/wirowanki/Data", "not a directory");
        std::string xdg = c.xdgDataDirs;
        for (std::size_t at; (at = xdg.find('@')) != std::string::npos;)
            xdg.replace(at, 1, base);
        const auto found = findDataDir(base + "/usr/bin", xdg.c_str());
        EXPECT_EQ(found.dir, base + "/" + c.wantDir);
        EXPECT_EQ(found.installed, c.wantInstalled);
    }
}
