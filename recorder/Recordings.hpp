// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/audio/Recorder.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Edit.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Label.hpp"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class TwoStatePicture;
class MenuButton;
class ScrollBar;
class ScreenLayout;

namespace platform {
class Canvas;
}

// One recording place: its number, the name the user gave it, the date of its last recording and the
// stem of its sound file.
struct Recording {
    int number = 0;
    std::string name;
    double data = 32874; // 1 January 1990: no date
    std::string file;
};

// What the panel tells the user when the recorder or its files fail.
namespace recordingMessages {
inline constexpr const char* kMicrophone =
    "Nie można włączyć mikrofonu.\nSprawdź, czy mikrofon jest podłączony.";
inline constexpr const char* kSaveFailed = "Nie udało się zapisać nagrania na dysku.";
inline constexpr const char* kSaveFailedPreviousKept =
    "Nie udało się zapisać nagrania na dysku. Poprzednie nagranie pozostało bez zmian.";
inline constexpr const char* kDamagedRecording =
    "Nagranie jest uszkodzone i nie da się go odtworzyć. Nagraj je ponownie.";
inline constexpr const char* kIndexSaveFailed =
    "Nagranie zapisano, ale nie udało się zapisać jego nazwy i daty w spisie nagrań.";
inline constexpr const char* kIndexUnavailable = "Nie można odczytać ani zapisać spisu nagrań w katalogu "
                                                 "Nagrane. Nazwy i daty nagrań nie zostaną zapamiętane.";
// Followed by the name the damaged index was kept under.
inline constexpr const char* kIndexRebuilt =
    "Spis nagrań był uszkodzony i utworzono go od nowa. Stary spis zachowano jako ";
} // namespace recordingMessages

// The microphone recorder of the recordings panel: one WAV file of a place at a time.
class VoiceRecorder {
public:
    // speaker: the program-wide speaker switch; while it is off the recorder counts as busy.
    explicit VoiceRecorder(const bool& speaker);
    ~VoiceRecorder();
    VoiceRecorder(const VoiceRecorder&) = delete;
    VoiceRecorder& operator=(const VoiceRecorder&) = delete;

    // Opens the place's file, creating the empty recording when it is missing.
    bool open(const std::string& path);
    // False when the microphone cannot be opened (a file the open created for it is removed again).
    bool startRecording(int maxMs);
    // False when nothing is open or the file is damaged.
    bool play();
    void stop();
    void closePeriod();
    bool busy() const;

    enum class RecordingOutcome { None, Saved, Unsaved };
    // How the last recording ended: saved to its file or refused by the disk.
    RecordingOutcome recordingResult() const { return result_; }

    bool opened() const { return opened_; }
    bool isRecording() const { return recording_; }
    bool playing() const { return playing_; }

    // Run when a recording reaches its limit or a playback ends by itself.
    std::function<void()> onRecorded;
    std::function<void()> onPlayed;

private:
    void finishedPlaying();
    void recordingEnded();

    platform::sound::Recorder player_;
    const bool& speaker_;
    std::string path_;
    bool created_ = false; // the open created the file
    RecordingOutcome result_ = RecordingOutcome::None;
    bool opened_ = false;
    bool recording_ = false;
    bool playing_ = false;
};

// The 30 recording places, their index file and the eight visible rows of the panel.
class RecordingList {
public:
    static constexpr int kPlaceCount = 30;
    static constexpr int kRowCount = 8;
    static constexpr double kNoDate = 32874;
    static constexpr const char* kIndex = "Nagrane\\record.xtr";
    // Longest name in characters: what fits the row.
    static constexpr int kMaxNameLength = 60;

    // The headers, the list buttons and the scroll bar belong to the window; the list places them.
    RecordingList(platform::Form& window, platform::Canvas& canvas, platform::Label& nameHeader,
                  platform::Label& dateHeader, MenuButton& scrollUp, MenuButton& scrollDown,
                  ScrollBar& positionBar, const ScreenLayout& layout);
    ~RecordingList();
    RecordingList(const RecordingList&) = delete;
    RecordingList& operator=(const RecordingList&) = delete;

    // All rows visible, no row selected.
    void show();
    void hide();
    // Draws the rows' check buttons again (after the window painted its background over them).
    void draw();
    bool scrollUp();
    bool scrollDown();
    // First selected row, -1 when none.
    int chosenRow() const;
    // The row's typed name, cleaned (see cleanName), kept in memory for its place and shown as kept.
    std::string rowName(int r);
    // The place's sound file, empty while it has never been recorded.
    std::string rowPath(int r) const;
    // The file a recording of place p goes to.
    static std::string placeFile(int p);
    // Records the row's place in the index file with today's date; false when the index cannot be written
    // (the place then shows its take for this session only).
    bool saveEntry(int r) { return savePlace(gora_ + r); }
    bool savePlace(int p);
    // Takes on disk that entries does not list (a kill between a take and the index write, or an index made
    // anew): a take with sound is listed with no name and its file's date; an empty or cut-off file is
    // removed. True when entries changed.
    static bool adoptRecordings(std::array<Recording, kPlaceCount>& entries);
    // Once: what the user must know about the index found at start-up (empty when all was well).
    std::string indexMessage();

    // A name as stored: text that is no valid UTF-8 read as code page 1250, control characters dropped,
    // blanks trimmed, at most kMaxNameLength characters (never a cut character).
    static std::string cleanName(std::string_view text);
    // The whole index for these places, as one file.
    static std::string indexText(const std::array<Recording, kPlaceCount>& entries);

    int top() const { return gora_; }
    const Recording& entry(int p) const { return entries_[p]; }
    platform::Edit& nameEdit(int r) { return *rows_[r].name; }
    TwoStatePicture& button(int r) { return *rows_[r].button; }

private:
    struct TableRow {
        platform::Action choice;
        std::unique_ptr<platform::Label> number;
        std::unique_ptr<platform::Edit> name;
        std::unique_ptr<platform::Label> data;
        std::unique_ptr<TwoStatePicture> button;
    };

    void prepareIndex();
    bool saveIndex(const std::array<Recording, kPlaceCount>& entries);
    void refresh();
    void choose(int r, bool fromButton);
    static std::string dateText(double data);

    platform::Form& window_;
    ScrollBar& positionBar_;
    std::array<Recording, kPlaceCount> entries_;
    std::array<Recording, kPlaceCount> saved_; // as the index on disk holds them
    std::string indexMessage_;
    std::array<TableRow, kRowCount> rows_;
    short gora_ = 0;
};
