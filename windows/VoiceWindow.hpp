// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/WordVoices.hpp"
#include "platform/audio/Recorder.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Label.hpp"
#include "widgets/TextButton.hpp"

#include <array>
#include <memory>
#include <string>
#include <vector>

// A word's voice in the adult's hands: record it or bring a sound file, hear the take, keep it or try
// again, or go back to the program's own voice. Nothing changes on disk until "Zachowaj".
class VoiceWindow : public platform::Form {
public:
    // Long enough for a slowly spoken word and the silence around it; what is kept is trimmed to 5 s.
    static constexpr int kRecordMs = 7000;

    VoiceWindow(std::string stem, std::string caption);
    ~VoiceWindow() override;

    // A take made from a sound file (native path); its problem, if any, is shown.
    void takeFromFile(const std::string& nativePath);
    const VoiceTake& take() const { return take_; }
    std::string status() const { return message.caption(); }
    // Whether the word has a voice of its own (kept), as opposed to the program's.
    bool ownVoice() const;

    platform::Label message{*this, ""};
    TextButton record{*this, "nagraj", "Nagraj", platform::rgb(192, 57, 43)};
    TextButton fromFile{*this, "zpliku", "Z pliku…", platform::rgb(142, 68, 173)};
    TextButton listen{*this, "posluchaj", "Posłuchaj", platform::rgb(41, 128, 185)};
    TextButton keep{*this, "zachowaj", "Zachowaj", platform::rgb(39, 174, 96)};
    TextButton shipped{*this, "glosprogramu", "Głos programu", platform::rgb(22, 160, 133)};
    TextButton close{*this, "zamknij", "Zamknij", platform::rgb(230, 126, 34)};

protected:
    void paintEvent() override;
    void showEvent() override;
    void keyPressEvent(int charCode) override;
    void dropFileEvent(const std::string& nativePath, int x, int y) override;

private:
    std::string stem_, caption_;
    platform::Bitmap picture_;
    VoiceTake take_;
    platform::sound::Recorder recorder_;

    std::string takePath() const;
    void startOrStopRecording();
    void finishRecording();
    void playTake();
    void keepTake();
    void backToShipped();
    void say(std::string text, bool problem);
    void updateButtons();
    void finish();
};

// A simple list of the sound files in the user's home, music and desktop folders, for an adult to choose
// one; no system dialog, so it looks and works the same everywhere and in the headless runs.
class SoundFilePicker : public platform::Form {
public:
    static constexpr int kRows = 8;
    SoundFilePicker();
    // The file chosen (native path), after a kModalOk.
    const std::string& chosen() const { return chosen_; }
    const std::vector<std::string>& files() const { return files_; }
    void openFolder(int index);

    std::vector<std::unique_ptr<TextButton>> folderButtons;
    std::array<std::unique_ptr<platform::ImageControl>, kRows> rows;
    TextButton previous{*this, "poprzednie", "<", platform::rgb(41, 128, 185)};
    TextButton next{*this, "nastepne", ">", platform::rgb(41, 128, 185)};
    TextButton choose{*this, "wybierz", "Wybierz", platform::rgb(39, 174, 96)};
    TextButton cancel{*this, "anuluj", "Anuluj", platform::rgb(192, 57, 43)};

protected:
    void paintEvent() override;
    void showEvent() override;
    void keyPressEvent(int charCode) override;

private:
    std::vector<std::pair<std::string, std::string>> folders_; // caption, native path
    int folder_ = -1;
    std::vector<std::string> files_; // bare names in the folder
    int page_ = 0;
    int selected_ = -1;
    std::string chosen_;

    void showPage();
    platform::Rect rowRect(int slot) const;
};
