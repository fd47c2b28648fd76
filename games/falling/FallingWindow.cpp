// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/falling/FallingWindow.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Cursor.hpp"
#include "widgets/Buttons.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <exception>
#include <stdexcept>
#include <string>

namespace {

platform::Font labelFont() {
    platform::Font f;
    f.family = "Arial Black";
    f.height = 17;
    return f;
}

std::string soundNames(std::uint16_t sounds) {
    static const std::pair<std::uint16_t, const char*> names[] = {
        {kSoundSz, "SZ"}, {kSoundZz, "Ż/RZ"}, {kSoundCz, "CZ"}, {kSoundDzz, "DŻ"}};
    std::string result;
    for (const auto& [bit, name] : names) {
        if (!(sounds & bit)) continue;
        if (!result.empty()) result += ", ";
        result += name;
    }
    return result;
}

} // namespace

platform::Bitmap FallingWindow::drawCrosshair() {
    platform::Bitmap b(32, 32, platform::PixelFormat::Bgra32);
    b.fill(0);
    const auto dot = [&b](int x, int y) {
        if (x < 0 || y < 0 || x >= 32 || y >= 32) return;
        std::uint8_t* p = b.scanline(y) + 4 * x;
        p[0] = 0;
        p[1] = 0;
        p[2] = 255;
        p[3] = 255;
    };
    // Circle of radius about 12, two pixels thick, measured from the hot spot (16, 16).
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int dx = x - 16, dy = y - 16;
            const int r2 = dx * dx + dy * dy;
            if (r2 >= 11 * 11 && r2 <= 13 * 13) dot(x, y);
            // The diagonals, left open around the centre so the target stays visible.
            if ((dx == dy || dx == -dy) && r2 > 4 * 4 * 2 && r2 <= 15 * 15) dot(x, y);
        }
    return b;
}

FallingWindow::FallingWindow(ProgramWindows& windows)
    : GameWindow(windows, "Spadające", "fmSpadajace", "Data\\Intf\\Spec\\mT_Spa_s.xbi",
                 "Data\\Intf\\Spec\\mT_Spa_b.xbi"),
      vpSearch(*this), vpSearchSound(*this) {
    t_Game.onTimer = [this] { tick(); };

    for (platform::Label* l : {&vpSearch, &vpSearchSound}) {
        l->setFont(labelFont());
        l->setTransparent(true);
        l->setAutoSize(true);
    }
    vpSearch.name = "vpSzukaj";
    vpSearchSound.name = "vpSzukGloski";

    try {
        vpSearch.setPosition((W / 80) * (mode_ == kMode1024 ? 68 : 62), (H / 80) * 77);
        createButtonColumn();
        platform::registerCursor(kCrosshairCursor, drawCrosshair(), {16, 16});
        setCursor(kCrosshairCursor);
    } catch (const std::exception&) {
        setCursor(platform::kCursorDefault);
        game_.reset();
        stopButton_.reset();
        helpButton_.reset();
        throw FatalError(1);
    }
}

// A picture that went missing since start-up leaves the background black rather than no window.
void FallingWindow::buildPictures() {
    if (!workBitmap_.empty()) return;
    try {
        loadBmp(backgroundPicture_, backgroundFile());
    } catch (const std::exception&) {
        backgroundPicture_ = platform::Bitmap();
    }
    background_ = platform::Bitmap(W, H);
    background_.canvas().draw(0, 0, backgroundPicture_);
    workBitmap_ = platform::Bitmap(W, H);
    workBitmap_.palette() = backgroundPicture_.palette();
    backgroundPicture_ = platform::Bitmap();
}

std::size_t FallingWindow::pictureBytes() const {
    return backgroundPicture_.byteSize() + background_.byteSize() + workBitmap_.byteSize();
}

// The game goes first: its click areas are controls of this window.
FallingWindow::~FallingWindow() {
    t_Game.stop();
    game_.reset();
}

// ---- events

// Clipped to what needs repainting: during play only the rectangles of moved pictures.
void FallingWindow::paintEvent() {
    const platform::Rect r = paintArea();
    paintedArea_ += (long long)r.width() * r.height();
    canvas().draw(0, 0, workBitmap_);
}

void FallingWindow::showEvent() {
    buildPictures();
    A_NewGame.execute();
}

