// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace report {

struct ExportResult {
    std::string folder; // native path of the folder made
    std::string error;  // Polish; empty on success
};

// Everything kept for one child, for the parents: a copy of the child's folder (statistics file,
// settings, recordings) with a fresh report and table beside it, in a new folder
// "Wirowanki - NAME - YYYY-MM-DD" under parent. The folder is built aside and renamed into place, so it
// is whole or not there; an existing one is never replaced (" (2)"... is added).
ExportResult exportChild(const std::string& childFolder, const std::string& childName,
                         const std::string& parent);

} // namespace report
