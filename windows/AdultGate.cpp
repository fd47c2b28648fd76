// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/AdultGate.hpp"

#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"

#include <algorithm>
#include <utility>

namespace {
constexpr int kWidth = 480, kHeight = 270;
const platform::Rect kBar = platform::Rect::fromSize(40, 150, kWidth - 80, 18);
} // namespace

AdultGate::AdultGate(std::string what) : Form("Tylko dla dorosłych"), what_(std::move(what)) {
    name = "FormDorosli";
    setSize(kWidth, kHeight);
    setRoundRegion(clientRect(), 25, 25);
    hold.setBounds(60, 190, 200, 56);
    cancel.setBounds(290, 190, 130, 56);
    hold.onMouseDown = [this](platform::MouseButton, platform::ShiftState, int, int) {
        heldMs_ = 0;
        timer_.start();
    };
    hold.onMouseUp = [this](platform::MouseButton, platform::ShiftState, int, int) {
        // Let go too early: start again from nothing.
        timer_.stop();
        if (modalResult() == platform::kModalNone) heldMs_ = 0;
        invalidate();
    };
    timer_.onTimer = [this] {
        heldMs_ = std::min(kHoldMs, heldMs_ + kTickMs);
        invalidate();
        if (heldMs_ < kHoldMs) return;
        timer_.stop();
        setModalResult(platform::kModalOk);
    };
    cancel.onClick = [this] { setModalResult(platform::kModalCancel); };
}

bool AdultGate::ask(const std::string& what) {
    AdultGate gate(what);
    return gate.showModal() == platform::kModalOk;
}

void AdultGate::showEvent() {
    const platform::Size screen = platform::app().screenSize();
    setPosition((screen.width - width()) / 2, (screen.height - height()) / 2);
    heldMs_ = 0;
}

void AdultGate::keyPressEvent(int charCode) {
    if (charCode == 27) setModalResult(platform::kModalCancel);
}

void AdultGate::paintEvent() {
    platform::Canvas& c = canvas();
    c.setBrushColor(platform::rgb(255, 248, 225));
    c.fillRect(clientRect());
    c.setFont({.family = "DejaVu Sans", .height = 22, .bold = true, .color = platform::rgb(120, 60, 20)});
    c.textRect({20, 18, kWidth - 20, 50}, "Tylko dla dorosłych", platform::TextAlign::Center, false);
    c.setFont({.family = "DejaVu Sans", .height = 16, .bold = false, .color = platform::kBlack});
    c.textRect({30, 58, kWidth - 30, 145},
               what_ + "\nPrzytrzymaj przycisk, aż pasek się zapełni (2 sekundy).",
               platform::TextAlign::Center, true);
    c.setBrushColor(platform::rgb(200, 200, 200));
    c.fillRect(kBar);
    c.setBrushColor(platform::rgb(39, 174, 96));
    c.fillRect({kBar.left, kBar.top, kBar.left + kBar.width() * heldMs_ / kHoldMs, kBar.bottom});
}
