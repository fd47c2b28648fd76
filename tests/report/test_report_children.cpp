// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report_support.hpp"

#include "report/Report.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using coretest::utc;
using reporttest::GameRecord;
namespace stdfs = std::filesystem;

namespace {

std::string text(const stdfs::path& p) {
    const auto b = coretest::TempRoots::read(p);
    return std::string(b.begin(), b.end());
}

const std::string kPage = "Raport postępów.html";
const std::string kPageUrl = "Raport%20post%C4%99p%C3%B3w.html";

// Four children in Warsaw's winter time, each with a statistics file of its own in its folder: Ala two
// games, Ola one, Ewa one in a file cut off in the middle of a record, Kuba none (not even a folder).
class ReportForChildren : public ::testing::Test {
protected:
    void SetUp() override {
        clock.setUtc(utc(2026, 11, 16, 14, 0, 0, 0));
        const std::pair<const char*, std::vector<GameRecord>> played[] = {
            {"Dzieci\\1",
             {GameRecord{utc(2026, 11, 16, 14, 30, 0, 0), 1, 2, 0x0001, 0x1000, 125, 1, 0, 8, 2},
              GameRecord{utc(2026, 11, 18, 10, 0, 0, 0), 3, 1, 0x0005, 0x1000, 90, 1, 1, 6, 0}}},
            {"Dzieci\\2", {GameRecord{utc(2026, 12, 1, 10, 0, 0, 0), 4, 3, 0x0002, 0x7000, 30, 1, 0, 1, 3}}},
            {"Dzieci\\3", {GameRecord{utc(2026, 11, 20, 9, 0, 0, 0), 2, 1, 0x0008, 0x2000, 60, 1, 0, 3, 1}}},
        };
        for (const auto& [folder, games] : played) {
            stdfs::create_directories(roots.user() / platform::fs::toNative(folder));
            platform::fs::setUserSubfolder(folder);
            StatisticsFile stat(1);
            for (const GameRecord& g : games)
                reporttest::save(stat, clock, g);
        }
        platform::fs::setUserSubfolder("");
        std::ofstream(roots.user() / "Dzieci" / "3" / "prgst1.stt", std::ios::binary | std::ios::app)
            << "0123456789";
        clock.setUtc(utc(2026, 12, 8, 12, 0, 0, 0));
    }
    void TearDown() override { platform::fs::setUserSubfolder(""); }

    stdfs::path page(int child) const { return roots.user() / "Dzieci" / std::to_string(child) / kPage; }

    reporttest::ScopedTimeZone zone{reporttest::kWarsaw};
    coretest::TempRoots roots;
    coretest::ManualClock clock;
    const std::vector<report::ChildEntry> children{
        {"Ala", "Dzieci\\1"}, {"Ola", "Dzieci\\2"}, {"Ewa <3>", "Dzieci\\3"}, {"Kuba", "Dzieci\\4"}};
};

std::string share(const char* width, const char* shown) {
    return std::string("<td class=\"udzial\"><span class=\"pasek\"><i style=\"width:") + width +
           "%\"></i></span><b>" + shown + "</b></td>";
}
const std::string kNone = "<td class=\"brak\">—</td>";

} // namespace

