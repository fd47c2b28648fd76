// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A form's backing store exists only while someone draws on it or it is shown; what reaches the screen
// is the same either way.
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "tests/support/TestDriver.hpp"

#include <gtest/gtest.h>

#include <functional>

using namespace platform;
using platform::testing::Driver;

namespace {

// Paints its whole client in one colour, counting the paints.
class Plain : public Form {
public:
    Plain(Rect r, Color c) : Form("Plain", r), colour(c) {}
    Color colour;
    int paints = 0;

protected:
    void paintEvent() override {
        ++paints;
        canvas().setBrushColor(colour);
        canvas().fillRect(clientRect());
    }
};

void onLoop(Driver& d, std::function<void()> fn) {
    d.application().post(std::move(fn));
    d.wait(0);
}

} // namespace

TEST(FormBacking, MadeWhenDrawnOnOrShownFreedWhenHiddenAndRepaintedWholeOnShowing) {
    Plain* back = nullptr;
    Plain* top = nullptr;
    Driver d([&] {
        Plain b(Rect::fromSize(0, 0, 200, 100), rgb(0, 0, 200));
        Plain t(Rect::fromSize(50, 20, 60, 40), rgb(200, 0, 0));
        back = &b, top = &t;
        b.show();
        app().run();
    });
    auto size = [](const Form* f) { return f->backing().size(); };
    EXPECT_EQ(size(back), (Size{200, 100}));
    EXPECT_EQ(size(top), (Size{0, 0})); // made, never drawn on nor shown

    // Drawn on while hidden: kept, and shown as drawn until the next paint covers it.
    onLoop(d, [&] {
        top->canvas().setBrushColor(rgb(0, 200, 0));
        top->canvas().fillRect(Rect::fromSize(0, 0, 10, 10));
    });
    EXPECT_EQ(size(top), (Size{60, 40}));

    struct Step {
        std::function<void()> act;
        Size backing;
        Color at60x30;
        int paints;
    };
    const Step steps[] = {
        {[&] { top->show(); }, {60, 40}, rgb(200, 0, 0), 1},
        {[&] { top->hide(); }, {0, 0}, rgb(0, 0, 200), 1},
        {[&] { top->setBounds(Rect::fromSize(40, 20, 80, 40)); }, {0, 0}, rgb(0, 0, 200), 1},
        {[&] { top->show(); }, {80, 40}, rgb(200, 0, 0), 2},
    };
    for (const Step& s : steps) {
        onLoop(d, s.act);
        EXPECT_EQ(size(top), s.backing);
        EXPECT_EQ(d.pixel(60, 30), s.at60x30);
        EXPECT_EQ(top->paints, s.paints);
    }
    EXPECT_EQ(d.pixel(41, 21), rgb(200, 0, 0));
}
