// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Plays the labelling window on the headless backend with the shipped data set: program-wide objects as
// start-up makes them, the catalogue filtered with the labelling settings, the window shown modally.
// Tiles are found through the game object and moved by real drags.
#include "../game_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/ResourcePictures.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "widgets/Buttons.hpp"

#include <algorithm>

namespace labellingtest {

using gametest::Background;
using gametest::ParsedRecord;
using gametest::TemporaryDirectory;

struct TestSettings {
    int level = kQuantityMalo;
    platform::Size screen{800, 600};
    std::uint16_t sounds = kSoundSz; // the five SZ words: every draw holds all of them
    std::uint16_t position = kPositionNaglos;
};

class LabellingGameTest : public gametest::GameInWindow<LabellingWindow> {
protected:
    void run(TestSettings u = {}) {
        settings = u;
        launchGame(u.screen, kGameLabelling, settings.level, settings.sounds, settings.position,
                   Filter::BySettings);
        ASSERT_NE(window, nullptr) << d->error();
        ASSERT_NE(window->game(), nullptr) << d->error();
    }

    LabellingGame& game() { return *window->game(); }
    int W() { return window->width(); }
    int H() { return window->height(); }
    platform::Point screen(int x, int y) { return {window->left() + x, window->top() + y}; }

    const LetterTile* tileByText(const std::string& text, bool freeOnly = true) {
        for (int i = 0; i < game().tileCount(); ++i) {
            const LetterTile* l = &game().tile(i);
            if (l->text() != text) continue;
            if (freeOnly && fieldOf(l) >= 0) continue;
            return l;
        }
        return nullptr;
    }
    // The field the tile lies in, or -1.
    int fieldOf(const LetterTile* l) {
        for (int i = 0; i < game().tileCount(); ++i)
            if (game().hitArea(i).tile() == l) return i;
        return -1;
    }

    // Drags a tile, held 10 px inside its corner, so that its corner lands at (x, y) in window coordinates.
    void drag(const LetterTile* l, int x, int y) {
        const platform::Point a = screen(l->x() + 10, l->y() + 10), b = screen(x + 10, y + 10);
        d->drag(a.x, a.y, b.x, b.y);
    }
    void dragToField(const LetterTile* l, int hitArea) {
        drag(l, game().hitArea(hitArea).x(), game().hitArea(hitArea).y());
    }

    // The word's units in order, read from the catalogue entry.
    std::vector<std::string> voices() {
        std::vector<std::string> w;
        std::string
            g = wvtest::context().catalogue->chosenWords().at(std::size_t(game().wordIndex())).spelling,
            u;
        for (char c : g) {
            if (c == ',') {
                if (!u.empty()) w.push_back(u);
                u.clear();
            } else if (c != '_') {
                u += c;
            }
        }
        return w;
    }
    void solve() {
        const auto g = voices();
        for (std::size_t i = 0; i < g.size(); ++i) {
            if (game().hitArea(int(i)).text() == g[i]) continue;
            if (const LetterTile* bad = game().hitArea(int(i)).tile()) drag(bad, 200, 60);
            dragToField(tileByText(g[i]), int(i));
        }
    }

    void goToWord(const std::string& word) {
        while (game().wordIndex() > 0)
            clickPrevious();
        for (int k = 0; k < 20 && game().word() != word; ++k)
            clickNext();
        ASSERT_EQ(game().word(), word);
    }

    int soundCount(const std::string& prefix) {
        return int(std::count_if(d->log().begin(), d->log().end(),
                                 [&](const std::string& l) { return l.rfind("sound " + prefix, 0) == 0; }));
    }
    std::vector<std::string> sounds() {
        std::vector<std::string> w;
        for (const auto& l : d->log())
            if (l.rfind("sound ", 0) == 0) w.push_back(l.substr(6));
        return w;
    }

    TestSettings settings;
};

} // namespace labellingtest
