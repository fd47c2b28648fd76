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
    static constexpr int WYNIK_OD_NOWA = 1;
    static constexpr int WYNIK_STOP = 2;

    explicit ResultsWindow(ProgramContext& context);
    ~ResultsWindow() override;

    platform::Action A_Stop;
    platform::Action A_OdNowa;

    // Captions and values, in the order the window shows them.
    platform::Label lbCzas{*this}, vL_Czas{*this};
    platform::Label lbDobre{*this}, vL_Dobre{*this};
    platform::Label lbZle{*this}, vL_Zle{*this};
    platform::Label lbPodpowiedzi{*this}, vL_Podpowiedzi{*this};
    // Why the game's result is not on disk yet (empty and hidden when it is).
    platform::Label vL_Uwaga{*this};

    // The picture shown now (for tests: it is one of the three rating pictures).
    const platform::Bitmap& tlo() const { return tlo_; }

protected:
    void showEvent() override;
    void hideEvent() override;
    void paintEvent() override;
    void keyPressEvent(int charCode) override;
    void mouseDownEvent(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;

private:
    ProgramContext& context_;
    platform::Bitmap tlo_;
    const char* plikTla_ = nullptr; // the rating picture shown last
    std::unique_ptr<MenuButton> przyciskStart_;
    std::unique_ptr<MenuButton> przyciskStop_;
};
