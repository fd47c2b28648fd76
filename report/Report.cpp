// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/Report.hpp"

#include "platform/loop/Clock.hpp"
#include "platform/system/Fs.hpp"
#include "platform/system/OpenUrl.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Dialogs.hpp"
#include "platform/windows/Form.hpp"
#include "report/Progress.hpp"
#include "report/ReportPage.hpp"
#include "report/StatisticsReader.hpp"

#include <filesystem>
#include <memory>
#include <ostream>
#include <span>

namespace report {

namespace {

constexpr const char* kTitle = "Wirowanki Cz.I Demo - Raport postępów";

std::int64_t nowSeconds() {
    // Ticks count from 1601; 11 644 473 600 s lie between 1601 and 1970.
    return platform::toTicks(platform::utcNow()) / 10'000'000 - 11'644'473'600;
}

bool endsWith(const std::string& s, std::string_view suffix) {
    if (s.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = s[s.size() - suffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != suffix[i]) return false;
    }
    return true;
}

std::span<const std::uint8_t> bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

std::string csvPath(const std::string& htmlPath) {
    for (std::string_view k : {".html", ".htm"})
        if (endsWith(htmlPath, k)) return htmlPath.substr(0, htmlPath.size() - k.size()) + ".csv";
    return htmlPath + ".csv";
}

std::string defaultPath() {
    return (std::filesystem::path(platform::fs::userDir()) / kReportName).string();
}

std::string fileUrl(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

SavedReport saveReport(const std::string& htmlPath) {
    const std::int64_t now = nowSeconds();
    const ReadResult readout = readFile(kStatisticsFileName, now);
    const ProgressTest progress = calculate(readout.games);
    SavedReport z;
    z.html = htmlPath;
    z.csv = csvPath(htmlPath);
    z.gameCount = progress.gameCount;
    z.notes = readout.notes;
    const Descriptor description{platform::fs::resolve(kStatisticsFileName), fileName(z.csv), now};
    platform::fs::writeFileAtomic(z.csv, bytes(csv(progress)));
    platform::fs::writeFileAtomic(z.html, bytes(html(readout, progress, description)));
    return z;
}

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() > 2 || (args.size() == 2 && args[1].empty())) {
        err << "Użycie: wirowanki raport [PLIK.html]\n";
        return 2;
    }
    std::error_code ec;
    const std::string target =
        args.size() == 2 ? std::filesystem::absolute(args[1], ec).lexically_normal().string() : defaultPath();
    try {
        const SavedReport z = saveReport(target);
        for (const std::string& u : z.notes)
            err << "Uwaga: " << u << "\n";
        out << "Raport postępów (" << z.gameCount << " " << pluralForm(z.gameCount, "gra", "gry", "gier")
            << "): " << z.html << "\nTabela CSV: " << z.csv << "\n";
        return 0;
    } catch (const std::exception& e) {
        err << "Nie udało się zapisać raportu postępów: " << e.what() << "\n";
        return 1;
    }
}

void openReport(platform::Form* owner) {
    SavedReport z;
    try {
        z = saveReport(defaultPath());
    } catch (const std::exception&) {
        platform::messageBox(
            owner,
            "Nie udało się zapisać raportu postępów w pliku:\n" + defaultPath() +
                "\n\nSprawdź, czy na dysku jest miejsce i czy katalog nie jest tylko do odczytu.",
            kTitle, platform::MessageIcon::Error);
        return;
    }
    const std::string missing = "Raport postępów zapisano w pliku:\n" + z.html +
                                "\n\nNie udało się uruchomić przeglądarki internetowej. Otwórz ten plik "
                                "w przeglądarce samodzielnie.";
    // An opener that starts but finds no browser fails later: the program comes back and says so.
    const std::weak_ptr<void> life = owner ? owner->lifeToken() : std::weak_ptr<void>();
    auto later = [owner, life, missing] {
        if (owner && life.expired()) return;
        platform::app().raiseMainWindow();
        platform::messageBox(owner, missing, kTitle, platform::MessageIcon::Warning);
    };
    if (!platform::openUrl(fileUrl(z.html), std::move(later))) {
        platform::messageBox(owner, missing, kTitle, platform::MessageIcon::Warning);
        return;
    }
    // The browser comes up in front of the full-screen menu, as the about window's links do.
    platform::app().minimize();
}

} // namespace report
