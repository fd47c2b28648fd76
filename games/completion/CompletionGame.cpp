// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/completion/CompletionGame.hpp"

#include "core/ProgramContext.hpp"
#include "core/ResourcePictures.hpp"
#include "core/ScreenLayout.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "games/completion/CompletionWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Random.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Cursor.hpp"
#include "words/Catalogue.hpp"
#include "words/LetterTiles.hpp"

#include <array>
#include <exception>
#include <utility>

namespace {

// The practised sound and its look-alike; the first pair holding the answer wins, so "z" gets "rz".
constexpr std::array<std::pair<const char*, const char*>, 5> kPairs{{
    {"sz", "s"},
    {"cz", "c"},
    {"rz", "z"},
    {"ż", "z"},
    {"dż", "dz"},
}};

} // namespace

// ---- the piece

SoundBlock::SoundBlock(const std::string& text_, const std::string& pictureName, CompletionWindow* window,
                       CompletionGame* game)
    : text(text_) {
    changePicture(pictureName);
    if (!window) return;
    hitArea = std::make_unique<platform::ImageControl>(*window);
    hitArea->name = "wybor_" + text;
    // The second press of a double click is no second try: one wrong choice counts once.
    hitArea->acceptsDoubleClicks = true;
    hitArea->setBounds(0, 0, picture.width(), picture.height());
    hitArea->onClick = [this, game] {
        if (clickable && game) game->choose(text);
    };
    hitArea->show();
}

void SoundBlock::changePicture(const std::string& name) {
    try {
        openBmp(name, picture);
    } catch (const std::exception&) {
        picture = platform::Bitmap();
    }
}

void SoundBlock::moveTo(int nx, int ny) {
    x = std::int16_t(nx);
    y = std::int16_t(ny);
    if (hitArea) hitArea->setPosition(x, y);
}

void SoundBlock::draw(platform::Canvas& canvas) const {
    if (!picture.empty()) canvas.draw(x, y, picture);
}

void SoundBlock::setClickable(bool k) {
    clickable = k ? 1 : 0;
    if (hitArea) hitArea->setCursor(k ? platform::kCursorHelp : platform::kCursorDefault);
}

platform::Rect SoundBlock::area() const {
    return platform::Rect::fromSize(x, y, picture.width(), picture.height());
}

// ---- the game

int CompletionGame::rowStart(int n, int side, int W) {
    const int p = side + 5;
    return W / 2 - (n / 2) * p - ((n % 2) * p) / 2;
}

platform::Point CompletionGame::choicePlace(int slot, int W, int H) {
    return slot == 0 ? platform::Point{3 * W / 4, H / 2} : platform::Point{W / 4 - 40, H / 2};
}

CompletionGame::CompletionGame(CompletionWindow& window, platform::Canvas& workBitmap,
                               platform::Canvas& backgrounds)
    : window_(window), workCanvas(workBitmap), backgroundCanvas(backgrounds) {
    lastIndex = std::int16_t(
        int(window_.context().catalogue ? window_.context().catalogue->chosenWords().size() : 0) - 1);
    mode_ = window_.context().layout.mode();
    W = window_.context().layout.areaWidth();
    H = window_.context().layout.areaHeight();
    side_ = mode_ == kMode800 ? 44 : 55;
    endTimer.onTimer = [this] {
        endTimer.stop();
        // Ending may start a new game, which destroys this one: nothing may follow.
        window_.A_Stop.execute();
    };
    try {
        const std::string file = mode_ == kMode800 ? "Data\\Bio\\_matr_ups.xji" : "Data\\Bio\\_matr_upb.xji";
        if (platform::fs::exists(file)) loadJpeg(mask_, file);
    } catch (const std::exception&) {
        // Without a mask the picture is still drawn, only reopening by double click is lost.
        mask_ = platform::Bitmap();
    }
}

CompletionGame::~CompletionGame() = default;

void CompletionGame::placePicture(int x, int y) {
    pictureX = x;
    pictureY = y;
}

bool CompletionGame::hasWord() const {
    return window_.context().catalogue && wordIndex >= 0 && wordIndex <= lastIndex &&
           std::size_t(wordIndex) < window_.context().catalogue->chosenWords().size();
}

std::string CompletionGame::resourceSuffix() const {
    return mode_ == kMode800 ? "_s" : "_b";
}

bool CompletionGame::solved() const {
    return hasWord() &&
           !(window_.context().catalogue->chosenWords()[std::size_t(wordIndex)].flags & kWordChosen);
}

bool CompletionGame::allFound() const {
    if (!window_.context().catalogue) return false;
    for (const Word& s : window_.context().catalogue->chosenWords())
        if (s.flags & kWordChosen) return false;
    return true;
}

void CompletionGame::setOpen(bool isOpen) {
    if (!hasWord()) return;
    Word& s = window_.context().catalogue->chosenWords()[std::size_t(wordIndex)];
    if (isOpen)
        s.flags |= kWordChosen;
    else
        s.flags &= std::uint16_t(~kWordChosen);
}

