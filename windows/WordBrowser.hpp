// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "widgets/TextButton.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ProgramContext;
struct Word;

// The adults' view of the catalogue: every word as its picture, its spelling, its sound and position,
// filtered by sound and position; a word is heard with "Posłuchaj" and switched off or on for the child
// who plays (kept in the child's folder, and left out of that child's games).
class WordBrowser : public platform::Form {
public:
    static constexpr int kColumns = 5, kRows = 3, kPerPage = kColumns * kRows;
    static constexpr int kSoundFilters = 8, kPositionFilters = 3;

    explicit WordBrowser(ProgramContext& context);
    ~WordBrowser() override;

    // The words the filters let through, in catalogue order (indexes into the catalogue's table).
    const std::vector<std::size_t>& shown() const { return shown_; }
    // The selected word's index into shown(), -1 for none.
    int selected() const { return selected_; }
    void select(int index);
    // Switches the selected word off for the child, or on again; saved at once.
    void toggleSelected();
    // The voice window for the selected word; with a file, its take is made from that file first.
    void editVoice(const std::string& droppedFile = {});
    // The own-word window: a new word, or the selected own word to change or remove.
    void editOwnWord(bool selected);
    // Whether the last change could not be saved (then said on screen).
    const std::string& status() const { return status_; }

    std::array<std::unique_ptr<platform::ImageControl>, kPerPage> cells;
    std::array<std::unique_ptr<TextButton>, kSoundFilters> soundFilters;
    std::array<std::unique_ptr<TextButton>, kPositionFilters> positionFilters;
    TextButton listen{*this, "posluchaj", "Posłuchaj", platform::rgb(41, 128, 185)};
    TextButton voice{*this, "glos", "Głos…", platform::rgb(142, 68, 173)};
    TextButton onOff{*this, "wlacz", "Wyłącz", platform::rgb(192, 57, 43)};
    TextButton previous{*this, "poprzednie", "<", platform::rgb(41, 128, 185)};
    TextButton next{*this, "nastepne", ">", platform::rgb(41, 128, 185)};
    TextButton done{*this, "gotowe", "Gotowe", platform::rgb(230, 126, 34)};
    TextButton addWord{*this, "dodajslowo", "Dodaj słowo", platform::rgb(39, 174, 96)};
    TextButton editWord{*this, "zmienslowo", "Zmień słowo", platform::rgb(41, 128, 185)};

protected:
    void paintEvent() override;
    void keyPressEvent(int charCode) override;
    void keyDownEvent(platform::Key key, platform::ShiftState shift) override;
    // A sound file dropped onto a word becomes that word's new take.
    void dropFileEvent(const std::string& nativePath, int x, int y) override;

private:
    ProgramContext& context_;
    std::uint16_t sounds_ = 0x00FF;
    std::uint16_t positions_ = 0x7000;
    std::vector<std::size_t> shown_;
    std::vector<platform::Bitmap> pictures_; // the page's
    std::vector<bool> ownVoices_;            // the page's words with a voice of their own
    int page_ = 0;
    int selected_ = -1;
    std::string status_;

    bool large() const;
    void applyFilters();
    void showPage();
    void updateButtons();
    platform::Rect cellRect(int slot) const;
    bool switchedOff(const Word& word) const;
};

// "SZ, nagłos" for a word's flags.
std::string wordSoundAndPosition(std::uint16_t flags);
