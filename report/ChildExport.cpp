// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/ChildExport.hpp"

#include "platform/loop/Clock.hpp"
#include "platform/system/Fs.hpp"
#include "report/Progress.hpp"
#include "report/Report.hpp"

#include <cerrno>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string_view>

namespace report {

namespace {

// The name as part of a folder name any file system takes.
std::string safeName(const std::string& name) {
    std::string safe;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        safe += (u < 0x20 || u == 0x7F || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
                    ? '_'
                    : c;
    }
    while (!safe.empty() && (safe.back() == '.' || safe.back() == ' '))
        safe.pop_back();
    return safe.empty() ? "dziecko" : safe;
}

// Copies the files of from into to, folders included; the temporaries of interrupted writes are left.
void copyTree(const std::string& from, const std::string& to) {
    namespace fs = platform::fs;
    if (!fs::createPrivateDir(to))
        throw std::runtime_error("Nie można utworzyć katalogu \u201e" + to + "\u201d.");
    for (const std::string& name : fs::list(from, "*.*"))
        if (name[0] != '.') fs::writeFileAtomic(to + "/" + name, fs::readFile(from + "/" + name));
    for (const std::string& name : fs::listDirs(from))
        if (name[0] != '.') copyTree(from + "/" + name, to + "/" + name);
}

// The user subfolder set for the child while its report is written, put back afterwards.
class SubfolderGuard {
public:
    explicit SubfolderGuard(const std::string& folder) : previous_(platform::fs::userSubfolder()) {
        platform::fs::setUserSubfolder(folder);
    }
    ~SubfolderGuard() { platform::fs::setUserSubfolder(previous_); }
    SubfolderGuard(const SubfolderGuard&) = delete;
    SubfolderGuard& operator=(const SubfolderGuard&) = delete;

private:
    std::string previous_;
};

} // namespace

ExportResult exportChild(const std::string& childFolder, const std::string& childName,
                         const std::string& parent) {
    namespace fs = platform::fs;
    ExportResult result;
    if (parent.empty() || !fs::dirExists(parent)) {
        result.error = "Nie ma katalogu, do którego można zapisać dane dziecka.";
        return result;
    }
    const LocalTime today = toLocalTime(platform::toTicks(platform::utcNow()) / 10'000'000 - 11'644'473'600);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", today.year, today.month, today.day);
    const std::string base = parent + "/Wirowanki - " + safeName(childName) + " - " + date;
    const std::string building = parent + "/.wirowanki-eksport";
    fs::removeTree(building);
    try {
        copyTree(fs::resolveInUserDir(childFolder), building);
        const SubfolderGuard guard(childFolder);
        saveReport(building + "/" + kReportName);
    } catch (const std::exception& e) {
        fs::removeTree(building);
        result.error = std::string("Nie udało się zapisać danych dziecka: ") + e.what();
        return result;
    }
    for (int n = 1; n < 100; ++n) {
        const std::string target = n == 1 ? base : base + " (" + std::to_string(n) + ")";
        int cause = 0;
        if (fs::renameNew(building, target, &cause)) {
            result.folder = target;
            return result;
        }
        if (cause != EEXIST && cause != ENOTEMPTY) break;
    }
    fs::removeTree(building);
    result.error = "Nie udało się zapisać danych dziecka w katalogu \u201e" + parent + "\u201d.";
    return result;
}

} // namespace report
