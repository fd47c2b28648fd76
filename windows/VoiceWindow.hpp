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
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A word's voice in the adult's hands: record it or bring a sound file, hear the take, keep it or try
// again, or go back to the program's own voice. Nothing changes on disk until "Zachowaj".
class VoiceWindow : public platform::Form {
public:
    // Long enough for a slowly spoken word and the silence around it; what is kept is trimmed to 5 s.
    static constexpr int kRecordMs = 7000;

    // ownWord: a word of the adult's own, which has no program's voice to go back to.
    VoiceWindow(std::string stem, std::string caption, bool ownWord = false);
    ~VoiceWindow() override;

    // A take made from a sound file (native path); its problem, if any, is shown.
    void takeFromFile(const std::string& nativePath);
    const VoiceTake& take() const { return take_; }
    std::string status() const { return message.caption(); }
    // Whether the word has a voice of its own (kept), as opposed to the program's.
    bool ownVoice() const;
    // For a word not saved yet: "Zachowaj" hands the take here instead of keeping it on disk (empty, or
    // why it could not be taken), and there is no program's voice to go back to.
    std::function<std::string(const VoiceTake&)> keeper;

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
    bool ownWord_;
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
