// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/loop/Timer.hpp"
#include "platform/windows/Form.hpp"
#include "widgets/TextButton.hpp"

#include <string>

// The gate in front of everything only adults may do (managing the children, the word lists...): a
// button held down for two seconds, which a young child does not do by chance on one button.
class AdultGate : public platform::Form {
public:
    static constexpr int kHoldMs = 2000;
    static constexpr int kTickMs = 100;

    // what: the action behind the gate, shown to the adult ("Usunąć dziecko").
    explicit AdultGate(std::string what);
    // Shows the gate modally; true when the button was held long enough.
    static bool ask(const std::string& what);

    TextButton hold{*this, "przytrzymaj", "Przytrzymaj", platform::rgb(41, 128, 185)};
    TextButton cancel{*this, "anuluj", "Anuluj", platform::rgb(192, 57, 43)};
    int heldMs() const { return heldMs_; }

protected:
    void paintEvent() override;
    void showEvent() override;
    void keyPressEvent(int charCode) override;

private:
    std::string what_;
    platform::Timer timer_{kTickMs, false};
    int heldMs_ = 0;
};
