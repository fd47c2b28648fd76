// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/OwnWords.hpp"
#include "core/WordVoices.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/windows/Edit.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Label.hpp"
#include "widgets/TextButton.hpp"
#include "words/WordProposal.hpp"

#include <array>
#include <memory>
#include <string>
#include <vector>

class Catalogue;

// The adult's own word: typed (split and read by the program, which says why it refuses), its picture
// from a photo or a drawing with a square crop moved and zoomed, its voice recorded or brought; saved
// beside the shipped catalogue, never in it. Also edits an own word's sound, picture and voice.
class OwnWordWindow : public platform::Form {
public:
    static constexpr int kMaxOccurrences = 4;
    // editing: the stem of the own word to edit; empty for a new word.
    OwnWordWindow(Catalogue& catalogue, std::string editing = {});

    // A photo file (native path) for the word's picture; its problem, if any, is shown.
    void takePhoto(const std::string& nativePath);
    // Moves the crop by a tenth of its side (dx, dy: -1, 0, 1) or zooms it (zoom: -1 in, 1 out).
    void moveCrop(int dx, int dy, int zoom);
    void chooseOccurrence(int index);
    const WordProposal& proposal() const { return proposal_; }
    std::string status() const { return message.caption(); }
    // Saves the word; false (and the reason shown) when it cannot be saved yet.
    bool save();
    // Removes the own word being edited, after asking; true when it is gone.
    bool removeWord();

    platform::Edit edit{*this};
    platform::Label message{*this, ""};
    std::array<std::unique_ptr<TextButton>, kMaxOccurrences> occurrenceButtons;
    TextButton photo{*this, "zdjecie", "Zdjęcie…", platform::rgb(142, 68, 173)};
    TextButton voice{*this, "glos", "Głos…", platform::rgb(142, 68, 173)};
    std::array<std::unique_ptr<TextButton>, 6> cropButtons; // left, right, up, down, closer, farther
    TextButton remove{*this, "usunslowo", "Usuń słowo", platform::rgb(192, 57, 43)};
    TextButton ok{*this, "zapisz", "Zapisz", platform::rgb(39, 174, 96)};
    TextButton cancel{*this, "anuluj", "Anuluj", platform::rgb(192, 57, 43)};

protected:
    void paintEvent() override;
    void showEvent() override;
    void keyPressEvent(int charCode) override;
    void dropFileEvent(const std::string& nativePath, int x, int y) override;

private:
    Catalogue& catalogue_;
    std::string editing_;
    WordProposal proposal_;
    int occurrence_ = -1;
    platform::Bitmap photo_;
    SquareCrop crop_{};
    WordPictures pictures_;
    bool hasPictures_ = false;
    VoiceTake voice_;
    bool hasVoice_ = false;
    std::string problem_;

    void readWord();
    void remakePictures();
    void say(std::string text, bool problem);
    void updateButtons();
    std::string describe() const;
};
