// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recorder/Recordings.hpp"

#include "core/ScreenLayout.hpp"
#include "platform/audio/AudioFiles.hpp"
#include "platform/audio/SoundFile.hpp"
#include "platform/system/DateTime.hpp"
#include "platform/system/Fs.hpp"
#include "platform/system/Ini.hpp"
#include "widgets/Buttons.hpp"
#include "widgets/ScrollBar.hpp"
#include "widgets/TwoStatePicture.hpp"

#include <algorithm>
#include <exception>
#include <utility>

namespace {

std::string section(int p) {
    return "Nagranie" + std::to_string(p);
}

// Code page 1250 above 0x7F, for indexes written by the Windows version; 0 where the page has no character.
// clang-format off
constexpr char16_t kCp1250[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

void appendUtf8(std::u32string_view chars, std::string& out) {
    for (char32_t c : chars) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
}

// Strict UTF-8 (no overlong forms, surrogates or values beyond U+10FFFF); false at the first fault.
bool decodeUtf8(std::string_view t, std::u32string& out) {
    out.clear();
    for (std::size_t i = 0; i < t.size();) {
        const auto b = static_cast<unsigned char>(t[i]);
        int n = b < 0x80                ? 0
                : b >= 0xC2 && b < 0xE0 ? 1
                : b >= 0xE0 && b < 0xF0 ? 2
                : b >= 0xF0 && b < 0xF5 ? 3
                                        : -1;
        if (n < 0 || (n > 0 && i + std::size_t(n) >= t.size())) return false;
        char32_t c = n == 0 ? b : char32_t(b & (0x3F >> n));
        for (int k = 1; k <= n; ++k) {
            const auto d = static_cast<unsigned char>(t[i + std::size_t(k)]);
            if ((d & 0xC0) != 0x80) return false;
            c = (c << 6) | (d & 0x3F);
        }
        if ((n == 2 && c < 0x800) || (n == 3 && c < 0x10000) || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        out += c;
        i += std::size_t(n) + 1;
    }
    return true;
}

const platform::Font& rowFont() {
    static const platform::Font f{
        .family = "Arial Black", .height = 11, .bold = false, .color = platform::kBlack};
    return f;
}

} // namespace

// ---- VoiceRecorder ----

VoiceRecorder::VoiceRecorder(const bool& speaker) : speaker_(speaker) {
    player_.onComplete = [this] { finishedPlaying(); };
}

VoiceRecorder::~VoiceRecorder() {
    player_.onComplete = nullptr;
    closePeriod();
}

bool VoiceRecorder::open(const std::string& path) {
    closePeriod();
    if (path.empty()) return false;
    created_ = !platform::fs::exists(path);
    if (created_ && !platform::sound::writeEmptyWav(path)) return false;
    path_ = path;
    opened_ = player_.open(path);
    return opened_;
}

bool VoiceRecorder::startRecording(int maxMs) {
    if (!opened_) return false;
    if (recording_) return true;
    if (playing_) stop();
    // The file stays as it is until the take is complete, so the old one survives any failure.
    if (!player_.record(maxMs)) {
        // A place never recorded keeps no empty file behind.
        const bool discard = created_;
        closePeriod();
        if (discard) platform::fs::remove(path_);
        return false;
    }
    recording_ = true;
    result_ = RecordingOutcome::None;
    return true;
}

bool VoiceRecorder::play() {
    if (playing_) return true;
    if (!opened_) return false;
    if (recording_) stop();
    playing_ = player_.play();
    return playing_;
}

void VoiceRecorder::stop() {
    if (!opened_) return;
    player_.stop(); // saves a recording, sends no notice
    playing_ = false;
    if (recording_) recordingEnded();
}

void VoiceRecorder::recordingEnded() {
    recording_ = false;
    result_ = player_.saveFailed() ? RecordingOutcome::Unsaved : RecordingOutcome::Saved;
    // A first take the disk refused leaves no empty file behind either.
    if (result_ == RecordingOutcome::Unsaved && created_) platform::fs::remove(path_);
    created_ = false;
}

void VoiceRecorder::closePeriod() {
    if (!opened_) return;
    if (recording_ || playing_) stop();
    player_.close();
    opened_ = false;
}

bool VoiceRecorder::busy() const {
    return !speaker_ || recording_ || playing_;
}

void VoiceRecorder::finishedPlaying() {
    if (!opened_) return;
    if (recording_ && !player_.recording()) {
        recordingEnded();
        if (onRecorded) onRecorded();
    } else if (playing_ && !player_.playing()) {
        playing_ = false;
        if (onPlayed) onPlayed();
    }
}

// ---- RecordingList ----

RecordingList::RecordingList(platform::Form& window, platform::Canvas& canvas, platform::Label& nameHeader,
                             platform::Label& dateHeader, MenuButton& scrollUp, MenuButton& scrollDown,
                             ScrollBar& positionBar, const ScreenLayout& layout)
    : window_(window), positionBar_(positionBar) {
    prepareIndex();

    const bool large = layout.mode() == kMode1024;
    const int L = layout.offsetX(), T = layout.offsetY(), H = layout.areaHeight();
    const int rowLeft = L + (large ? 244 : 130);
    for (int r = 0; r < kRowCount; ++r) {
        TableRow& w = rows_[r];
        const int top = H / 70 * 22 + T + r * 32;
        w.choice.name = "A_Wiersz" + std::to_string(r);
        w.choice.onExecute = [this, r] { choose(r, true); };

        w.number = std::make_unique<platform::Label>(window);
        w.number->setAutoSize(false);
        w.number->setTransparent(true);
        w.number->setAlignment(platform::TextAlign::Right);
        w.number->setFont(rowFont());
        w.number->setBounds(rowLeft, top, 26, 22);
        w.number->name = "vL_Numer" + std::to_string(r);

        w.name = std::make_unique<platform::Edit>(window);
        w.name->setFont(rowFont());
        w.name->setBounds(rowLeft + 26, top, 220, 26);
        w.name->maxLength = kMaxNameLength;
        w.name->name = "vE_Nazwa" + std::to_string(r);
        w.name->onClick = [this, r] { choose(r, false); };

        w.data = std::make_unique<platform::Label>(window);
        w.data->setAutoSize(false);
        w.data->setTransparent(false);
        w.data->setColor(platform::kWhite);
        w.data->setFont(rowFont());
        w.data->setBounds(rowLeft + 26 + 220 + 5, top + 2, 100, 22);
        w.data->name = "vL_Data" + std::to_string(r);

        w.button = std::make_unique<TwoStatePicture>(window, "S_CHBUT", canvas,
                                                     rowLeft + 26 + 220 + 5 + 100 + 5, top, &w.choice);
        w.button->control().name = "S_CHBUT" + std::to_string(r);
    }
    refresh();
    hide();

    nameHeader.setPosition(L + (large ? 329 : 229), T + (large ? 200 : 155));
    dateHeader.setPosition(L + (large ? 524 : 414), T + (large ? 200 : 155));
    const int datesRightEdge = rowLeft + 26 + 220 + 5 + 100;
    scrollUp.placeAt(datesRightEdge + 40, -1);
    scrollDown.placeAt(datesRightEdge + 40, -1);
    positionBar_.setRange(scrollUp.left() + 4, scrollUp.top() + 30, scrollDown.top() - 5);
}

RecordingList::~RecordingList() = default;

std::string RecordingList::cleanName(std::string_view text) {
    std::u32string chars;
    if (!decodeUtf8(text, chars)) {
        chars.clear();
        for (char c : text) {
            const auto b = static_cast<unsigned char>(c);
            const char32_t z = b < 0x80 ? b : kCp1250[b - 0x80];
            chars += z ? z : U'?';
        }
    }
    std::erase_if(chars, [](char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); });
    auto isEmpty = [](char32_t c) { return c == U' ' || c == 0xA0; };
    while (!chars.empty() && isEmpty(chars.back()))
        chars.pop_back();
    std::size_t from = 0;
    while (from < chars.size() && isEmpty(chars[from]))
        ++from;
    std::u32string_view result = std::u32string_view(chars).substr(from);
    result = result.substr(0, kMaxNameLength);
    while (!result.empty() && isEmpty(result.back()))
        result.remove_suffix(1);
    std::string out;
    appendUtf8(result, out);
    return out;
}

std::string RecordingList::placeFile(int p) {
    return "Nagrane\\Nagranie" + std::to_string(p) + ".wav";
}

std::string RecordingList::indexText(const std::array<Recording, kPlaceCount>& entries) {
    const std::string noDateText = platform::date::formatShort(kNoDate);
    std::string t;
    for (const Recording& n : entries) {
        if (!t.empty()) t += '\n';
        t += "[" + section(n.number) + "]\nPlik=" + n.file + "\nNazwa=" + n.name +
             "\nData=" + (n.data > kNoDate ? platform::date::formatShort(n.data) : noDateText) + "\n";
    }
    return t;
}

bool RecordingList::saveIndex(const std::array<Recording, kPlaceCount>& entries) {
    try {
        platform::fs::writeAtomic(kIndex, indexText(entries));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void RecordingList::prepareIndex() {
    for (int p = 0; p < kPlaceCount; ++p) {
        entries_[p] = Recording{};
        entries_[p].number = p;
    }
    gora_ = 0;
    // Leftovers of saves cut short by a kill.
    platform::fs::removeStaleTemporaries("Nagrane", "record.xtr");
    platform::fs::removeStaleTemporaries("Nagrane", "Nagranie*.wav");
    // A stray file where the directory belongs is kept beside it.
    if (platform::fs::exists("Nagrane")) platform::fs::moveAside("Nagrane");
    platform::fs::createDir("Nagrane");

    const bool available = platform::fs::exists(kIndex) || platform::fs::dirExists(kIndex);
    bool save = !available, damaged = false;
    if (available) {
        const platform::IniFile ini(kIndex);
        int sectionCount = 0;
        for (int p = 0; p < kPlaceCount && !ini.unreadable(); ++p) {
            const std::string s = section(p);
            if (!ini.sectionExists(s)) continue;
            ++sectionCount;
            Recording& n = entries_[p];
            // The file name follows from the place; anything else in the index is not ours to open.
            if (!ini.readString(s, "Plik", "").empty()) n.file = "Nagranie" + std::to_string(p);
            const std::string name = ini.readString(s, "Nazwa", "");
            n.name = cleanName(name);
            // Names of the Windows version are stored again as UTF-8.
            if (n.name != name) save = true;
            const double d = ini.readDate(s, "Data", 0);
            if (d > kNoDate) n.data = d;
        }
        // Places without their section could never be saved: the index is made whole again.
        damaged = ini.unreadable() || sectionCount < kPlaceCount;
    }
    // Takes the index does not list (a kill between the take and the index write, or an index made anew)
    // are kept: a whole take is adopted with its file's date, an empty or cut-off one removed.
    if (adoptRecordings(entries_)) save = true;
    if (damaged) {
        const std::string asidePath = platform::fs::moveAside(kIndex);
        if (asidePath.empty()) {
            indexMessage_ = recordingMessages::kIndexUnavailable;
            saved_ = entries_;
            return;
        }
        indexMessage_ = recordingMessages::kIndexRebuilt + ("\u201e" + asidePath + "\u201d.");
        save = true;
    }
    // One write for the whole index: a kill leaves the old file or the complete new one.
    if (save && !saveIndex(entries_)) indexMessage_ = recordingMessages::kIndexUnavailable;
    saved_ = entries_;
}

bool RecordingList::adoptRecordings(std::array<Recording, kPlaceCount>& entries) {
    bool changed = false;
    for (int p = 0; p < kPlaceCount; ++p) {
        Recording& n = entries[p];
        const std::string file = placeFile(p);
        if (!n.file.empty() || !platform::fs::exists(file)) continue;
        const auto bytes = platform::audiofiles::read(file);
        const auto sound = bytes ? platform::soundfile::decode(*bytes) : platform::soundfile::Decoded{};
        if (sound.playable() && sound.pcm.frames() > 0) {
            n.file = "Nagranie" + std::to_string(p);
            n.data = platform::date::fromUnixSeconds(platform::fs::modifiedTime(file));
            changed = true;
        } else if (bytes) {
            // An empty place's file or a take cut short before its header: nothing to play.
            platform::fs::remove(file);
        }
    }
    return changed;
}

std::string RecordingList::indexMessage() {
    return std::exchange(indexMessage_, std::string());
}

std::string RecordingList::dateText(double data) {
    return data > kNoDate ? platform::date::formatShort(data) : std::string();
}

void RecordingList::refresh() {
    for (int r = 0; r < kRowCount; ++r) {
        const Recording& n = entries_[gora_ + r];
        TableRow& w = rows_[r];
        w.number->setCaption(std::to_string(n.number + 1) + ".");
        w.name->setText(n.name);
        w.data->setCaption(dateText(n.data));
        // A hidden row is switched off when the panel shows it again.
        if (w.button->control().visible()) w.button->setState(0);
    }
}

void RecordingList::show() {
    for (TableRow& w : rows_) {
        w.number->show();
        w.name->show();
        w.data->show();
        w.button->show();
        w.button->setState(0);
    }
}

void RecordingList::hide() {
    for (TableRow& w : rows_) {
        if (w.name->focused()) window_.setFocusedControl(nullptr);
        w.number->hide();
        w.name->hide();
        w.data->hide();
        w.button->hide();
    }
}

void RecordingList::draw() {
    for (TableRow& w : rows_)
        if (w.button->control().visible()) w.button->draw();
}

bool RecordingList::scrollUp() {
    if (gora_ <= 0) return false;
    --gora_;
    refresh();
    positionBar_.stepUp();
    return true;
}

bool RecordingList::scrollDown() {
    if (gora_ > kPlaceCount - kRowCount - 1) return false;
    ++gora_;
    refresh();
    positionBar_.stepDown();
    return true;
}

int RecordingList::chosenRow() const {
    for (int r = 0; r < kRowCount; ++r)
        if (rows_[r].button->state() == 1) return r;
    return -1;
}

std::string RecordingList::rowName(int r) {
    if (r < 0 || r >= kRowCount) return {};
    platform::Edit& e = *rows_[r].name;
    std::string t = cleanName(e.text());
    if (t != e.text()) {
        e.setText(t);
        e.setCaretPos(e.length());
    }
    entries_[gora_ + r].name = t;
    return t;
}

std::string RecordingList::rowPath(int r) const {
    if (r < 0 || r >= kRowCount) return {};
    const Recording& n = entries_[gora_ + r];
    return n.file.empty() ? std::string() : "Nagrane\\" + n.file + ".wav";
}

bool RecordingList::savePlace(int p) {
    if (p < 0 || p >= kPlaceCount) return false;
    Recording& n = entries_[p];
    n.file = "Nagranie" + std::to_string(n.number);
    n.data = platform::date::today();
    if (p >= gora_ && p < gora_ + kRowCount) rows_[p - gora_].data->setCaption(dateText(n.data));
    const std::string s = section(p);
    bool ok = false;
    bool damaged = true;
    try {
        platform::IniFile ini(kIndex);
        damaged = ini.unreadable() || !ini.sectionExists(s);
        if (!damaged) {
            const std::string data = platform::date::formatShort(n.data);
            ini.writeStrings(s, {{"Nazwa", n.name}, {"Plik", n.file}, {"Data", data}});
            ok = true;
        }
    } catch (const std::exception&) {
    }
    if (damaged) {
        // The index went missing or bad since start-up: it is made whole again from what it last held.
        auto entries = saved_;
        entries[p] = n;
        const bool available = platform::fs::exists(kIndex) || platform::fs::dirExists(kIndex);
        ok = (!available || !platform::fs::moveAside(kIndex).empty()) && saveIndex(entries);
    }
    if (ok) saved_[p] = n;
    return ok;
}

void RecordingList::choose(int r, bool fromButton) {
    for (int i = 0; i < kRowCount; ++i) {
        TableRow& w = rows_[i];
        if (i != r) {
            if (w.button->state() == 1) w.button->setState(0);
            continue;
        }
        if (fromButton && w.button->state() == 1) {
            w.button->setState(0);
            window_.setFocusedControl(nullptr);
        } else {
            w.button->setState(1);
            w.name->setFocus();
        }
        w.name->setCaretPos(w.name->length());
    }
}
