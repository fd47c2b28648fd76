// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Label.hpp"

#include <memory>

class MenuButton;
struct ProgramContext;

// End-of-game window: the figures of the game just played over a picture chosen by its rating.
// Modal result 1 plays again, 2 returns to the main menu.
class ResultsWindow : public platform::Form {
public:
    static constexpr int kResultPlayAgain = 1;
    static constexpr int kResultStop = 2;

    explicit ResultsWindow(ProgramContext& context);
    ~ResultsWindow() override;

    platform::Action A_Stop;
    platform::Action A_PlayAgain;

    // Captions and values, in the order the window shows them.
    platform::Label lbTime{*this}, vL_Time{*this};
    platform::Label lbCorrect{*this}, vL_Correct{*this};
    platform::Label lbWrong{*this}, vL_Wrong{*this};
    platform::Label lbHints{*this}, vL_Hints{*this};
    // Why the game's result is not on disk yet (empty and hidden when it is).
    platform::Label vL_Note{*this};

    // The picture shown now (for tests: it is one of the three rating pictures).
    const platform::Bitmap& background() const { return background_; }

protected:
    void showEvent() override;
    void hideEvent() override;
    void paintEvent() override;
    void keyPressEvent(int charCode) override;
    void mouseDownEvent(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;

private:
    ProgramContext& context_;
    platform::Bitmap background_;
    const char* backgroundFile_ = nullptr; // the rating picture shown last
    std::unique_ptr<MenuButton> startButton_;
    std::unique_ptr<MenuButton> stopButton_;
};
