// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Plays the falling-pictures window on the headless backend with the shipped data set: program-wide
// objects as start-up makes them, the window shown modally over a black background window.
#include "../game_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "games/falling/FallingWindow.hpp"
#include "widgets/Buttons.hpp"

namespace fallingtest {

using gametest::ParsedRecord;
using gametest::TemporaryDirectory;

struct TestSettings {
    int level = kQuantityMalo;
    platform::Size screen{800, 600};
    std::uint16_t sounds = kSoundSz; // five SZ targets; the five S words fall as distractors
    std::uint16_t position = kPositionNaglos;
};

class FallingGameTest : public gametest::GameInWindow<FallingWindow> {
protected:
    void run(TestSettings u = {}) {
        settings = u;
        launchGame(u.screen, kGameFalling, settings.level, settings.sounds, settings.position, Filter::None);
        ASSERT_NE(window, nullptr) << d->error();
        ASSERT_NE(window->game(), nullptr);
    }

    FallingGame& game() { return *window->game(); }
    int W() { return window->width(); }
    int H() { return window->height(); }

    // A falling picture of the wanted kind wholly on screen and clear of the bottom line, waiting for one
    // tick at a time until there is one; -1 when none comes within the time given.
    int visiblePicture(bool wantTarget, int maxMs = 30000) {
        for (int t = 0; t <= maxMs; t += 25) {
            for (int i = 0; i < game().pictureCount(); ++i) {
                const FallingPicture& o = game().pictureAt(i);
                if (!o.active || !o.hitArea.visible() || game().target(o) != wantTarget) continue;
                if (o.y >= 0 && o.y + o.picture.height() + 10 < game().bottom()) return i;
            }
            d->wait(25);
        }
        return -1;
    }
    // Clicks the middle of picture i where the game has it now.
    void clickPicture(int i) {
        const FallingPicture& o = game().pictureAt(i);
        d->click(window->left() + o.x + o.picture.width() / 2, window->top() + o.y + o.picture.height() / 2);
    }
    void hit() {
        const int i = visiblePicture(true);
        ASSERT_GE(i, 0);
        clickPicture(i);
    }
    void shootMiss() {
        const int i = visiblePicture(false);
        ASSERT_GE(i, 0);
        clickPicture(i);
    }

    // What the screen shows in the middle of place k, against what the picture stretched there gives.
    bool placeShows(int k, const platform::Bitmap& b) {
        const PictureField& p = game().hitArea(k);
        for (platform::Point o : {platform::Point{p.width / 2, p.height / 2}, platform::Point{3, 4}}) {
            const int sx = o.x * b.width() / p.width, sy = o.y * b.height() / p.height;
            if (d->pixel(window->left() + p.x + o.x, window->top() + p.y + o.y) != b.pixel(sx, sy))
                return false;
        }
        return true;
    }

    TestSettings settings;
};

} // namespace fallingtest
