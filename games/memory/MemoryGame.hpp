// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/ImageControl.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Canvas;
}
class MemoryGame;
class MemoryWindow;

// One card of the board; both cards of a pair carry the same word. The card owns its pictures, its
// timers and its click area, which is visible exactly while the card is on the board.
class MemoryCard {
public:
    // Card for entry i of the catalogue's selection. Raises when the back or the small picture is missing.
    MemoryCard(MemoryWindow& window, MemoryGame& game, int i);
    MemoryCard(const MemoryCard&) = delete;
    MemoryCard& operator=(const MemoryCard&) = delete;

    const std::string& word() const { return word_; }
    bool onBoard() const { return hitArea_.visible(); }
    platform::Rect area() const { return hitArea_.bounds(); }

    void click();
    void drawBack(platform::Canvas& canvas) const;
    void drawFace(platform::Canvas& canvas) const;
    void relocate(int x, int y);
    void takeOff();
    // The big picture with its mask at (x, y).
    void showLarge(platform::Canvas& canvas, int x, int y) const;
    void say() const;

    platform::Timer vanishTimer{2000};
    platform::Timer coverTimer{1200};

private:
    MemoryGame& game_;
    std::string word_;
    platform::Bitmap front_, back_, mask_, large_;
    platform::ImageControl hitArea_;
};

// The pairs game on the current selection of the word catalogue.
class MemoryGame {
public:
    // Builds the board from the catalogue's selection (the window has drawn the words before).
    MemoryGame(MemoryWindow& window, int pairs);
    ~MemoryGame();
    MemoryGame(const MemoryGame&) = delete;
    MemoryGame& operator=(const MemoryGame&) = delete;

    // Places the click areas of the cards on the board and draws their backs.
    void draw(platform::Canvas& canvas);
    void hint();
    bool allFound() const { return uncovered_ == remaining_; }
    // Switches every card's timer off (the window is leaving the screen).
    void stop();

    // The board as the window and tests see it.
    int cardCount() const { return int(cards_.size()); }
    const MemoryCard* card(int k) const { return cards_[std::size_t(k)].get(); }
    // Top-left corner of cell k in window coordinates.
    platform::Point cell(int k) const;
    int remaining() const { return remaining_; }
    bool acceptsInput() const { return acceptsInput_; }
    const MemoryCard* first() const { return first_; }

    // Layout of a board with the given number of pairs in a display mode.
    struct Layout {
        int rows, columns;
        platform::Point start;
        int stepX, stepY;
    };
    static Layout layout(int pairs, int mode);
    static platform::Point largeCardPlace(int mode);

private:
    friend class MemoryCard;
    void click(MemoryCard& card);
    void vanish(MemoryCard& card);
    void cover(MemoryCard& card);
    bool pair(int a, int b) const;
    bool pair(const MemoryCard* a, const MemoryCard* b) const;

    std::vector<std::unique_ptr<MemoryCard>> cards_;
    MemoryWindow& window_;
    MemoryCard* first_ = nullptr;
    std::int16_t remaining_ = 0;
    std::int16_t uncovered_ = 0;
    bool acceptsInput_ = true;
    Layout layout_{};
    int mode_ = 0;
};
