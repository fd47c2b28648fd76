// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/labelling/LabellingGame.hpp"

#include "core/ProgramContext.hpp"
#include "core/ResourcePictures.hpp"
#include "core/ScreenLayout.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Random.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/loop/LoopServices.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Cursor.hpp"
#include "words/LetterTiles.hpp"

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace {

constexpr int kPauseAfterPraise = 300;
constexpr int kInsteadOfWordMs = 1000;
// Scattering gives up searching for a free place after this many draws (never with real words).
constexpr int kScatterAttempts = 20000;

} // namespace

// ---- the tile

LetterTile::LetterTile(LabellingWindow& window, LabellingGame& game, const std::string& text, bool red,
                       int mode)
    : text_(text) {
    const std::string name =
        tileCode(text) + (red ? (mode == kMode800 ? "_red_s" : "_red_b") : (mode == kMode800 ? "_s" : "_b"));
    try {
        openBmp(name, picture_);
    } catch (const std::exception&) {
        picture_.clear();
    }
    // A tile without a picture still has to be draggable: a blank square of the tile size.
    if (picture_.empty()) {
        const int side = game.side();
        picture_ = platform::Bitmap(side, side);
        picture_.fill(0xFF);
    }
    hitArea_ = std::make_unique<platform::ImageControl>(window);
    hitArea_->name = "litera";
    hitArea_->setBounds(0, 0, picture_.width(), picture_.height());
    hitArea_->setCursor(platform::kCursorHand);
    hitArea_->onMouseDown = [&game, this](platform::MouseButton b, platform::ShiftState s, int mx, int my) {
        game.tilePressed(*this, b, s, mx, my);
    };
    hitArea_->onMouseMove = [&game, this](platform::MouseButton, platform::ShiftState s, int, int) {
        game.tileMoved(*this, s);
    };
    hitArea_->onMouseUp = [&game, this](platform::MouseButton b, platform::ShiftState, int, int) {
        game.tileReleased(*this, b);
    };
    hitArea_->onDblClick = [&game, this] { game.doubleClick(*this); };
    hitArea_->show();
}

LetterTile::~LetterTile() = default;

void LetterTile::moveTo(int x, int y) {
    x_ = std::int16_t(x);
    y_ = std::int16_t(y);
    if (hitArea_) hitArea_->setPosition(x, y);
}

void LetterTile::draw(platform::Canvas& canvas) const {
    if (!picture_.empty()) canvas.draw(x_, y_, picture_);
}

// ---- the game

LabellingGame::LabellingGame(LabellingWindow& window) : window_(window) {
    mode_ = window.mode();
    W_ = window_.context().layout.areaWidth();
    H_ = window_.context().layout.areaHeight();
    side_ = mode_ == kMode800 ? 44 : 55;
    lastIndex_ = std::int32_t(window_.context().catalogue->chosenWords().size()) - 1;
    endTimer_.onTimer = [this] {
        endTimer_.stop();
        window_.A_Stop.execute();
    };
    try {
        const std::string file = mode_ == kMode800 ? "Data\\Bio\\_matr_ups.xji" : "Data\\Bio\\_matr_upb.xji";
        if (platform::fs::exists(file)) loadJpeg(mask_, file);
    } catch (const std::exception&) {
        mask_.clear();
    }
}

// The tiles' hit areas are controls of the window: they go before the window does.
LabellingGame::~LabellingGame() {
    endTimer_.stop();
}

Word* LabellingGame::currentWord() const {
    auto& w = window_.context().catalogue->chosenWords();
    if (wordIndex_ < 0 || std::size_t(wordIndex_) >= w.size()) return nullptr;
    return &w[std::size_t(wordIndex_)];
}

int LabellingGame::randomBelow(int m) const {
    return m <= 0 ? 0 : platform::random::below(m);
}

platform::Point LabellingGame::fieldPlace(int i, int n, int w, int h, int side) {
    const int x0 = w / 2 - (n / 2) * 60 - (n % 2) * 30;
    return {x0 + i * (side + 15), h - h / 4};
}

platform::Point LabellingGame::placeForTile(int x, int y, int w, int h) const {
    x = std::clamp(x, 0, std::max(0, W_ - w));
    y = std::clamp(y, 0, std::max(0, H_ - h));
    // The buttons stand in a column at the right: a tile over one moves left of it.
    const std::vector<platform::Rect> buttons = window_.buttonAreas();
    for (std::size_t turn = 0; turn < buttons.size(); ++turn) {
        bool moved = false;
        for (const platform::Rect& r : buttons)
            if (!platform::Rect::fromSize(x, y, w, h).intersect(r).empty()) {
                x = std::max(0, r.left - w);
                moved = true;
            }
        if (!moved) break;
    }
    return {x, y};
}

bool LabellingGame::occupied(const platform::Rect& r) const {
    if (r.left < 0 || r.top < 0 || r.right > W_ || r.bottom > H_) return true;
    for (const auto& p : fields_) {
        const platform::Rect frame{p->x() - kFrame, p->y() - kFrame, p->x() + side_ + kFrame,
                                   p->y() + side_ + kFrame};
        if (!r.intersect(frame).empty()) return true;
    }
    for (const platform::Rect& b : window_.buttonAreas())
        if (!r.intersect(b).empty()) return true;
    return false;
}

