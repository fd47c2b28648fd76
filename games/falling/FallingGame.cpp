// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/falling/FallingGame.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "games/falling/FallingWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Random.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Cursor.hpp"
#include "widgets/Buttons.hpp"
#include "widgets/RingOverlay.hpp"
#include "words/Catalogue.hpp"

#include <cstdlib>
#include <exception>

namespace {

const char* const kRedFile = "Data\\Sio\\allred.xji";
const char* const kQuestionMarkFile = "Data\\Sio\\squest.xji";

// Two positions this close would overlap on screen; the same numbers serve both display modes.
bool tooClose(int x, int y, int ox, int oy) {
    return std::abs(x - ox) < 80 && std::abs(y - oy) < 95;
}

// A crowded top band could otherwise keep rejecting candidates for ever.
constexpr int kMaxAttempts = 100000;

} // namespace

// ---- falling picture

FallingPicture::FallingPicture(FallingWindow& window, FallingGame& game, const Word& s)
    : word(s.stem), flags(s.flags), picture(*s.thumbnail), hitArea(window) {
    hitArea.name = "obrazek";
    hitArea.acceptsDoubleClicks = false; // quick clicks are all shots
    hitArea.setBounds(0, 0, picture.width(), picture.height());
    height = std::int16_t(picture.height());
    hitArea.onClick = [this, &game] { game.pictureClicked(*this); };
}

// ---- place

PictureField::PictureField(FallingWindow& window, FallingGame& game, int mode) : hitArea(window) {
    width = mode == kMode1024 ? 32 : 23;
    height = mode == kMode1024 ? 42 : 31;
    loadJpeg(red, kRedFile);
    loadJpeg(questionMark, kQuestionMarkFile);
    current = questionMark;
    hitArea.name = "miejsce";
    hitArea.hide();
    hitArea.setBounds(window.context().layout.areaWidth() + 100, window.context().layout.areaHeight() + 100,
                      width, height);
    hitArea.setCursor(platform::kCursorHand);
    hitArea.onClick = [this, &game] { game.fieldClicked(*this); };
}

void PictureField::draw(platform::Canvas& canvas) const {
    canvas.stretchDraw(platform::Rect::fromSize(x, y, width, height), current);
}

// ---- game

FallingGame::FallingGame(FallingWindow& window, platform::Canvas& workCanvas,
                         platform::Canvas& backgroundCanvas, const std::vector<Word>& targets)
    : window_(window), workBitmap_(workCanvas), backgrounds_(backgroundCanvas), mode_(window.mode()),
      W(window_.context().layout.areaWidth()), H(window_.context().layout.areaHeight()) {
    try {
        for (const Word& s : targets) {
            // A word without its small picture could never be hit.
            if (!s.thumbnail || s.thumbnail->empty()) continue;
            pictures_.push_back(std::make_unique<FallingPicture>(window, *this, s));
            fields_.push_back(std::make_unique<PictureField>(window, *this, mode_));
        }
        ring_ = std::make_unique<RingOverlay>(workBitmap_, window_.context().layout);
    } catch (const std::exception&) {
        pictures_.clear();
        fields_.clear();
        throw FatalError(1);
    }
    targetCount_ = std::int16_t(fields_.size());
    redTimer.onTimer = [this] { endRed(); };
    endTimer.onTimer = [this] {
        endTimer.stop();
        // Destroys this game: nothing may follow.
        window_.A_Stop.execute();
    };
    bottom_ = mode_ == kMode1024 ? 708 : 552;
    found_ = 0;
}

// Click areas are controls of the window: they go with their objects, before the window.
FallingGame::~FallingGame() = default;

void FallingGame::addDistractors(const std::vector<Word>& choice) {
    for (const Word& s : choice) {
        if (!s.thumbnail || s.thumbnail->empty()) continue;
        pictures_.push_back(std::make_unique<FallingPicture>(window_, *this, s));
    }
}

bool FallingGame::target(const FallingPicture& o) const {
    return (o.flags & window_.context().settings.falling.sounds) != 0;
}

void FallingGame::layOutFields() {
    if (!platform::fs::exists(kQuestionMarkFile)) return;
    const int step = mode_ == kMode1024 ? 39 : 30;
    const int y = H - (mode_ == kMode1024 ? 50 : 35);
    const int x0 = W / 2 - step * (targetCount_ / 2 + targetCount_ % 2);
    for (int i = 0; i < targetCount_; ++i) {
        PictureField& p = *fields_[std::size_t(i)];
        p.x = std::int16_t(x0 + i * step);
        p.y = std::int16_t(y);
        p.draw(workBitmap_);
    }
}

int FallingGame::drawRandomX() const {
    const int range = W - W / 3;
    return range == 0 ? 10 : platform::random::below(range) + 10;
}

bool FallingGame::isNear(int x, int y) const {
    for (const auto& o : pictures_)
        if (tooClose(x, y, o->x, o->y)) return true;
    return false;
}

void FallingGame::scatter() {
    const int range = W - W / 3;
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        FallingPicture& o = *pictures_[i];
        const int h = o.picture.height();
        int x = 10, y = -h;
        for (int trial = 0; trial < kMaxAttempts; ++trial) {
            const int r = platform::random::next();
            x = (range == 0 ? 0 : r % range) + 10;
            const int f = h == 0 ? 0 : r % h;
            y = -h - int(i) * f;
            if (!isNear(x, y)) break;
        }
        o.x = std::int16_t(x);
        o.y = std::int16_t(y);
        o.height = std::int16_t(h);
        o.hitArea.setBounds(x, y, o.picture.width(), h);
        o.active = true;
    }
}

