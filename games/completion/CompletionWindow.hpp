// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/completion/CompletionGame.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"

#include <cstddef>
#include <memory>

class GameButton;

// The word-completion game's window: covers the content area, composes background, buttons, the word's
// picture, its unit row and the two choices off screen and shows the composition. Each showing starts a
// new game.
class CompletionWindow : public platform::Form {
public:
    // Raises FatalError code 1 when its pictures cannot be loaded.
    CompletionWindow();
    ~CompletionWindow() override;

    platform::Action A_Stop, A_NowaGra, A_Pomoc, A_Nastepny, A_Poprzedni, A_EkranPaint;

    platform::Canvas& kanwaRobocza() { return robocza_.canvas(); }
    platform::Canvas& kanwaTla() { return tlo_.canvas(); }
    // Brings the composition to the screen now.
    void odswiez() { repaint(); }
    // Blocks the window for ms with what is on screen shown.
    void czekaj(int ms);
    // Hides "pomoc" and takes its picture off the composition.
    void ukryjPomoc();

    // The current game; null before the first one.
    CompletionGame* gra() const { return gra_.get(); }

    // Bytes of the window's own screen-sized pictures: none while hidden.
    std::size_t bajtyObrazow() const;

protected:
    void paintEvent() override;
    void showEvent() override;
    void hideEvent() override;
    void keyPressEvent(int charCode) override;
    void dblClickEvent() override;

private:
    void A_StopExecute();
    void A_NowaGraExecute();
    void A_PomocExecute();
    void A_NastepnyExecute();
    void A_PoprzedniExecute();
    void A_EkranPaintExecute();
    const char* plikTla() const;
    void zbudujObrazy();
    void zwolnijObrazy();

    int W = 0, H = 0;
    platform::Rect prostokat{};
    platform::Bitmap tlo_;     // kanwaTla's bitmap
    platform::Bitmap robocza_; // kanwaRobocza's bitmap
    std::unique_ptr<GameButton> przyciskStop_;
    std::unique_ptr<GameButton> przyciskPomoc_;
    std::unique_ptr<GameButton> przyciskNast_;
    std::unique_ptr<GameButton> przyciskPop_;
    std::unique_ptr<CompletionGame> gra_;
};

// The game's window while the program runs (set by start-up), else null.
extern CompletionWindow* fmUzupelnianie;
