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
namespace report {

// What the page says about where its figures come from.
struct Descriptor {
    std::string statsFile;       // shown in the footer
    std::string csvFile;         // name of the CSV written beside the page; empty when there is none
    std::int64_t nowSeconds = 0; // when the report is made, UTC seconds
};

// The table shows the newest games up to this many (the CSV has them all); charts switch to daily means
// above kMaxPoints points and the weekly chart shows the last kMaxWeeks weeks.
inline constexpr int kMaxRows = 1000;
inline constexpr int kMaxPoints = 300;
inline constexpr int kMaxWeeks = 52;

std::string html(const ReadResult& readout, const ProgressTest& progress, const Descriptor& description);
// UTF-8 with a byte-order mark (so spreadsheets take it as UTF-8), comma-separated, CRLF, oldest first.
std::string csv(const ProgressTest& progress);

// Text made safe for HTML element content and quoted attribute values.
std::string htmlText(std::string_view text);

// Names the page and the CSV use.
const char* gameName(int game);
std::string soundNames(std::uint16_t sounds);
std::string positionNames(std::uint16_t position);
const char* quantityName(int level);
const char* gradeText(int rating);

} // namespace report
