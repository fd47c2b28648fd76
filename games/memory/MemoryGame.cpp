// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/memory/MemoryGame.hpp"

#include "core/FatalError.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "games/memory/MemoryWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Error.hpp"
#include "platform/core/Random.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "words/Catalogue.hpp"

namespace {

std::string sizeBytes(int mode) {
    return mode == kMode1024 ? "b" : "s";
}

} // namespace

// ---- the card

MemoryCard::MemoryCard(MemoryWindow& window, MemoryGame& game, int i) : game_(game), hitArea_(window) {
    hitArea_.hide();
    const Word& s = window.context().catalogue->chosenWords()[std::size_t(i)];
    word_ = s.stem;
    if (!s.thumbnail || s.thumbnail->empty())
        throw platform::FileError("Brak pliku Data/Sio/s" + word_ + ".xji");
    front_ = *s.thumbnail;
    // The card back belongs to the game, not to a word: without it there is no game at all.
    try {
        loadJpeg(back_, "Data\\Sio\\blkcard0.xji");
    } catch (const platform::Error&) {
        throw FatalError(1);
    }
    // Missing optional pictures fall back to the one loaded before: the mask to the back, the big
    // picture to the mask.
    const std::string r = sizeBytes(window.mode());
    mask_ = back_;
    const std::string maskFile = "Data\\Bio\\_matr_m" + r + ".xji";
    if (platform::fs::exists(maskFile)) loadJpeg(mask_, maskFile);
    large_ = mask_;
    const std::string largePictureFile = wordPicturePath(word_, "_m" + r + ".xji");
    // Drawn at the mask's size: a larger photo is decoded down to it.
    if (platform::fs::exists(largePictureFile))
        loadJpeg(large_, largePictureFile, mask_.width(), mask_.height());

    hitArea_.name = "karta";
    hitArea_.acceptsDoubleClicks = false; // a quick second click is one more click, not a double click
    hitArea_.setBounds(0, 0, front_.width(), front_.height());
    hitArea_.onClick = [this] { click(); };
    hitArea_.show();
}

// A child may play by card clicks alone; they must keep the game from counting as idle.
void MemoryCard::click() {
    game_.window_.context().statistics->activity();
    game_.click(*this);
}

void MemoryCard::drawBack(platform::Canvas& canvas) const {
    canvas.draw(hitArea_.left(), hitArea_.top(), back_);
}

void MemoryCard::drawFace(platform::Canvas& canvas) const {
    canvas.draw(hitArea_.left(), hitArea_.top(), front_);
}

void MemoryCard::relocate(int x, int y) {
    hitArea_.setPosition(x, y);
}

void MemoryCard::takeOff() {
    hitArea_.hide();
}

void MemoryCard::showLarge(platform::Canvas& canvas, int x, int y) const {
    drawWithMask(canvas, x, y, mask_, large_);
}

void MemoryCard::say() const {
    playWord(word_);
}

// ---- the board

MemoryGame::Layout MemoryGame::layout(int pairs, int mode) {
    const bool large = mode == kMode1024;
    if (pairs <= 3) return {2, 3, large ? platform::Point{260, 260} : platform::Point{170, 175}, 100, 120};
    if (pairs <= 6) return {3, 4, large ? platform::Point{230, 220} : platform::Point{130, 135}, 90, 110};
    return {4, 5, large ? platform::Point{190, 190} : platform::Point{100, 95}, 85, 105};
}

platform::Point MemoryGame::largeCardPlace(int mode) {
    return mode == kMode1024 ? platform::Point{743, 235} : platform::Point{583, 188};
}

MemoryGame::MemoryGame(MemoryWindow& window, int pairs) : window_(window), mode_(window.mode()) {
    if (pairs < 1 || pairs > 10 || std::size_t(pairs) > window_.context().catalogue->chosenWords().size())
        throw platform::Error("Za mało wylosowanych słów do gry");
    layout_ = layout(pairs, mode_);
    const int n = 2 * pairs;
    cards_.resize(std::size_t(n));
    for (int i = 0; i < pairs; ++i) {
        for (int j = 0; j < 2; ++j) {
            int s = platform::random::below(n);
            while (cards_[std::size_t(s)])
                s = (s + 1) % n;
            cards_[std::size_t(s)] = std::make_unique<MemoryCard>(window, *this, i);
        }
    }
    // Timers belong to the cards; wire them once the board stands.
    for (auto& k : cards_) {
        MemoryCard* card = k.get();
        card->vanishTimer.onTimer = [this, card] { vanish(*card); };
        card->coverTimer.onTimer = [this, card] { cover(*card); };
    }
    first_ = nullptr;
    uncovered_ = 0;
    remaining_ = std::int16_t(n);
    acceptsInput_ = true;
}

