// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "report/Progress.hpp"
#include "report/StatisticsReader.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The progress report as one self-contained Polish HTML page (inline SVG charts and CSS, no scripts,
// printable on A4) and the table of games as CSV.
namespace report {

// What the page says about where its figures come from.
struct Descriptor {
    std::string statsFile;       // shown in the footer
    std::string csvFile;         // name of the CSV written beside the page; empty when there is none
    std::int64_t nowSeconds = 0; // when the report is made, UTC seconds
    std::string child = {};      // whose report it is; empty when it names nobody
};

// One child's line of the overview of all children.
struct ChildSummary {
    std::string name;
    std::string link; // address of the child's own page (relative or file://); empty when it was not written
    int gameCount = 0, days = 0;
    std::int64_t timeSeconds = 0;
    std::optional<LocalTime> last;
    std::array<std::optional<double>, kSoundCount> correctShare; // per sound, percent
    bool damaged = false; // the statistics file could be read only in part
};
ChildSummary summarize(const ReadResult& readout, const ProgressTest& progress);

// The table shows the newest games up to this many (the CSV has them all); charts switch to daily means
// above kMaxPoints points and the weekly chart shows the last kMaxWeeks weeks.
inline constexpr int kMaxRows = 1000;
inline constexpr int kMaxPoints = 300;
inline constexpr int kMaxWeeks = 52;

std::string html(const ReadResult& readout, const ProgressTest& progress, const Descriptor& description);
// UTF-8 with a byte-order mark (so spreadsheets take it as UTF-8), comma-separated, CRLF, oldest first.
// The child's name fills the first column of every row (empty when there is none), so every table has
// the same columns.
std::string csv(const ProgressTest& progress, std::string_view childName = {});
// The page comparing the children, one row each, in the same look as a child's page.
std::string overviewHtml(const std::vector<ChildSummary>& children, std::int64_t nowSeconds);

// Text made safe for HTML element content and quoted attribute values.
std::string htmlText(std::string_view text);

// Names the page and the CSV use.
const char* gameName(int game);
std::string soundNames(std::uint16_t sounds);
std::string positionNames(std::uint16_t position);
const char* quantityName(int level);
const char* gradeText(int rating);

} // namespace report
