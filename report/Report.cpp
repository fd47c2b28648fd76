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
    return platform::fs::resolve(kReportName);
}

namespace {

// A path as the part of an address: unreserved characters and slashes as they are, the rest
// percent-encoded.
std::string urlPath(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url;
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

// The child's page as the overview links it: relative when it lies in the overview's folder or below.
std::string pageLink(const std::string& overviewPath, const std::string& pagePath) {
    const std::filesystem::path base = std::filesystem::path(overviewPath).lexically_normal().parent_path();
    const std::filesystem::path relative =
        std::filesystem::path(pagePath).lexically_normal().lexically_relative(base);
    if (!base.empty() && !relative.empty() && *relative.begin() != "..")
        return urlPath(relative.generic_string());
    return fileUrl(pagePath);
}

// Relative game paths rest on the given folder for the lifetime of the object, whatever is thrown.
class SubfolderScope {
public:
    explicit SubfolderScope(std::string_view folder) : previous_(platform::fs::userSubfolder()) {
        platform::fs::setUserSubfolder(folder);
    }
    ~SubfolderScope() { platform::fs::setUserSubfolder(previous_); }
    SubfolderScope(const SubfolderScope&) = delete;
    SubfolderScope& operator=(const SubfolderScope&) = delete;

private:
    std::string previous_;
};

// Writes the current subfolder's report; summary (when given) gets its figures before anything is written,
// so a page that cannot be written still has them.
SavedReport writeReport(const std::string& htmlPath, const std::string& childName, std::int64_t now,
                        ChildSummary* summary) {
    const ReadResult readout = readFile(kStatisticsFileName, now);
    const ProgressTest progress = calculate(readout.games);
    if (summary) *summary = summarize(readout, progress);
    SavedReport z;
    z.child = childName;
    z.html = htmlPath;
    z.csv = csvPath(htmlPath);
    z.gameCount = progress.gameCount;
    z.notes = readout.notes;
    const Descriptor description{platform::fs::resolve(kStatisticsFileName), fileName(z.csv), now, childName};
    platform::fs::writeFileAtomic(z.csv, bytes(csv(progress, childName)));
    platform::fs::writeFileAtomic(z.html, bytes(html(readout, progress, description)));
    return z;
}

// The default place of a child's page, its folder made when missing (a child that has not played yet).
std::string childDefaultPath(const ChildEntry& child) {
    platform::fs::createPrivateDir(platform::fs::resolveInUserDir(child.folder));
    const SubfolderScope scope(child.folder);
    return defaultPath();
}

std::string trimmed(std::string_view s) {
    const std::size_t from = s.find_first_not_of(" \t");
    if (from == std::string_view::npos) return {};
    return std::string(s.substr(from, s.find_last_not_of(" \t") - from + 1));
}

// Where the page went; among several children's pages (named) each says whose it is.
void printSaved(const SavedReport& z, bool named, std::ostream& out, std::ostream& err) {
    for (const std::string& u : z.notes)
        err << "Uwaga" << (named ? " (" + z.child + ")" : "") << ": " << u << "\n";
    out << "Raport postępów" << (named ? ": " + z.child : "") << " (" << z.gameCount << " "
        << pluralForm(z.gameCount, "gra", "gry", "gier") << "): " << z.html << "\nTabela CSV: " << z.csv
        << "\n";
}

} // namespace

std::string fileUrl(const std::string& path) {
    return "file://" + urlPath(path);
}

SavedReport saveReport(const std::string& htmlPath, const std::string& childName) {
    return writeReport(htmlPath, childName, nowSeconds(), nullptr);
}

SavedReport saveOverview(const std::string& htmlPath, const std::vector<ChildEntry>& children) {
    const std::int64_t now = nowSeconds();
    SavedReport z;
    z.html = htmlPath;
    std::vector<ChildSummary> rows;
    rows.reserve(children.size());
    for (const ChildEntry& child : children) {
        ChildSummary row;
        SavedReport page;
        page.child = child.name;
        try {
            const std::string target = childDefaultPath(child);
            const SubfolderScope scope(child.folder);
            page = writeReport(target, child.name, now, &row);
            row.link = pageLink(htmlPath, page.html);
        } catch (const std::exception& e) {
            ++z.failures;
            page.notes.push_back("Nie udało się zapisać raportu postępów: " + std::string(e.what()));
        }
        row.name = child.name;
        z.gameCount += row.gameCount;
        rows.push_back(std::move(row));
        z.children.push_back(std::move(page));
    }
    platform::fs::writeFileAtomic(z.html, bytes(overviewHtml(rows, now)));
    return z;
}

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::vector<ChildEntry>& children) {
    std::string file, name;
    bool named = false, wrong = false;
    for (std::size_t i = 1; i < args.size() && !wrong; ++i) {
        if (args[i] == "--dziecko" && !named && i + 1 < args.size()) {
            named = true;
            name = trimmed(args[++i]);
        } else if (args[i].rfind("--dziecko=", 0) == 0 && !named) {
            named = true;
            name = trimmed(std::string_view(args[i]).substr(10));
        } else if (file.empty() && !args[i].empty() && args[i].rfind("--", 0) != 0) {
            file = args[i];
        } else {
            wrong = true;
        }
    }
    if (wrong) {
        err << "Użycie: wirowanki raport [--dziecko IMIĘ] [PLIK.html]\n";
        return 2;
    }
    const ChildEntry* child = children.size() == 1 && !named ? &children[0] : nullptr;
    if (named) {
        for (const ChildEntry& c : children)
            if (!child && platform::fs::sameIgnoringCase(trimmed(c.name), name)) child = &c;
        if (!child) {
            err << "Nie ma dziecka o imieniu „" << name << "”.";
            if (children.empty()) err << " Nie dodano jeszcze żadnego dziecka.";
            for (std::size_t i = 0; i < children.size(); ++i)
                err << (i ? ", " : " Dzieci: ") << children[i].name << (i + 1 == children.size() ? "." : "");
            err << "\n";
            return 2;
        }
    }
    std::error_code ec;
    const std::string given =
        file.empty() ? std::string() : std::filesystem::absolute(file, ec).lexically_normal().string();
    try {
        if (!child && children.size() >= 2) {
            const SavedReport z =
                saveOverview(given.empty() ? platform::fs::resolveInUserDir(kReportName) : given, children);
            for (const SavedReport& c : z.children) {
                if (c.html.empty()) {
                    for (const std::string& u : c.notes)
                        err << c.child << ": " << u << "\n";
                    continue;
                }
                printSaved(c, true, out, err);
            }
            const int count = static_cast<int>(children.size());
            out << "Przegląd postępów (" << count << " " << pluralForm(count, "dziecko", "dzieci", "dzieci")
                << "): " << z.html << "\n";
            return z.failures ? 1 : 0;
        }
        if (!child) {
            printSaved(saveReport(given.empty() ? defaultPath() : given), false, out, err);
            return 0;
        }
        const std::string target = given.empty() ? childDefaultPath(*child) : given;
        const SubfolderScope scope(child->folder);
        printSaved(saveReport(target, child->name), false, out, err);
        return 0;
    } catch (const std::exception& e) {
        err << "Nie udało się zapisać raportu postępów: " << e.what() << "\n";
        return 1;
    }
}

void openReport(platform::Form* owner, const std::string& childName) {
    SavedReport z;
    try {
        z = saveReport(defaultPath(), childName);
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