MemoryGame::~MemoryGame() = default;

platform::Point MemoryGame::cell(int k) const {
    const int r = k / layout_.columns, q = k % layout_.columns;
    return {layout_.start.x + q * layout_.stepX, layout_.start.y + r * layout_.stepY};
}

void MemoryGame::draw(platform::Canvas& canvas) {
    for (int k = 0; k < cardCount(); ++k) {
        MemoryCard& card = *cards_[std::size_t(k)];
        if (!card.onBoard()) continue;
        const platform::Point p = cell(k);
        card.relocate(p.x, p.y);
        card.drawBack(canvas);
    }
}

void MemoryGame::stop() {
    for (auto& k : cards_) {
        k->vanishTimer.stop();
        k->coverTimer.stop();
    }
}

bool MemoryGame::pair(const MemoryCard* a, const MemoryCard* b) const {
    return a && b && a != b && a->onBoard() && b->onBoard() && a->word() == b->word();
}

bool MemoryGame::pair(int a, int b) const {
    return pair(cards_[std::size_t(a)].get(), cards_[std::size_t(b)].get());
}

void MemoryGame::click(MemoryCard& card) {
    if (!acceptsInput_) return;
    platform::Canvas& canvas = window_.workCanvas();
    if (uncovered_ == 0) {
        first_ = &card;
        uncovered_ = 1;
        card.drawFace(canvas);
        window_.refresh();
        return;
    }
    if (&card == first_) return;
    card.drawFace(canvas);
    acceptsInput_ = false;
    uncovered_ = 2;
    if (pair(&card, first_)) {
        window_.context().statistics->addCorrect();
        remaining_ -= 2;
        const platform::Point p = largeCardPlace(mode_);
        card.showLarge(canvas, p.x, p.y);
        window_.refresh();
        card.say();
        card.vanishTimer.start();
    } else {
        window_.context().statistics->addWrong();
        card.coverTimer.start();
    }
    uncovered_ = 0;
    window_.refresh();
}

void MemoryGame::vanish(MemoryCard& card) {
    card.vanishTimer.stop();
    card.takeOff();
    if (first_) first_->takeOff();
    first_ = nullptr;
    window_.A_ScreenPaint.execute();
    acceptsInput_ = true;
    // Ending the game may deal a new board ("again"), which destroys this one: nothing may follow.
    if (remaining_ == 0) window_.A_Stop.execute();
}

void MemoryGame::cover(MemoryCard& card) {
    card.coverTimer.stop();
    platform::Canvas& canvas = window_.workCanvas();
    card.drawBack(canvas);
    if (first_) first_->drawBack(canvas);
    window_.refresh();
    first_ = nullptr;
    acceptsInput_ = true;
}

void MemoryGame::hint() {
    // Nothing to show while a card is turned, or once the board is empty.
    if (first_ || remaining_ <= 0) return;
    window_.context().statistics->addHint();
    const int n = cardCount();
    int b = n == 1 ? 0 : platform::random::below(n - 1);
    for (int i = 0; i < n && !cards_[std::size_t(b)]->onBoard(); ++i)
        b = (b + 1) % n;
    int m = (b + 1) % n;
    for (int i = 0; i < n && !pair(b, m); ++i)
        m = (m + 1) % n;
    if (!pair(b, m)) return;

    // Straight onto the window, past the composition: the show is gone again after the pause.
    platform::Canvas& screen = window_.canvas();
    cards_[std::size_t(b)]->drawFace(screen);
    cards_[std::size_t(m)]->drawFace(screen);
    window_.wait(500);
    cards_[std::size_t(b)]->drawBack(screen);
    cards_[std::size_t(m)]->drawBack(screen);
}