void FallingGame::releaseAgain(FallingPicture& o) {
    const int h = std::max(1, o.picture.height());
    int y = -h;
    int x = drawRandomX();
    for (int trial = 0; trial < kMaxAttempts && isNear(x, y); ++trial) {
        y -= h;
        x = drawRandomX();
    }
    o.x = std::int16_t(x);
    o.y = std::int16_t(y);
    o.height = std::int16_t(o.picture.height());
    o.hitArea.setBounds(x, y, o.picture.width(), o.picture.height());
    o.active = true;
}

void FallingGame::step() {
    for (const auto& ptr : pictures_) {
        FallingPicture& o = *ptr;
        if (!o.active || !o.hitArea.visible()) continue;
        const int w = o.picture.width();
        const int h = o.height;
        const int x = o.x, y = o.y;
        const platform::Rect backgroundRow{x, y, x + w, y + 1};
        if (y + h <= bottom_) {
            workBitmap_.copyRect(backgroundRow, backgrounds_, backgroundRow);
            o.y = std::int16_t(y + 1);
            o.hitArea.setPosition(x, y + 1);
            workBitmap_.draw(x, y + 1, o.picture);
            continue;
        }
        // Sinking: squeeze what shows by one row, keeping its bottom edge on the line.
        if (h > 1) workBitmap_.copyRect({x, y + 1, x + w, y + h}, workBitmap_, {x, y, x + w, y + h});
        workBitmap_.copyRect(backgroundRow, backgrounds_, backgroundRow);
        o.y = std::int16_t(y + 1);
        if (o.y > 0) {
            if (h < 0) {
                releaseAgain(o);
                continue;
            }
            o.height = std::int16_t(h - 1);
        }
        o.hitArea.setBounds(x, o.y, w, std::max<int>(0, o.height));
    }
}

void FallingGame::pictureClicked(FallingPicture& o) {
    window_.context().statistics->activity();
    if (finalStage_ || !o.active) return;
    if (target(o)) {
        // Every place is taken; the end phase starts at the next tick.
        if (found_ >= targetCount_) return;
        o.active = false;
        onHit(o);
    } else {
        miss();
    }
}

void FallingGame::onHit(FallingPicture& o) {
    window_.context().statistics->addCorrect();
    const platform::Rect r{o.x, o.y, o.x + o.hitArea.width(), o.y + o.hitArea.height() + 1};
    o.hitArea.hide();
    workBitmap_.copyRect(r, backgrounds_, r);
    PictureField& p = *fields_[std::size_t(found_)];
    p.word = o.word;
    p.current = o.picture;
    p.draw(workBitmap_);
    window_.repaint();
    ++found_;
}

void FallingGame::miss() {
    window_.context().statistics->addWrong();
    if (targetCount_ == 0) return;
    if (found_ > 0) {
        --found_;
        const std::string& word = fields_[std::size_t(found_)]->word;
        // The picture that filled the place, not a falling namesake.
        FallingPicture* returning = nullptr;
        for (const auto& o : pictures_)
            if (o->word == word && !o->active) {
                returning = o.get();
                break;
            }
        if (returning) {
            returning->hitArea.show();
            releaseAgain(*returning);
        }
    }
    PictureField& p = *fields_[std::size_t(found_)];
    p.word.clear();
    p.current = p.red;
    p.draw(workBitmap_);
    for (int i = found_ + 1; i < targetCount_; ++i) {
        PictureField& q = *fields_[std::size_t(i)];
        q.word.clear();
        q.current = q.questionMark;
        q.draw(workBitmap_);
    }
    redTimer.start();
    window_.repaint();
}

void FallingGame::endRed() {
    redTimer.stop();
    if (found_ >= targetCount_) return;
    PictureField& p = *fields_[std::size_t(found_)];
    p.word.clear();
    p.current = p.questionMark;
    p.draw(workBitmap_);
    window_.repaint();
}

void FallingGame::hint() {
    window_.context().statistics->addHint();
    FallingPicture* nearest = nullptr;
    for (const auto& o : pictures_) {
        if (!o->active || !target(*o) || o->y >= H) continue;
        if (!nearest || std::abs(o->y) < std::abs(nearest->y)) nearest = o.get();
    }
    if (!nearest) return;
    if (nearest->y + nearest->picture.height() < 0) releaseAgain(*nearest);
    platform::Bitmap& b = nearest->picture;
    platform::Canvas& k = b.canvas();
    k.setBrushColor(platform::kRed);
    for (int d = 0; d < 4; ++d)
        k.frameRect({d, d, b.width() - d, b.height() - d});
}

void FallingGame::end() {
    finalStage_ = true;
    redTimer.stop();
    workBitmap_.draw(0, 0, backgrounds_.bitmap());
    for (const auto& o : pictures_)
        o->hitArea.hide();
    for (const auto& p : fields_) {
        if (platform::fs::exists(kQuestionMarkFile)) {
            p->hitArea.setBounds(p->x, p->y, p->width, p->height);
            p->hitArea.show();
        }
        p->draw(workBitmap_);
    }
    ring_->drawRing();
    window_.stopButton().show();
    window_.helpButton().hide();
    window_.repaint();
    endTimer.start();
}

void FallingGame::fieldClicked(PictureField& p) {
    window_.context().statistics->activity();
    endTimer.stop();
    platform::Bitmap large;
    const std::string file = wordPicturePath(p.word, mode_ == kMode1024 ? "_mb.xji" : "_ms.xji");
    if (!p.word.empty() && platform::fs::exists(file)) {
        try {
            loadJpeg(large, file);
        } catch (const std::exception&) {
            large.clear(); // a broken picture leaves the ring empty
        }
    }
    ring_->drawWithPicture(large);
    window_.repaint();
    if (!p.word.empty()) playWord(p.word);
}
