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

namespace raport {

namespace {

constexpr const char* kTytul = "Wirowanki Cz.I Demo - Raport postępów";

std::int64_t terazSek() {
    // Ticks count from 1601; 11 644 473 600 s lie between 1601 and 1970.
    return platform::toTicks(platform::utcNow()) / 10'000'000 - 11'644'473'600;
}

bool konczySie(const std::string& s, std::string_view koncowka) {
    if (s.size() < koncowka.size()) return false;
    for (std::size_t i = 0; i < koncowka.size(); ++i) {
        const char c = s[s.size() - koncowka.size() + i];
        if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != koncowka[i]) return false;
    }
    return true;
}

std::span<const std::uint8_t> bajty(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::string nazwaPliku(const std::string& sciezka) {
    return std::filesystem::path(sciezka).filename().string();
}

} // namespace

std::string sciezkaCsv(const std::string& sciezkaHtml) {
    for (std::string_view k : {".html", ".htm"})
        if (konczySie(sciezkaHtml, k)) return sciezkaHtml.substr(0, sciezkaHtml.size() - k.size()) + ".csv";
    return sciezkaHtml + ".csv";
}

std::string domyslnaSciezka() {
    return (std::filesystem::path(platform::fs::userDir()) / kNazwaRaportu).string();
}

std::string adresPliku(const std::string& sciezka) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : sciezka) {
        const bool zwykly = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                            c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (zwykly) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

Zapisany zapiszRaport(const std::string& sciezkaHtml) {
    const std::int64_t teraz = terazSek();
    const Odczyt odczyt = odczytajPlik(kPlikStatystyk, teraz);
    const Postepy postepy = policz(odczyt.gry);
    Zapisany z;
    z.html = sciezkaHtml;
    z.csv = sciezkaCsv(sciezkaHtml);
    z.gier = postepy.gier;
    z.uwagi = odczyt.uwagi;
    const Opis opis{platform::fs::resolve(kPlikStatystyk), nazwaPliku(z.csv), teraz};
    platform::fs::writeFileAtomic(z.csv, bajty(csv(postepy)));
    platform::fs::writeFileAtomic(z.html, bajty(html(odczyt, postepy, opis)));
    return z;
}

int polecenie(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() > 2 || (args.size() == 2 && args[1].empty())) {
        err << "Użycie: wirowanki raport [PLIK.html]\n";
        return 2;
    }
    std::error_code ec;
    const std::string cel = args.size() == 2
                                ? std::filesystem::absolute(args[1], ec).lexically_normal().string()
                                : domyslnaSciezka();
    try {
        const Zapisany z = zapiszRaport(cel);
        for (const std::string& u : z.uwagi)
            err << "Uwaga: " << u << "\n";
        out << "Raport postępów (" << z.gier << " " << odmiana(z.gier, "gra", "gry", "gier")
            << "): " << z.html << "\nTabela CSV: " << z.csv << "\n";
        return 0;
    } catch (const std::exception& e) {
        err << "Nie udało się zapisać raportu postępów: " << e.what() << "\n";
        return 1;
    }
}

void otworzRaport(platform::Form* owner) {
    Zapisany z;
    try {
        z = zapiszRaport(domyslnaSciezka());
    } catch (const std::exception&) {
        platform::messageBox(
            owner,
            "Nie udało się zapisać raportu postępów w pliku:\n" + domyslnaSciezka() +
                "\n\nSprawdź, czy na dysku jest miejsce i czy katalog nie jest tylko do odczytu.",
            kTytul, platform::MessageIcon::Error);
        return;
    }
    const std::string brak = "Raport postępów zapisano w pliku:\n" + z.html +
                             "\n\nNie udało się uruchomić przeglądarki internetowej. Otwórz ten plik "
                             "w przeglądarce samodzielnie.";
    // An opener that starts but finds no browser fails later: the program comes back and says so.
    const std::weak_ptr<void> zycie = owner ? owner->lifeToken() : std::weak_ptr<void>();
    auto pozniej = [owner, zycie, brak] {
        if (owner && zycie.expired()) return;
        platform::app().raiseMainWindow();
        platform::messageBox(owner, brak, kTytul, platform::MessageIcon::Warning);
    };
    if (!platform::openUrl(adresPliku(z.html), std::move(pozniej))) {
        platform::messageBox(owner, brak, kTytul, platform::MessageIcon::Warning);
        return;
    }
    // The browser comes up in front of the full-screen menu, as the about window's links do.
    platform::app().minimize();
}

} // namespace raport
