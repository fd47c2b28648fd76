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
struct Word;
class RingOverlay;
class FallingGame;
class FallingWindow;

// A word picture falling from above the window; its click area follows it.
class FallingPicture {
public:
    FallingPicture(FallingWindow& window, FallingGame& game, const Word& s);
    FallingPicture(const FallingPicture&) = delete;
    FallingPicture& operator=(const FallingPicture&) = delete;

    std::string word;
    std::uint16_t flags = 0;
    platform::Bitmap picture;
    platform::ImageControl hitArea;
    std::int16_t x = 0, y = 0;
    // Rows of the picture still above the bottom line; below zero it has sunk completely.
    std::int16_t height = 0;
    bool active = false;
};

// One place of the bottom row; filled by a hit, clickable in the end phase.
class PictureField {
public:
    // Raises when the red or the question-mark picture cannot be loaded.
    PictureField(FallingWindow& window, FallingGame& game, int mode);
    PictureField(const PictureField&) = delete;
    PictureField& operator=(const PictureField&) = delete;

    void draw(platform::Canvas& canvas) const;

    std::string word;
    std::int16_t x = 0, y = 0, width = 0, height = 0;
    platform::Bitmap red, questionMark, current;
    platform::ImageControl hitArea;
};

// The falling-pictures game: targets, distractors, the bottom row of places and the end phase.
class FallingGame {
public:
    // The targets are the given selection (entries without a small picture are left out).
    // Raises FatalError code 1 when the place pictures or the ring cannot be loaded.
    FallingGame(FallingWindow& window, platform::Canvas& workCanvas, platform::Canvas& backgroundCanvas,
                const std::vector<Word>& targets);
    ~FallingGame();
    FallingGame(const FallingGame&) = delete;
    FallingGame& operator=(const FallingGame&) = delete;

    void addDistractors(const std::vector<Word>& choice);
    void layOutFields();
    void scatter();
    void step();
    void hint();
    void end();
    bool allFound() const { return found_ == targetCount_; }

    void pictureClicked(FallingPicture& o);
    void fieldClicked(PictureField& p);

    // The game as the window and tests see it.
    int targetCount() const { return targetCount_; }
    int found() const { return found_; }
    int bottom() const { return bottom_; }
    bool finalStage() const { return finalStage_; }
    int pictureCount() const { return int(pictures_.size()); }
    FallingPicture& pictureAt(int i) { return *pictures_[std::size_t(i)]; }
    PictureField& hitArea(int i) { return *fields_[std::size_t(i)]; }
    bool target(const FallingPicture& o) const;
    const RingOverlay& ring() const { return *ring_; }

    platform::Timer redTimer{300};
    platform::Timer endTimer{60000};

private:
    void releaseAgain(FallingPicture& o);
    bool isNear(int x, int y) const;
    int drawRandomX() const;
    void onHit(FallingPicture& o);
    void miss();
    void endRed();

    FallingWindow& window_;
    platform::Canvas& workBitmap_;
    platform::Canvas& backgrounds_;
    std::vector<std::unique_ptr<FallingPicture>> pictures_;
    std::vector<std::unique_ptr<PictureField>> fields_;
    std::unique_ptr<RingOverlay> ring_;
    std::int16_t targetCount_ = 0;
    std::int16_t found_ = 0;
    int mode_ = 0;
    int W = 0, H = 0;
    int bottom_ = 0;
    bool finalStage_ = false;
};