// Leaving the screen by any way stops the motion and the game's timers.
void FallingWindow::hideEvent() {
    t_Game.stop();
    if (game_) {
        game_->endTimer.stop();
        game_->redTimer.stop();
    }
    releasePictures();
}

void FallingWindow::mouseDownEvent(platform::MouseButton, platform::ShiftState, int, int) {
    context_.statistics->activity();
}

void FallingWindow::mouseWheelEvent(int, platform::ShiftState, int, int) {
    context_.statistics->activity();
}

void FallingWindow::mouseMoveEvent(platform::ShiftState, int x, int y) {
    if (!trackingCursor_) return;
    const bool fieldOf = x > 0 && x < 3 * W / 4 && y < 37 * H / 40;
    setCursor(fieldOf ? kCrosshairCursor : platform::kCursorDefault);
}

// ---- actions

void FallingWindow::A_StopExecute() {
    // The end timer may fire while the results of the same game are on screen.
    if (resultsShown()) return;
    t_Game.stop();
    saveGame(game_ && game_->allFound());
    game_.reset();
    if (showResults() == 1)
        A_NewGame.execute();
    else
        close();
}

void FallingWindow::A_NewGameExecute() {
    buildPictures();
    trackingCursor_ = true;
    const GameSettings& S = context_.settings.falling;
    GameSettings D;
    D.level = S.level;
    D.positions = 0x7000;
    D.setDistractors(S);
    game_.reset();
    const int n = S.level == kQuantityMalo      ? 5
                  : S.level == kQuantitySrednio ? 10
                  : S.level == kQuantityDuzo    ? 15
                                                : 0;
    std::string error;
    bool missingResources = false;
    try {
        context_.catalogue->filter(S);
        context_.catalogue->drawRandom(n);
        context_.catalogue->loadThumbnails();
        game_ = std::make_unique<FallingGame>(*this, workBitmap_.canvas(), background_.canvas(),
                                              context_.catalogue->chosenWords());
        context_.catalogue->filter(D);
        context_.catalogue->drawRandom(n);
        context_.catalogue->loadThumbnails();
        game_->addDistractors(context_.catalogue->chosenWords());
    } catch (const FatalError&) {
        // The game's own pictures are missing: no game at all, and nothing to count.
        game_.reset();
        missingResources = true;
    } catch (const std::exception& e) {
        // No game: the window still shows and stops, and the game counts as not finished.
        game_.reset();
        error = e.what();
    }
    if (missingResources) {
        trackingCursor_ = false;
        setCursor(platform::kCursorDefault);
        FatalError(1).showError(this);
        close();
        return;
    }
    A_ScreenPaint.execute();
    if (game_) game_->layOutFields();
    t_Game.start();
    if (game_) game_->scatter();

    vpSearch.setCaption("Wybierz obrazki z:");
    vpSearchSound.setCaption(soundNames(S.sounds));
    vpSearchSound.setPosition(vpSearch.left() + vpSearch.width() / 2 - vpSearchSound.width() / 2,
                              vpSearch.top() + vpSearch.height() + 2);
    context_.statistics->start(kGameFalling, S);
    repaint();
    if (!error.empty()) platform::app().handleException(std::runtime_error(error));
}

void FallingWindow::A_HelpExecute() {
    context_.statistics->activity();
    if (game_) game_->hint();
}

void FallingWindow::A_ScreenPaintExecute() {
    buildPictures();
    workBitmap_.canvas().draw(0, 0, background_);
    helpButton_->show();
    helpButton_->draw();
    stopButton_->draw();
}

void FallingWindow::tick() {
    // Nothing falls while nobody can see it.
    const bool hidden = platform::app().minimised();
    if (const int tickMs = hidden ? kHiddenTickMs : kTickMs; t_Game.interval() != tickMs)
        t_Game.setInterval(tickMs);
    if (!game_ || hidden) return;
    if (!game_->allFound()) {
        const int steps = context_.settings.falling.level;
        if (steps < 1 || steps > 3) return;
        for (int k = 0; k < steps; ++k)
            game_->step();
        return;
    }
    t_Game.stop();
    trackingCursor_ = false;
    setCursor(platform::kCursorDefault);
    vpSearch.setCaption("Wybierz obrazek,");
    vpSearchSound.setCaption("aby go powiększyć.");
    vpSearchSound.setLeft(vpSearch.left());
    game_->end();
}
