// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recorder_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "widgets/TwoStatePicture.hpp"

#include <fstream>

using namespace rectest;

namespace {

std::string date1990() {
    return platform::date::formatShort(platform::date::fromYmd(1990, 1, 1));
}

void writeIndex(const std::filesystem::path& user, const std::string& text) {
    std::filesystem::create_directories(user / "Nagrane");
    std::ofstream(user / "Nagrane" / "record.xtr", std::ios::binary | std::ios::trunc) << text;
}

} // namespace

TEST(RecordingsList, ANewIndexHasThirtyEmptyPlacesInOrderAndTheRowsShowOneToEight) {
    Panel p;
    const auto index = p.userFile("Nagrane/record.xtr");
    ASSERT_TRUE(std::filesystem::exists(index));
    const std::string text = wvtest::readFile(index);
    std::size_t at = 0;
    for (int i = 0; i < 30; ++i) {
        const std::size_t s = text.find("[Nagranie" + std::to_string(i) + "]", at);
        ASSERT_NE(s, std::string::npos) << i;
        const std::size_t file = text.find("Plik=", s), name = text.find("Nazwa=", s),
                          data = text.find("Data=", s);
        EXPECT_LT(file, name);
        EXPECT_LT(name, data);
        at = data;
    }
    EXPECT_EQ(text.find("[Nagranie30]"), std::string::npos);
    const platform::IniFile ini(index.string());
    for (int i = 0; i < 30; ++i) {
        const std::string s = "Nagranie" + std::to_string(i);
        EXPECT_EQ(ini.readString(s, "Plik", "?"), "");
        EXPECT_EQ(ini.readString(s, "Nazwa", "?"), "");
        EXPECT_EQ(ini.readString(s, "Data", "?"), date1990());
    }

    // Hidden until the recordings tab is chosen.
    EXPECT_FALSE(p.visible("vE_Nazwa0"));
    p.toRecorderTab();
    for (int r = 0; r < 8; ++r) {
        const std::string n = std::to_string(r);
        EXPECT_EQ(p.text("vL_Numer" + n), std::to_string(r + 1) + ".");
        EXPECT_EQ(p.text("vE_Nazwa" + n), "");
        EXPECT_EQ(p.text("vL_Data" + n), "") << "1990 stands for no date";
        EXPECT_TRUE(p.visible("vE_Nazwa" + n));
        EXPECT_TRUE(p.visible("S_CHBUT" + n));
        EXPECT_EQ(p.d->control("vL_Numer" + n)->bounds(),
                  platform::Rect::fromSize(kNumberX, rowY(r), 26, 22));
        EXPECT_EQ(p.d->control("vE_Nazwa" + n)->bounds(), platform::Rect::fromSize(kNameX, rowY(r), 220, 26));
        EXPECT_EQ(p.d->control("vL_Data" + n)->bounds(),
                  platform::Rect::fromSize(kDateX, rowY(r) + 2, 100, 22));
        EXPECT_EQ(p.d->control("S_CHBUT" + n)->left(), kBoxX);
        EXPECT_EQ(p.d->control("S_CHBUT" + n)->top(), rowY(r));
    }
    EXPECT_EQ(p.d->control("vL_Nazwisko")->left(), 229);
    EXPECT_EQ(p.d->control("vL_Nazwisko")->top(), 155);
    EXPECT_EQ(p.d->control("vL_Data")->left(), 414);
    EXPECT_EQ(p.d->control("up")->left(), kListButtonX);
    EXPECT_EQ(p.d->control("up")->top(), kUpY);
    EXPECT_EQ(p.d->control("down")->left(), kListButtonX);
    EXPECT_EQ(p.d->control("down")->top(), kDownY);
    EXPECT_EQ(p.d->control("scroll")->left(), kListButtonX + 4);
    EXPECT_EQ(p.d->control("scroll")->top(), kUpY + 30);

    // Leaving the tab hides the rows again.
    p.d->click(kStripX + 60, kStripY + 20);
    EXPECT_FALSE(p.visible("vE_Nazwa3"));
    EXPECT_FALSE(p.visible("S_CHBUT3"));
}

