// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Input.hpp"
#include "words/Catalogue.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Canvas;
}
class LabellingGame;
class LabellingWindow;

// A letter tile: its picture and the picture-less hit area that carries the drag. Fields derive from it
// and have neither.
class LetterTile {
public:
    // A field: no picture, no hit area.
    LetterTile() = default;
    // A tile of unit text; red picks the picture of the practised sound.
    LetterTile(LabellingWindow& window, LabellingGame& game, const std::string& text, bool red, int mode);
    virtual ~LetterTile();
    LetterTile(const LetterTile&) = delete;
    LetterTile& operator=(const LetterTile&) = delete;

    const std::string& text() const { return text_; }
    int x() const { return x_; }
    int y() const { return y_; }
    // Moves the tile and its hit area.
    void moveTo(int x, int y);
    const platform::Bitmap& picture() const { return picture_; }
    platform::Rect area() const {
        return platform::Rect::fromSize(x_, y_, picture_.width(), picture_.height());
    }
    platform::ImageControl* hitArea() const { return hitArea_.get(); }
    void draw(platform::Canvas& canvas) const;

protected:
    friend class LabellingGame;
    platform::Bitmap picture_;
    std::unique_ptr<platform::ImageControl> hitArea_;
    std::string text_;
    std::int16_t x_ = 0, y_ = 0;
};

// One field of the caption; text is the text of the tile lying in it.
class LetterField : public LetterTile {
public:
    LetterTile* tile() const { return tile_; }
    bool isEmpty() const { return tile_ == nullptr; }
    void vacate() {
        tile_ = nullptr;
        text_.clear();
    }
    void accept(LetterTile& l) {
        tile_ = &l;
        text_ = l.text();
    }

private:
    friend class LabellingGame;
    LetterTile* tile_ = nullptr;
};

// One labelling game on the catalogue's selection: the current word's tiles and fields and the end timer.
class LabellingGame {
public:
    static constexpr int kFieldReach = 25; // a drop this close to a field snaps into it
    static constexpr int kAboveField = 60; // a drop by an occupied field lands this far above it
    static constexpr int kSpacing = 65;    // scattered tiles keep this distance on one axis at least
    static constexpr int kFrame = 5;       // width of a field's frame
    static constexpr int kEndMs = 60000;   // the game ends this long after the last word is solved

    explicit LabellingGame(LabellingWindow& window);
    ~LabellingGame();
    LabellingGame(const LabellingGame&) = delete;
    LabellingGame& operator=(const LabellingGame&) = delete;

    void placePicture(int x, int y) {
        pictureX_ = x;
        pictureY_ = y;
    }
    void setCanvases(platform::Canvas& workBitmap, platform::Canvas& dragSurface) {
        workCanvas_ = &workBitmap;
        dragCanvas_ = &dragSurface;
    }
    void prepareTask();
    void drawPicture();
    void drawFields(platform::Canvas& canvas);
    void drawTiles();
    void hideTiles();
    void scatter();
    void showSolution();
    void hint();
    void say();
    bool next();
    bool previous();
    bool isLast() const { return wordIndex_ == lastIndex_; }
    bool isFirst() const { return wordIndex_ == 0; }
    bool solved() const;
    bool allFound() const;
    bool hitsPicture(int x, int y);

    platform::Timer& endTimer() { return endTimer_; }

    // State as the window and tests see it.
    int wordIndex() const { return wordIndex_; }
    const std::string& correctAnswer() const { return correctAnswer_; }
    const std::string& word() const { return word_; }
    int side() const { return side_; }
    int tileCount() const { return int(tiles_.size()); }
    const LetterTile& tile(int i) const { return *tiles_[std::size_t(i)]; }
    const LetterField& hitArea(int i) const { return *fields_[std::size_t(i)]; }
    const LetterTile* draggedTile() const { return draggedTile_; }
    const platform::Bitmap& mask() const { return mask_; }
    // Where field i of n stands for a content area of w x h and tile side side.
    static platform::Point fieldPlace(int i, int n, int w, int h, int side);
    // The nearest place to (x, y) for a tile of size w x h that lies fully inside the play area and
    // off every button.
    platform::Point placeForTile(int x, int y, int w, int h) const;

private:
    friend class LetterTile;
    // Tile events.
    void tilePressed(LetterTile& l, platform::MouseButton b, platform::ShiftState s, int mx, int my);
    void tileMoved(LetterTile& l, platform::ShiftState s);
    void tileReleased(LetterTile& l, platform::MouseButton b);
    void doubleClick(LetterTile& l);
    void check();
    void placeFields();
    void redrawFields();
    int randomBelow(int m) const;
    // A scattered tile there would lie on a field (frame included) or on a button, or leave the area.
    bool occupied(const platform::Rect& r) const;
    Word* currentWord() const;

    LabellingWindow& window_;
    std::int16_t wordIndex_ = 0;
    std::string correctAnswer_;
    std::string word_;
    std::int32_t lastIndex_ = -1;
    platform::Bitmap mask_;
    std::int32_t pictureX_ = 0, pictureY_ = 0;
    std::int16_t side_ = 44;
    int mode_ = 0;
    int W_ = 800, H_ = 600;
    platform::Timer endTimer_{kEndMs};
    std::vector<std::unique_ptr<LetterTile>> tiles_;
    std::vector<std::unique_ptr<LetterField>> fields_;
    LetterTile* draggedTile_ = nullptr;
    platform::Canvas* workCanvas_ = nullptr;
    platform::Canvas* dragCanvas_ = nullptr;
    // The tile under the mouse since its press, and where in it the press was (screen offset).
    LetterTile* grabbed_ = nullptr;
    platform::Point grabOffset_{};
    bool afterDoubleClick_ = false;
    // The last wrong caption counted: the same caption again (a tile taken out and put back) is not
    // another wrong answer.
    std::string lastWrong_;
    std::shared_ptr<char> life_ = std::make_shared<char>();
};
