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
namespace raport {

inline constexpr const char* kPlikStatystyk = "prgst1.stt";
inline constexpr const char* kNazwaRaportu = "Raport postępów.html";

struct Zapisany {
    std::string html, csv; // native paths written
    int gier = 0;
    std::vector<std::string> uwagi;
};

// Reads the statistics file (never changing it) and replaces the page at sciezkaHtml and the CSV beside it,
// each atomically. Raises platform::FileError when either cannot be written.
Zapisany zapiszRaport(const std::string& sciezkaHtml);
// FILE.html → FILE.csv (any other name gets ".csv" added).
std::string sciezkaCsv(const std::string& sciezkaHtml);
// The page's place when none is given: the user directory.
std::string domyslnaSciezka();
// A file:// address of an absolute path, percent-encoded.
std::string adresPliku(const std::string& sciezka);

// "raport [FILE.html]": writes the report, prints where; 0 on success, 1 when it could not be written,
// 2 for a wrong command line.
int polecenie(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The main menu's button: writes the report into the user directory and opens it in the browser; tells the
// user (in a message box over owner) when writing failed or no browser could be started.
void otworzRaport(platform::Form* owner);

} // namespace raport