TEST(RecordingsList, RowsOfTheLargeScreenStandAtTheirOffsets) {
    Panel p({1024, 768});
    p.d->click(705 + 60, 95 + 500);
    ASSERT_EQ(wvtest::context().settings.tab, 5);
    EXPECT_EQ(p.d->control("vL_Numer0")->bounds(), platform::Rect::fromSize(244, 220, 26, 22));
    EXPECT_EQ(p.d->control("vE_Nazwa7")->bounds(), platform::Rect::fromSize(270, 220 + 7 * 32, 220, 26));
    EXPECT_EQ(p.d->control("S_CHBUT7")->left(), 244 + 26 + 220 + 5 + 100 + 5);
    EXPECT_EQ(p.d->control("vL_Nazwisko")->left(), 329);
    EXPECT_EQ(p.d->control("vL_Data")->top(), 200);
    EXPECT_EQ(p.d->control("up")->left(), 244 + 26 + 220 + 5 + 100 + 40);
}

TEST(RecordingsList, ScrollingShowsPlacesTwentyThreeToThirtyAndStopsThere) {
    Panel p;
    p.toRecorderTab();
    const int thumbTop = p.d->control("scroll")->top();
    int last = thumbTop;
    for (int i = 1; i <= 22; ++i) {
        p.down();
        EXPECT_EQ(p.list().top(), i);
        const int t = p.d->control("scroll")->top();
        EXPECT_GT(t, last) << "step " << i;
        last = t;
    }
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(p.text("vL_Numer" + std::to_string(r)), std::to_string(23 + r) + ".");
    EXPECT_LE(last, kDownY - 5);
    p.down();
    EXPECT_EQ(p.list().top(), 22);
    EXPECT_EQ(p.text("vL_Numer7"), "30.");
    EXPECT_EQ(p.d->control("scroll")->top(), last);
    EXPECT_FALSE(p.list().scrollDown());

    // The wheel moves the list on this tab only.
    p.d->wheel(1);
    EXPECT_EQ(p.text("vL_Numer0"), "22.");
    p.d->wheel(-1);
    EXPECT_EQ(p.text("vL_Numer0"), "23.");
    for (int i = 0; i < 22; ++i)
        p.up();
    EXPECT_EQ(p.text("vL_Numer0"), "1.");
    EXPECT_EQ(p.d->control("scroll")->top(), thumbTop);
    p.up();
    EXPECT_EQ(p.list().top(), 0);
    p.d->click(kStripX + 60, kStripY + 20);
    p.d->wheel(-1);
    EXPECT_EQ(p.list().top(), 0);
}