void LabellingGame::prepareTask() {
    lastWrong_.clear();
    draggedTile_ = nullptr;
    grabbed_ = nullptr;
    afterDoubleClick_ = false;
    fields_.clear();
    tiles_.clear();
    correctAnswer_.clear();
    word_.clear();
    const Word* s = currentWord();
    if (!s) return;
    word_ = s->stem;
    for (const SoundUnit& j : splitSounds(s->spelling)) {
        tiles_.push_back(std::make_unique<LetterTile>(window_, *this, j.text, j.isMarked, mode_));
        correctAnswer_ += j.text;
    }
    for (std::size_t i = 0; i < tiles_.size(); ++i)
        fields_.push_back(std::make_unique<LetterField>());
    placeFields();
}

void LabellingGame::drawPicture() {
    if (!workCanvas_) return;
    const Word* s = currentWord();
    if (!mask_.empty()) {
        workCanvas_->setCopyMode(platform::CopyMode::SrcPaint);
        workCanvas_->draw(pictureX_, pictureY_, mask_);
    }
    if (s && s->picture && !s->picture->empty()) {
        workCanvas_->setCopyMode(platform::CopyMode::SrcAnd);
        workCanvas_->draw(pictureX_, pictureY_, *s->picture);
    }
    workCanvas_->setCopyMode(platform::CopyMode::SrcCopy);
}

void LabellingGame::placeFields() {
    const int n = int(fields_.size());
    for (int i = 0; i < n; ++i) {
        const platform::Point p = fieldPlace(i, n, W_, H_, side_);
        fields_[std::size_t(i)]->moveTo(p.x, p.y);
    }
}

void LabellingGame::drawFields(platform::Canvas& canvas) {
    placeFields();
    for (const auto& hitArea : fields_) {
        canvas.setBrushColor(hitArea->isEmpty() ? platform::kRed : platform::kYellow);
        for (int k = 1; k <= kFrame; ++k)
            canvas.frameRect(
                {hitArea->x() - k, hitArea->y() - k, hitArea->x() + side_ + k, hitArea->y() + side_ + k});
    }
    canvas.setBrushColor(platform::kWhite);
}

void LabellingGame::drawTiles() {
    if (!workCanvas_) return;
    for (const auto& l : tiles_)
        if (l.get() != draggedTile_) l->draw(*workCanvas_);
}

void LabellingGame::hideTiles() {
    draggedTile_ = nullptr;
    grabbed_ = nullptr;
    for (const auto& l : tiles_)
        l->hitArea_->hide();
}

void LabellingGame::scatter() {
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        int x = 0, y = 0;
        for (int trial = 0; trial < kScatterAttempts; ++trial) {
            y = 10 + randomBelow(H_ - 75);
            x = y < H_ - H_ / 5 ? 10 + randomBelow(W_ / 5) : 10 + randomBelow(W_ - 75);
            bool isNear = occupied(
                platform::Rect::fromSize(x, y, tiles_[i]->picture().width(), tiles_[i]->picture().height()));
            for (std::size_t j = 0; j < i && !isNear; ++j) {
                const auto& l = tiles_[j];
                if (std::abs(x - l->x()) < kSpacing && std::abs(y - l->y()) < kSpacing) isNear = true;
            }
            if (!isNear) break;
        }
        tiles_[i]->moveTo(x, y);
    }
    draggedTile_ = nullptr;
    grabbed_ = nullptr;
    lastWrong_.clear();
    for (auto& p : fields_)
        p->vacate();
    if (workCanvas_) drawFields(*workCanvas_);
    for (const auto& l : tiles_)
        l->hitArea_->show();
}

void LabellingGame::showSolution() {
    draggedTile_ = nullptr;
    grabbed_ = nullptr;
    placeFields();
    for (std::size_t i = 0; i < fields_.size() && i < tiles_.size(); ++i) {
        LetterField& hitArea = *fields_[i];
        LetterTile& l = *tiles_[i];
        hitArea.accept(l);
        l.moveTo(hitArea.x(), hitArea.y());
        l.hitArea_->hide();
    }
    if (!workCanvas_) return;
    drawFields(*workCanvas_);
    for (std::size_t i = 0; i < fields_.size() && i < tiles_.size(); ++i)
        tiles_[i]->draw(*workCanvas_);
}

void LabellingGame::say() {
    if (!playWord(word_)) platform::loop::blockFor(kInsteadOfWordMs);
}

void LabellingGame::hint() {
    drawPicture();
    showSolution();
    window_.refresh();
    say();
    window_.context().statistics->addHint();
}

bool LabellingGame::next() {
    if (isLast() || lastIndex_ < 0) return false;
    ++wordIndex_;
    return true;
}

bool LabellingGame::previous() {
    if (isFirst()) return false;
    --wordIndex_;
    return true;
}

