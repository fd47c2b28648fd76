// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/GameWindow.hpp"
#include "games/labelling/LabellingGame.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Action.hpp"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class GameButton;

// The labelling game's window: composes the word picture, the fields and the tiles over its background
// and buttons, with a second composition to drag tiles over. Each showing starts a new game.
class LabellingWindow : public GameWindow {
public:
    // Raises FatalError code 1 when its pictures cannot be loaded.
    explicit LabellingWindow(ProgramWindows& windows);
    ~LabellingWindow() override;

    platform::Action A_Next, A_Previous, A_Say;

    platform::Canvas& dragCanvas() { return dragBitmap_.canvas(); }
    // Rebuilds the composition without tile l and keeps it as the drag background.
    void sceneWithout(LetterTile& l);
    void hideHelp();
    // Brings the composition to the screen now.
    using GameWindow::refresh;
    void refresh(const platform::Rect& r) {
        invalidate(r);
        update();
    }

    LabellingGame* game() const { return game_.get(); }
    GameButton* nextButton() const { return nextButton_.get(); }
    GameButton* previousButton() const { return previousButton_.get(); }
    GameButton* helpButton() const { return helpButton_.get(); }
    // Where the buttons stand (window coordinates): no tile may lie there.
    std::vector<platform::Rect> buttonAreas() const;
    // Bytes of the window's own screen-sized pictures: none while hidden.
    std::size_t pictureBytes() const override;

protected:
    void paintEvent() override;
    void showEvent() override;
    void hideEvent() override;
    void mouseDownEvent(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;
    void mouseWheelEvent(int delta, platform::ShiftState shift, int x, int y) override;
    void dblClickEvent() override;

private:
    void A_StopExecute() override;
    void A_NewGameExecute() override;
    void A_HelpExecute() override;
    void A_NextExecute();
    void A_PreviousExecute();
    void A_ScreenPaintExecute() override;
    void A_SayExecute();
    void navigate(bool ahead);
    void fullRedraw();
    void refreshButtons();
    void drawBackground();
    void buildPictures() override;
    void releasePictures() override;

    const platform::Bitmap* currentBackground_ = nullptr;
    platform::Bitmap backgroundPicture_;
    platform::Bitmap dragBitmap_; // dragCanvas's bitmap
    std::unique_ptr<LabellingGame> game_;
};
