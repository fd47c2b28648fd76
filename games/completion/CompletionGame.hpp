// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/ImageControl.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Canvas;
}
class CompletionWindow;
class CompletionGame;

// One unit picture of the word row, or a choice button (then it has a click area on the window).
class SoundBlock {
public:
    // window given: a choice button with its click area; otherwise a row piece.
    // A choice block (window given) passes its clicks to game.
    SoundBlock(const std::string& text, const std::string& pictureName, CompletionWindow* window,
               CompletionGame* game = nullptr);
    SoundBlock(const SoundBlock&) = delete;
    SoundBlock& operator=(const SoundBlock&) = delete;

    // A picture the resource library cannot supply leaves the piece empty (nothing drawn, no click area).
    void changePicture(const std::string& name);
    void moveTo(int x, int y);
    void draw(platform::Canvas& canvas) const;
    void setClickable(bool clickable);
    platform::Rect area() const;

    std::uint8_t clickable = 0;
    platform::Bitmap picture;
    std::unique_ptr<platform::ImageControl> hitArea;
    std::int16_t x = 0, y = 0;
    std::string text;
};

// One word-completion game on the catalogue's selection (drawn by the window before).
class CompletionGame {
public:
    CompletionGame(CompletionWindow& window, platform::Canvas& workCanvas,
                   platform::Canvas& backgroundCanvas);
    ~CompletionGame();
    CompletionGame(const CompletionGame&) = delete;
    CompletionGame& operator=(const CompletionGame&) = delete;

    void placePicture(int x, int y);
    void prepareTask();
    void draw();
    void choose(const std::string& unit);
    void hint();
    bool next();
    bool previous();
    bool isLast() const { return wordIndex >= lastIndex; }
    bool isFirst() const { return wordIndex == 0; }
    bool solved() const;
    bool allFound() const;
    bool reopen(int x, int y);
    void stopTimer() { endTimer.stop(); }

    // What the window and tests look at.
    const std::string& word() const { return word_; }
    int number() const { return wordIndex; }
    int wordCount() const { return lastIndex + 1; }
    const std::vector<std::unique_ptr<SoundBlock>>& blocks() const { return blocks_; }
    int gap() const { return gapIndex; }
    const SoundBlock* choice(int i) const { return i == 0 ? choice1.get() : choice2.get(); }
    const std::string& correctAnswer() const { return correctAnswer_; }
    bool timerEnabled() const { return endTimer.enabled(); }
    int side() const { return side_; }
    platform::Point picturePosition() const { return {pictureX, pictureY}; }
    const platform::Bitmap& mask() const { return mask_; }

    // Layout: x of the first row piece, the row's y, and the two choice slots.
    static int rowStart(int n, int side, int W);
    static platform::Point choicePlace(int slot, int W, int H);

private:
    bool hasWord() const;
    std::string resourceSuffix() const;
    void arrange();
    void drawGap();
    void setOpen(bool isOpen);

    std::string word_;
    std::int16_t wordIndex = 0;
    std::int16_t lastIndex = -1;
    CompletionWindow& window_;
    platform::Canvas& workCanvas;
    platform::Canvas& backgroundCanvas;
    platform::Timer endTimer{60000};
    std::int16_t side_ = 44;
    std::vector<std::unique_ptr<SoundBlock>> blocks_;
    std::int16_t gapIndex = -1;
    std::unique_ptr<SoundBlock> choice1, choice2;
    std::string chosen;
    std::string correctAnswer_;
    platform::Bitmap mask_;
    int pictureX = 0, pictureY = 0;
    int W = 0, H = 0;
    int mode_ = 0;
};
