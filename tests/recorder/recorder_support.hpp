// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main menu on its recordings tab, in the driver, with the shipped data and a scratch user directory.
#include "../windows/program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "platform/system/DateTime.hpp"
#include "platform/system/Ini.hpp"
#include "platform/windows/Control.hpp"
#include "recorder/Recordings.hpp"
#include "windows/MainMenu.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ProgramWindows.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rectest {

// 800 x 600: row r starts at y 176 + 32 r; number, name, date and box columns.
constexpr int kRowTop = 176;
constexpr int kNumberX = 130, kNameX = 156, kDateX = 381, kBoxX = 486;
constexpr int kRecX = 385, kPlayX = 305, kStopX = 345, kPanelY = 428;
constexpr int kListButtonX = 521, kUpY = 144, kDownY = 432;
constexpr int kExitX = 345, kAboutX = 245, kBottomY = 515;
constexpr int kStripX = 551, kStripY = 74;

inline int rowY(int r) {
    return kRowTop + r * 32;
}

class Panel {
public:
    // prepare sees the user directory before the program starts.
    explicit Panel(platform::Size screen = {800, 600},
                   const std::function<void(const std::filesystem::path&)>& prepare = {}) {
        if (prepare) prepare(inst.child());
        d = wvtest::startProgram(out, screen);
        d->wait(2000);
    }
    ~Panel() {
        // Esc stops a recording or playback first, then ends the program.
        for (int i = 0; i < 2 && !d->finished(); ++i)
            d->key(27);
    }

    void toRecorderTab() { d->click(kStripX + 60, kStripY + 400); }
    void clickBox(int r) { d->click(kBoxX + 10, rowY(r) + 10); }
    void clickName(int r) { d->click(kNameX + 100, rowY(r) + 12); }
    void record() { d->click(kRecX + 35, kPanelY + 30); }
    void play() { d->click(kPlayX + 35, kPanelY + 30); }
    void stop() { d->click(kStopX + 35, kPanelY + 30); }
    void down() { d->click(kListButtonX + 14, kDownY + 15); }
    void up() { d->click(kListButtonX + 14, kUpY + 15); }

    // The message window's text, then the window closed with its stop button.
    std::string takeMessage() {
        const std::string text = wvtest::messageWindow() && wvtest::messageWindow()->visible()
                                     ? wvtest::messageWindow()->vL_Message.caption()
                                     : "";
        if (!text.empty()) d->click((800 - 420) / 2 + 180 + 35, (600 - 250) / 2 + 150 + 30);
        return text;
    }

    std::string text(const std::string& control) const {
        platform::Control* c = d->control(control);
        return c ? c->text() : "<none>";
    }
    bool visible(const std::string& control) const {
        platform::Control* c = d->control(control);
        return c && c->visible();
    }
    RecordingList& list() const { return wvtest::mainMenu()->recordingList(); }
    VoiceRecorder& recorder() const { return wvtest::mainMenu()->recorder(); }

    std::filesystem::path userFile(const std::string& relative) const { return inst.child() / relative; }

    wvtest::Installation inst;
    wvtest::Outcome out;
    std::unique_ptr<platform::testing::Driver> d;
};

inline std::vector<std::uint8_t> bytes(const std::filesystem::path& p) {
    const std::string s = wvtest::readFile(p);
    return {s.begin(), s.end()};
}
inline std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
inline std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

} // namespace rectest