TEST(RecordingsList, LoadingReadsNamesAndDatesAndAMissingSectionIsAddedAgain) {
    wvtest::Installation inst;
    const double d = platform::date::fromYmd(2024, 5, 17);
    const std::string date = platform::date::formatShort(d);
    std::string text;
    for (int i = 0; i < 30; ++i) {
        if (i == 26) continue; // the places around it keep their entries
        text += "[Nagranie" + std::to_string(i) + "]\r\nPlik=Nagranie" + std::to_string(i) +
                "\r\nNazwa=Imię " + std::to_string(i) + "\r\nData=" +
                (i == 1   ? "not a date"
                 : i == 2 ? date1990()
                          : date) +
                "\r\n";
    }
    writeIndex(inst.child(), text);
    wvtest::Outcome out;
    auto drv = wvtest::startProgram(out, {800, 600});
    drv->wait(2000);
    drv->click(kStripX + 60, kStripY + 400);
    ASSERT_TRUE(wvtest::messageWindow()->visible());
    EXPECT_EQ(wvtest::messageWindow()->vL_Message.caption(),
              std::string(recordingMessages::kIndexRebuilt) + "\u201e" +
                  (inst.child() / "Nagrane" / "record.xtr.bad").string() + "\u201d.");
    drv->click((800 - 420) / 2 + 180 + 35, (600 - 250) / 2 + 150 + 30);
    RecordingList& l = wvtest::mainMenu()->recordingList();
    EXPECT_EQ(l.entry(0).name, "Imię 0");
    EXPECT_EQ(l.entry(0).file, "Nagranie0");
    EXPECT_DOUBLE_EQ(l.entry(0).data, d);
    EXPECT_EQ(drv->control("vE_Nazwa0")->text(), "Imię 0");
    EXPECT_EQ(drv->control("vL_Data0")->text(), date);
    EXPECT_EQ(drv->control("vL_Data1")->text(), "") << "text that is no date reads as none";
    EXPECT_EQ(drv->control("vL_Data2")->text(), "");
    EXPECT_EQ(l.entry(25).name, "Imię 25");
    EXPECT_EQ(l.entry(26).name, "");
    EXPECT_EQ(l.entry(26).file, "");
    EXPECT_DOUBLE_EQ(l.entry(26).data, 32874);
    EXPECT_EQ(l.entry(27).name, "Imię 27");
    // The incomplete index is kept aside and written again whole, so place 26 can be saved.
    EXPECT_EQ(wvtest::readFile(inst.child() / "Nagrane" / "record.xtr.bad"), text);
    const std::string whole = wvtest::readFile(inst.child() / "Nagrane" / "record.xtr");
    EXPECT_EQ(whole, RecordingList::indexText([&] {
                  std::array<Recording, 30> w;
                  for (int i = 0; i < 30; ++i)
                      w[i] = l.entry(i);
                  return w;
              }()));
    EXPECT_NE(whole.find("[Nagranie26]\nPlik=\nNazwa=\nData=" + date1990() + "\n"), std::string::npos);
    for (int i = 0; i < 22; ++i)
        drv->click(kListButtonX + 14, kDownY + 15);
    EXPECT_EQ(drv->control("vE_Nazwa3")->text(), "Imię 25");
    EXPECT_EQ(drv->control("vE_Nazwa4")->text(), "");
    EXPECT_TRUE(l.saveEntry(4)); // place 26
    EXPECT_EQ(platform::IniFile((inst.child() / "Nagrane" / "record.xtr").string())
                  .readString("Nagranie26", "Plik", ""),
              "Nagranie26");
    drv->key(27);
}

TEST(RecordingsList, OneRowAtMostIsSelectedAndTypingKeepsTheSelection) {
    Panel p;
    p.toRecorderTab();
    EXPECT_EQ(p.list().chosenRow(), -1);
    p.clickBox(0);
    EXPECT_EQ(p.list().chosenRow(), 0);
    EXPECT_TRUE(p.d->control("vE_Nazwa0")->focused());
    p.clickName(2);
    EXPECT_EQ(p.list().chosenRow(), 2);
    EXPECT_EQ(p.list().button(0).state(), 0);
    EXPECT_TRUE(p.d->control("vE_Nazwa2")->focused());
    p.d->text("Zosia");
    EXPECT_EQ(p.text("vE_Nazwa2"), "Zosia");
    EXPECT_EQ(p.list().chosenRow(), 2) << "a repaint while typing keeps the row";
    EXPECT_TRUE(p.d->control("vE_Nazwa2")->focused());
    EXPECT_EQ(p.list().nameEdit(2).caretPos(), 5);
    // The selected row's box clears the selection and the focus.
    p.clickBox(2);
    EXPECT_EQ(p.list().chosenRow(), -1);
    EXPECT_EQ(wvtest::mainMenu()->focusedControl(), nullptr);
    // A box of a row with text puts the caret after it.
    p.clickBox(2);
    EXPECT_EQ(p.list().nameEdit(2).caretPos(), 5);
    // Scrolling refreshes the rows: the selection goes, an unused name is lost.
    p.down();
    EXPECT_EQ(p.list().chosenRow(), -1);
    p.up();
    EXPECT_EQ(p.text("vE_Nazwa2"), "");
}