bool LabellingGame::solved() const {
    const Word* s = currentWord();
    return s && !(s->flags & kWordChosen);
}

bool LabellingGame::allFound() const {
    for (const Word& s : window_.context().catalogue->chosenWords())
        if (s.flags & kWordChosen) return false;
    return true;
}

bool LabellingGame::hitsPicture(int x, int y) {
    Word* s = currentWord();
    if (!s || mask_.empty()) return false;
    if (!(pictureX_ < x && x < pictureX_ + mask_.width() && pictureY_ < y && y < pictureY_ + mask_.height()))
        return false;
    s->flags |= kWordChosen;
    return true;
}

void LabellingGame::redrawFields() {
    if (workCanvas_) drawFields(*workCanvas_);
    window_.refresh();
}

// ---- drag and drop

void LabellingGame::tilePressed(LetterTile& l, platform::MouseButton b, platform::ShiftState s, int mx,
                                int my) {
    if (b != platform::MouseButton::Left) return;
    window_.context().statistics->activity();
    // The second press of a double click belongs to the double click: the tile stays where it is.
    if (s & platform::kDouble) {
        afterDoubleClick_ = true;
        grabbed_ = nullptr;
        return;
    }
    afterDoubleClick_ = false;
    for (auto& p : fields_)
        if (p->tile_ == &l) p->vacate();
    redrawFields();
    // Drawn last from now on, so it stays on top of the others.
    for (auto& u : tiles_)
        if (u.get() == &l) {
            std::swap(u, tiles_.back());
            break;
        }
    draggedTile_ = &l;
    window_.sceneWithout(l);
    draggedTile_ = nullptr;
    grabbed_ = &l;
    // The window has no frame: its client area starts at its corner.
    grabOffset_ = {window_.left() + mx, window_.top() + my};
}

void LabellingGame::tileMoved(LetterTile& l, platform::ShiftState s) {
    using namespace platform;
    if (grabbed_ != &l || !workCanvas_ || !dragCanvas_) return;
    const ShiftState important = kShift | kCtrl | kAlt | kLeftButton | kRightButton | kMiddleButton;
    if ((s & important) != kLeftButton) return;
    const Point cursor = app().cursorPos();
    const Rect oldArea = l.area();
    workCanvas_->copyRect(oldArea, *dragCanvas_, oldArea);
    l.x_ = std::int16_t(cursor.x - grabOffset_.x);
    l.y_ = std::int16_t(cursor.y - grabOffset_.y);
    l.draw(*workCanvas_);
    // The old place with a margin, and the new one, which a fast move may put elsewhere.
    const Rect border{oldArea.left - 5, oldArea.top - 5, oldArea.right + 5, oldArea.bottom + 5};
    window_.refresh(border.unite(l.area()));
}

void LabellingGame::tileReleased(LetterTile& l, platform::MouseButton b) {
    if (b != platform::MouseButton::Left) return;
    if (afterDoubleClick_) {
        afterDoubleClick_ = false;
        return;
    }
    if (grabbed_ != &l) return;
    grabbed_ = nullptr;
    window_.context().statistics->activity();
    // The picture at the drop point goes: the tile may be moved on from there.
    if (workCanvas_ && dragCanvas_) workCanvas_->copyRect(l.area(), *dragCanvas_, l.area());
    l.moveTo(l.x(), l.y());
    for (auto& p : fields_) {
        if (std::abs(l.x() - p->x()) > kFieldReach || std::abs(l.y() - p->y()) > kFieldReach) continue;
        if (!p->isEmpty()) {
            l.moveTo(p->x(), p->y() - kAboveField);
            redrawFields();
            return;
        }
        l.moveTo(p->x(), p->y());
        p->accept(l);
        redrawFields();
        check();
        return;
    }
    // Off the play area or on a button the tile could be lost or block the button.
    const platform::Point p = placeForTile(l.x(), l.y(), l.picture().width(), l.picture().height());
    l.moveTo(p.x, p.y);
    window_.refresh();
}

void LabellingGame::doubleClick(LetterTile& l) {
    for (auto& p : fields_)
        if (p->text() == l.text() && p->x() == l.x() && p->y() == l.y()) {
            p->vacate();
            break;
        }
    redrawFields();
}

void LabellingGame::check() {
    std::string caption;
    for (const auto& p : fields_) {
        if (p->isEmpty()) return;
        caption += p->text();
    }
    if (caption != correctAnswer_) {
        if (caption == lastWrong_) return;
        lastWrong_ = caption;
        window_.context().statistics->addWrong();
        playPraise(kEncouragement);
        return;
    }
    window_.context().statistics->addCorrect();
    playPraise(kPraise);
    platform::loop::blockFor(kPauseAfterPraise);
    playWord(word_);
    if (Word* s = currentWord()) s->flags &= std::uint16_t(~kWordChosen);
    hideTiles();
    window_.hideHelp();
    window_.refresh();
    const std::weak_ptr<char> life = life_;
    platform::app().processMessages();
    // What was pending may have ended this game.
    if (life.expired()) return;
    if (allFound()) endTimer_.start();
}
