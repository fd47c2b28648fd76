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

    platform::Action A_Nastepny, A_Poprzedni, A_Powiedz;

    platform::Canvas& kanwaPrzeciagania() { return przeciagania_.canvas(); }
    // Rebuilds the composition without tile l and keeps it as the drag background.
    void scenaBez(LetterTile& l);
    void ukryjPomoc();
    // Brings the composition to the screen now.
    using GameWindow::odswiez;
    void odswiez(const platform::Rect& r) {
        invalidate(r);
        update();
    }

    LabellingGame* gra() const { return gra_.get(); }
    GameButton* przyciskNast() const { return przyciskNast_.get(); }
    GameButton* przyciskPop() const { return przyciskPop_.get(); }
    GameButton* przyciskPomoc() const { return przyciskPomoc_.get(); }
    // Where the buttons stand (window coordinates): no tile may lie there.
    std::vector<platform::Rect> obszaryPrzyciskow() const;
    // Bytes of the window's own screen-sized pictures: none while hidden.
    std::size_t bajtyObrazow() const override;

protected:
    void paintEvent() override;
    void showEvent() override;
    void hideEvent() override;
    void mouseDownEvent(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;
    void mouseWheelEvent(int delta, platform::ShiftState shift, int x, int y) override;
    void dblClickEvent() override;

private:
    void A_StopExecute() override;
    void A_NowaGraExecute() override;
    void A_PomocExecute() override;
    void A_NastepnyExecute();
    void A_PoprzedniExecute();
    void A_EkranPaintExecute() override;
    void A_PowiedzExecute();
    void przejdz(bool naprzod);
    void pelneRysowanie();
    void odswiezPrzyciski();
    void rysujTlo();
    void zbudujObrazy() override;
    void zwolnijObrazy() override;

    const platform::Bitmap* tloBiezace_ = nullptr;
    platform::Bitmap obrazTla_;
    platform::Bitmap przeciagania_; // kanwaPrzeciagania's bitmap
    std::unique_ptr<GameButton> przyciskNast_;
    std::unique_ptr<GameButton> przyciskPop_;
    std::unique_ptr<LabellingGame> gra_;
};
