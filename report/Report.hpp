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
    std::string html, csv; // native paths written
    int gameCount = 0;
    std::vector<std::string> notes;
};

// Reads the statistics file (never changing it) and replaces the page at htmlPath and the CSV beside it,
// each atomically. Raises platform::FileError when either cannot be written.
SavedReport saveReport(const std::string& htmlPath);
// FILE.html → FILE.csv (any other name gets ".csv" added).
std::string csvPath(const std::string& htmlPath);
// The page's place when none is given: the user directory.
std::string defaultPath();
// A file:// address of an absolute path, percent-encoded.
std::string fileUrl(const std::string& path);

// "raport [FILE.html]": writes the report, prints where; 0 on success, 1 when it could not be written,
// 2 for a wrong command line.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The main menu's button: writes the report into the user directory and opens it in the browser; tells the
// user (in a message box over owner) when writing failed or no browser could be started.
void openReport(platform::Form* owner);

} // namespace report
