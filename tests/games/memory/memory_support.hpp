// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The memory window in the game fixture, the catalogue filtered with the Memory settings.
#include "../game_fixture.hpp"
#include "games/memory/MemoryWindow.hpp"

#include <map>

namespace memorytest {

using gametest::GameInWindow;
using gametest::ParsedRecord;
using gametest::TemporaryDirectory;

struct TestSettings {
    int level = kQuantityMalo;
    platform::Size screen{800, 600};
    std::uint16_t sounds = kSoundSz | kSoundS; // all ten words, so that every quantity can be dealt
    std::uint16_t position = kPositionNaglos;
};

class MemoryGameTest : public gametest::GameInWindow<MemoryWindow> {
protected:
    void run(TestSettings u = {}) {
        settings = u;
        launchGame(u.screen, kGameMemory, settings.level, settings.sounds, settings.position,
                   Filter::BySettings);
        ASSERT_NE(window, nullptr) << d->error();
        t0 = d->now();
    }

    MemoryGame& game() { return *window->game(); }
    int n() { return game().cardCount(); }
    const MemoryCard& card(int k) { return *game().card(k); }

    // The middle of cell k on the screen.
    platform::Point centre(int k) {
        const platform::Point p = game().cell(k);
        return {window->left() + p.x + 35, window->top() + p.y + 47};
    }
    void clickCard(int k) {
        const platform::Point p = centre(k);
        d->click(p.x, p.y);
    }

    // The pairs still on the board, as cell numbers.
    std::vector<std::pair<int, int>> pairs() {
        std::map<std::string, std::vector<int>> wg;
        for (int k = 0; k < n(); ++k)
            if (card(k).onBoard()) wg[card(k).word()].push_back(k);
        std::vector<std::pair<int, int>> result;
        for (auto& [word, cells] : wg)
            if (cells.size() == 2) result.emplace_back(cells[0], cells[1]);
        return result;
    }
    // A card on the board whose word differs from card k's.
    int other(int k) {
        for (int j = 0; j < n(); ++j)
            if (card(j).onBoard() && card(j).word() != card(k).word()) return j;
        return -1;
    }
    // The cell of k's partner.
    int partner(int k) {
        for (int j = 0; j < n(); ++j)
            if (j != k && card(j).word() == card(k).word()) return j;
        return -1;
    }

    // What the screen shows at the middle and near the corner of cell k, against a picture file.
    bool shows(int k, const std::string& file) {
        platform::Bitmap b;
        loadJpeg(b, file);
        const platform::Point p = game().cell(k);
        for (platform::Point o : {platform::Point{35, 47}, platform::Point{8, 9}, platform::Point{60, 80}})
            if (d->pixel(window->left() + p.x + o.x, window->top() + p.y + o.y) != b.pixel(o.x, o.y))
                return false;
        return true;
    }
    bool showsBack(int k) { return shows(k, "Data\\Sio\\blkcard0.xji"); }
    bool front(int k) { return shows(k, "Data\\Sio\\s" + card(k).word() + ".xji"); }

    int resultsShownCount() {
        int k = 0;
        for (const auto& l : d->log())
            if (l == "form-shown " + results->caption()) ++k;
        return k;
    }

    TestSettings settings;
    std::int64_t t0 = 0;
};

} // namespace memorytest
