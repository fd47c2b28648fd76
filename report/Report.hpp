// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace platform {
class Form;
}

// The progress report as files: read the statistics file, write the page and its CSV, and the two ways in
// (the command line and the main menu's button).
namespace report {

inline constexpr const char* kStatisticsFileName = "prgst1.stt";
inline constexpr const char* kReportName = "Raport postępów.html";

struct SavedReport {
    std::string child;     // the child's name; empty when the report names none
    std::string html, csv; // native paths written; an overview has no CSV
    int gameCount = 0;
    std::vector<std::string> notes;
    std::vector<SavedReport> children; // an overview's pages of each child, in its order
    int failures = 0;                  // an overview's child pages that could not be written
};

// A child as the profiles list it: the name, and the folder under the user directory holding its files
// (a game path such as "Dzieci\2").
struct ChildEntry {
    std::string name;
    std::string folder;
};

// Reads the statistics file of the current user subfolder (never changing it) and replaces the page at
// htmlPath and the CSV beside it, each atomically; both name childName. Raises platform::FileError when
// either cannot be written.
SavedReport saveReport(const std::string& htmlPath, const std::string& childName = {});
// Every child's own page and CSV in its folder (under the default names), each from that child's
// statistics file alone, then one page at htmlPath comparing them. A child's page that cannot be written
// is counted and noted; the overview itself raises platform::FileError when it cannot be written.
SavedReport saveOverview(const std::string& htmlPath, const std::vector<ChildEntry>& children);
// FILE.html → FILE.csv (any other name gets ".csv" added).
std::string csvPath(const std::string& htmlPath);
// The page's place when none is given: the current user subfolder (the user directory when none is set).
std::string defaultPath();
// A file:// address of an absolute path, percent-encoded.
std::string fileUrl(const std::string& path);

// "raport [--dziecko NAME] [FILE.html]": the named child's report (its folder by default); without a name,
// the report of the only child (or of the current subfolder when none is listed), or with two children or
// more the overview (the user directory by default) and every child's page. Prints where; 0 on success,
// 1 when something could not be written, 2 for a wrong command line or an unknown name.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::vector<ChildEntry>& children = {});

// The main menu's button: writes the report of the current subfolder's child (named childName) there and
// opens it in the browser; tells the user (in a message box over owner) when writing failed or no browser
// could be started.
void openReport(platform::Form* owner, const std::string& childName = {});

} // namespace report