void CompletionGame::prepareTask() {
    blocks_.clear();
    choice1.reset();
    choice2.reset();
    gapIndex = -1;
    correctAnswer_.clear();
    chosen.clear();
    if (!hasWord()) return;
    const Word& s = window_.context().catalogue->chosenWords()[std::size_t(wordIndex)];
    word_ = s.stem;
    const std::string r = resourceSuffix();
    for (const SoundUnit& j : splitSounds(s.spelling)) {
        if (j.isMarked && gapIndex < 0) {
            correctAnswer_ = j.text;
            gapIndex = std::int16_t(blocks_.size());
            blocks_.push_back(std::make_unique<SoundBlock>("question", "question" + r, nullptr));
            for (const auto& [a, b] : kPairs) {
                if (correctAnswer_ != a && correctAnswer_ != b) continue;
                const int coin = platform::random::below(2);
                choice1 = std::make_unique<SoundBlock>(a, tileCode(a) + r, &window_, this);
                choice2 = std::make_unique<SoundBlock>(b, tileCode(b) + r, &window_, this);
                const platform::Point s1 = choicePlace(coin, W, H), s2 = choicePlace(1 - coin, W, H);
                choice1->moveTo(s1.x, s1.y);
                choice2->moveTo(s2.x, s2.y);
                choice1->setClickable(true);
                choice2->setClickable(true);
                break;
            }
        } else {
            // A second marked unit (not in the catalogue) is shown as an ordinary unit.
            blocks_.push_back(std::make_unique<SoundBlock>(j.text, tileCode(j.text) + r, nullptr));
        }
    }
    arrange();
    if (solved()) {
        for (SoundBlock* w : {choice1.get(), choice2.get()}) {
            if (!w) continue;
            w->setClickable(false);
            w->hitArea->hide();
        }
        if (gapIndex >= 0)
            blocks_[std::size_t(gapIndex)]->changePicture(tileCode(correctAnswer_) + "_red" + r);
    }
}

void CompletionGame::arrange() {
    const int n = int(blocks_.size());
    const int x0 = rowStart(n, side_, W);
    for (int i = 0; i < n; ++i)
        blocks_[std::size_t(i)]->moveTo(x0 + i * (side_ + 5), H / 10);
}

void CompletionGame::draw() {
    if (!hasWord()) return;
    const Word& s = window_.context().catalogue->chosenWords()[std::size_t(wordIndex)];
    if (s.picture && !s.picture->empty()) {
        if (!mask_.empty()) {
            drawWithMask(workCanvas, pictureX, pictureY, mask_, *s.picture);
        } else {
            workCanvas.setCopyMode(platform::CopyMode::SrcAnd);
            workCanvas.draw(pictureX, pictureY, *s.picture);
            workCanvas.setCopyMode(platform::CopyMode::SrcCopy);
        }
    }
    arrange();
    for (const auto& k : blocks_)
        k->draw(workCanvas);
    if (solved()) return;
    for (SoundBlock* w : {choice1.get(), choice2.get()}) {
        if (!w) continue;
        w->hitArea->show();
        w->draw(workCanvas);
    }
}

void CompletionGame::drawGap() {
    if (gapIndex < 0) return;
    const SoundBlock& l = *blocks_[std::size_t(gapIndex)];
    // The gap's old picture may be larger than the new one: clear its cell first.
    const platform::Rect r = platform::Rect::fromSize(l.x, l.y, side_, side_);
    workCanvas.copyRect(r, backgroundCanvas, r);
    l.draw(workCanvas);
}

void CompletionGame::choose(const std::string& unit) {
    window_.context().statistics->activity();
    if (gapIndex < 0 || solved()) return;
    chosen = unit;
    const std::string r = resourceSuffix();
    SoundBlock& l = *blocks_[std::size_t(gapIndex)];
    if (chosen == correctAnswer_) {
        l.changePicture(tileCode(correctAnswer_) + "_red" + r);
        drawGap();
        for (SoundBlock* w : {choice1.get(), choice2.get()}) {
            if (!w) continue;
            w->setClickable(false);
            w->hitArea->hide();
            const platform::Rect o = w->area();
            workCanvas.copyRect(o, backgroundCanvas, o);
        }
        window_.hideHelp();
        window_.refresh();
        playPraise(kPraise);
        playWord(word_);
        setOpen(false);
        window_.wait(400);
        window_.context().statistics->addCorrect();
        if (allFound()) endTimer.start();
    } else {
        l.changePicture(tileCode(chosen) + r);
        drawGap();
        window_.refresh();
        playPraise(kEncouragement);
        window_.context().statistics->addWrong();
        window_.wait(400);
        l.changePicture("question" + r);
        drawGap();
        window_.refresh();
    }
}

void CompletionGame::hint() {
    endTimer.stop();
    window_.context().statistics->addHint();
    if (!playWord(word_)) window_.wait(1500);
}

bool CompletionGame::next() {
    endTimer.stop();
    if (isLast()) return false;
    ++wordIndex;
    return true;
}

bool CompletionGame::previous() {
    endTimer.stop();
    if (isFirst()) return false;
    --wordIndex;
    return true;
}

bool CompletionGame::reopen(int x, int y) {
    if (!hasWord() || mask_.empty()) return false;
    if (!(pictureX < x && x < pictureX + mask_.width() && pictureY < y && y < pictureY + mask_.height()))
        return false;
    setOpen(true);
    for (SoundBlock* w : {choice1.get(), choice2.get()}) {
        if (!w) continue;
        w->setClickable(true);
        w->hitArea->show();
        w->draw(workCanvas);
    }
    if (gapIndex >= 0) {
        blocks_[std::size_t(gapIndex)]->changePicture("question" + resourceSuffix());
        drawGap();
    }
    return true;
}