TEST_F(ReportForChildren, theOverviewComparesTheChildrenAndEachPageHoldsOnlyItsOwnGames) {
    platform::fs::setUserSubfolder("Dzieci\\1");
    std::ostringstream out, err;
    ASSERT_EQ(report::runCommand({"raport"}, out, err, children), 0) << err.str();
    EXPECT_EQ(platform::fs::userSubfolder(), "Dzieci\\1");

    std::string expectedOut;
    const char* counts[] = {"2 gry", "1 gra", "1 gra", "0 gier"};
    for (int i = 0; i < 4; ++i)
        expectedOut += "Raport postępów: " + children[i].name + " (" + counts[i] +
                       "): " + page(i + 1).string() +
                       "\nTabela CSV: " + report::csvPath(page(i + 1).string()) + "\n";
    const stdfs::path overview = roots.user() / kPage;
    EXPECT_EQ(out.str(), expectedOut + "Przegląd postępów (4 dzieci): " + overview.string() + "\n");
    EXPECT_EQ(err.str().rfind("Uwaga (Ewa <3>): ", 0), 0u) << err.str();

    const std::string header =
        "\xEF\xBB\xBF"
        "Dziecko,Data,Godzina,Gra,Głoski,Pozycje,Ilość,Czas gry (s),Ukończona,Poprawne,"
        "Błędne,Podpowiedzi,Ocena\r\n";
    EXPECT_EQ(text(roots.user() / "Dzieci" / "1" / "Raport postępów.csv"),
              header + "Ala,2026-11-16,15:30,Podpisywanie,SZ,nagłos,średnio,125,tak,8,2,0,Brawo!\r\n"
                       "Ala,2026-11-18,11:00,Uzupełnianie,\"SZ, CZ\",nagłos,mało,90,tak,6,0,1,Brawo!\r\n");
    EXPECT_EQ(text(roots.user() / "Dzieci" / "2" / "Raport postępów.csv"),
              header + "Ola,2026-12-01,11:00,Spadające,Ż/RZ,\"nagłos, śródgłos, wygłos\",dużo,30,tak,1,3,0,"
                       "Spróbuj jeszcze raz!\r\n");
    const std::string ola = text(page(2));
    EXPECT_NE(ola.find("<title>Raport postępów: Ola – Wesołe Wirowanki</title>"), std::string::npos);
    EXPECT_NE(ola.find("<h1>Raport postępów: Ola</h1>"), std::string::npos);
    EXPECT_EQ(ola.find("Podpisywanie</td>"), std::string::npos) << "Ala's games stay on her page";

    // Days, games, time, last session, then SZ, Ż/RZ, CZ, DŻ and the link.
    const std::string rows[] = {
        "<tr><td class=\"glosnik\">Ala</td><td class=\"l\">2</td><td class=\"l\">2</td><td class=\"l\">3 "
        "min</td><td class=\"kiedy\">18.11.2026 11:00</td>" +
            share("87.5", "88%") + kNone + share("100", "100%") + kNone + "<td><a href=\"Dzieci/1/" +
            kPageUrl + "\">otwórz</a></td></tr>",
        "<tr><td class=\"glosnik\">Ola</td><td class=\"l\">1</td><td class=\"l\">1</td><td class=\"l\">30 "
        "s</td><td class=\"kiedy\">01.12.2026 11:00</td>" +
            kNone + share("25", "25%") + kNone + kNone + "<td><a href=\"Dzieci/2/" + kPageUrl +
            "\">otwórz</a></td></tr>",
        "<tr><td class=\"glosnik\">Ewa &lt;3&gt;<small class=\"uwaga\">plik statystyk uszkodzony: pokazano "
        "to, "
        "co dało się odczytać</small></td><td class=\"l\">1</td><td class=\"l\">1</td><td class=\"l\">1 "
        "min</td><td class=\"kiedy\">20.11.2026 10:00</td>" +
            kNone + kNone + kNone + share("75", "75%") + "<td><a href=\"Dzieci/3/" + kPageUrl +
            "\">otwórz</a></td></tr>",
        "<tr><td class=\"glosnik\">Kuba</td><td class=\"l\">0</td><td class=\"l\">0</td><td class=\"l\">0 "
        "s</td>" +
            kNone + kNone + kNone + kNone + kNone + "<td><a href=\"Dzieci/4/" + kPageUrl +
            "\">otwórz</a></td></tr>",
    };
    const std::string h = text(overview);
    for (const std::string& row : rows)
        EXPECT_NE(h.find(row), std::string::npos) << row;
    EXPECT_LT(h.find(">Ala<"), h.find(">Kuba<")) << "in the order given";

    // Elsewhere the links are whole addresses; a child whose page cannot be written is counted, the
    // others are not held back, and the folder is restored all the same.
    stdfs::remove_all(roots.user() / "Dzieci" / "4");
    coretest::TempRoots::write(roots.user() / "Dzieci" / "5", std::string("plik, nie katalog"));
    std::vector<report::ChildEntry> more = children;
    more.push_back({"Zosia", "Dzieci\\5"});
    const stdfs::path elsewhere = roots.user().parent_path() / "inne" / "przegląd.html";
    stdfs::create_directories(elsewhere.parent_path());
    std::ostringstream out2, err2;
    EXPECT_EQ(report::runCommand({"raport", elsewhere.string()}, out2, err2, more), 1);
    EXPECT_EQ(platform::fs::userSubfolder(), "Dzieci\\1");
    EXPECT_NE(err2.str().find("Zosia: Nie udało się zapisać raportu postępów: "), std::string::npos)
        << err2.str();
    const std::string h2 = text(elsewhere);
    EXPECT_NE(h2.find("<a href=\"" + report::fileUrl(page(4).string()) + "\">"), std::string::npos);
    EXPECT_TRUE(stdfs::exists(page(4))) << "a child without a folder gets one";
    EXPECT_NE(h2.find("<td class=\"glosnik\">Zosia</td><td class=\"l\">0</td>"), std::string::npos);
    EXPECT_NE(h2.find("<td class=\"brak\">nie zapisano</td></tr>"), std::string::npos);
}

TEST_F(ReportForChildren, theCommandLineFindsAChildByNameAndOneChildIsReportedAsBefore) {
    const std::string usage = "Użycie: wirowanki raport [--dziecko IMIĘ] [PLIK.html]\n";
    const stdfs::path own = roots.user() / "ala.html";
    struct Case {
        std::vector<std::string> args;
        std::vector<report::ChildEntry> children;
        int code;
        std::string err;
        stdfs::path written = {};
        std::string games = {}, child = {};
    } const cases[] = {
        {{"raport", "--dziecko", " OLA "}, children, 0, "", page(2), "1 gra", "Ola"},
        {{"raport", own.string(), "--dziecko=ala"}, children, 0, "", own, "2 gry", "Ala"},
        {{"raport"}, {children[1]}, 0, "", page(2), "1 gra", "Ola"},
        {{"raport", "--dziecko", "Zuza"},
         children,
         2,
         "Nie ma dziecka o imieniu „Zuza”. Dzieci: Ala, Ola, Ewa <3>, Kuba.\n"},
        {{"raport", "--dziecko", "Ala"},
         {},
         2,
         "Nie ma dziecka o imieniu „Ala”. Nie dodano jeszcze żadnego dziecka.\n"},
        {{"raport", "--dziecko"}, children, 2, usage},
        {{"raport", "--dziecko", "Ala", "--dziecko", "Ola"}, children, 2, usage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        stdfs::remove(c.written);
        std::ostringstream out, err;
        EXPECT_EQ(report::runCommand(c.args, out, err, c.children), c.code);
        EXPECT_EQ(out.str(), c.written.empty()
                                 ? ""
                                 : "Raport postępów (" + c.games + "): " + c.written.string() +
                                       "\nTabela CSV: " + report::csvPath(c.written.string()) + "\n");
        EXPECT_EQ(err.str(), c.err);
        EXPECT_EQ(platform::fs::userSubfolder(), "");
        if (!c.written.empty()) {
            EXPECT_NE(text(c.written).find("<h1>Raport postępów: " + c.child + "</h1>"), std::string::npos);
        }
    }
    EXPECT_FALSE(stdfs::exists(roots.user() / kPage)) << "no overview for a single child";
}
