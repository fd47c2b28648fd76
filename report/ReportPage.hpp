// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "report/Progress.hpp"
#include "report/StatisticsReader.hpp"

#include <cstdint>
#include <string>
#include <string_view>

// The progress report as one self-contained Polish HTML page (inline SVG charts and CSS, no scripts,
// printable on A4) and the table of games as CSV.
namespace raport {

// What the page says about where its figures come from.
struct Opis {
    std::string plikStatystyk; // shown in the footer
    std::string plikCsv;       // name of the CSV written beside the page; empty when there is none
    std::int64_t terazSek = 0; // when the report is made, UTC seconds
};

// The table shows the newest games up to this many (the CSV has them all); charts switch to daily means
// above kMaksPunktow points and the weekly chart shows the last kMaksTygodni weeks.
inline constexpr int kMaksWierszy = 1000;
inline constexpr int kMaksPunktow = 300;
inline constexpr int kMaksTygodni = 52;

std::string html(const Odczyt& odczyt, const Postepy& postepy, const Opis& opis);
// UTF-8 with a byte-order mark (so spreadsheets take it as UTF-8), comma-separated, CRLF, oldest first.
std::string csv(const Postepy& postepy);

// Text made safe for HTML element content and quoted attribute values.
std::string htmlTekst(std::string_view tekst);

// Names the page and the CSV use.
const char* nazwaGry(int gra);
std::string nazwyGlosek(std::uint16_t gloski);
std::string nazwyPozycji(std::uint16_t pozycja);
const char* nazwaIlosci(int poziom);
const char* tekstOceny(int ocena);

} // namespace raport
