// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Plays the completion window on the headless backend with the shipped data set: program-wide objects as
// start-up makes them, the catalogue filtered as the main menu does (the chosen sounds plus their
// partners), the window shown modally.
#include "../game_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/ResourcePictures.hpp"
#include "games/completion/CompletionWindow.hpp"
#include "words/LetterTiles.hpp"

namespace completiontest {

using gametest::Background;
using gametest::ParsedRecord;
using gametest::TemporaryDirectory;

struct TestSettings {
    int level = kQuantitySrednio; // ten words: every SZ and S word of the catalogue
    platform::Size screen{800, 600};
    std::uint16_t sounds = kSoundSz;
    std::uint16_t position = kPositionNaglos;
};

class CompletionGameTest : public gametest::GameInWindow<CompletionWindow> {
protected:
    void run(TestSettings u = {}) {
        settings = u;
        launchGame(u.screen, kGameCompletion, settings.level, settings.sounds, settings.position,
                   Filter::WithContrast);
        ASSERT_NE(window, nullptr) << d->error();
        ASSERT_NE(window->game(), nullptr);
        t0 = d->now();
    }

    CompletionGame& game() { return *window->game(); }
    int W() { return window->width(); }
    int H() { return window->height(); }

    // Runs an action on the program's side, as a key or button would.
    void execute(platform::Action& a) {
        d->application().post([&a] { a.execute(); });
        d->wait(1);
    }

    // The choice offering unit u, or null.
    const SoundBlock* choice(const std::string& u) {
        for (int i = 0; i < 2; ++i)
            if (game().choice(i) && game().choice(i)->text == u) return game().choice(i);
        return nullptr;
    }
    void clickChoice(const std::string& u) {
        const SoundBlock* w = choice(u);
        ASSERT_NE(w, nullptr) << u;
        const platform::Rect r = w->hitArea->bounds();
        d->click(window->left() + (r.left + r.right) / 2, window->top() + (r.top + r.bottom) / 2);
    }
    void solve() { clickChoice(game().correctAnswer()); }

    // Moves with "nast" to the given word; false when it is not in the game.
    bool goToWord(const std::string& word) {
        for (int i = 0; i < 20 && game().word() != word; ++i) {
            if (game().isLast()) return false;
            clickNext();
        }
        return game().word() == word;
    }

    // The screen over a resource picture placed at window position (x, y): every pixel equal.
    bool shows(int x, int y, const std::string& resource) {
        platform::Bitmap b;
        openBmp(resource, b);
        const platform::Bitmap& screen = d->screen();
        for (int j = 0; j < b.height(); ++j)
            for (int i = 0; i < b.width(); ++i)
                if (screen.pixel(window->left() + x + i, window->top() + y + j) != b.pixel(i, j))
                    return false;
        return true;
    }
    bool gapShows(const std::string& resource) {
        const SoundBlock& l = *game().blocks().at(std::size_t(game().gap()));
        return shows(l.x, l.y, resource);
    }
    // What the window showed in the gap, whenever the composition changed, by picture name.
    void trackGap(std::vector<std::string> names) {
        watchedPictures_.clear();
        for (const std::string& n : names) {
            platform::Bitmap b;
            openBmp(n, b);
            watchedPictures_.emplace_back(n, b);
        }
        seen.clear();
        window->workCanvas().setChangeListener([this](const platform::Rect&) {
            if (!window->game() || game().gap() < 0) return;
            const SoundBlock& l = *game().blocks().at(std::size_t(game().gap()));
            const platform::Canvas& k = window->workCanvas();
            for (const auto& [n, b] : watchedPictures_) {
                bool matches = true;
                for (int j = 0; j < b.height() && matches; j += 3)
                    for (int i = 0; i < b.width() && matches; i += 3)
                        matches = k.pixel(l.x + i, l.y + j) == b.pixel(i, j);
                if (matches && (seen.empty() || seen.back() != n)) seen.push_back(n);
            }
        });
    }

    TestSettings settings;
    std::int64_t t0 = 0;
    std::vector<std::string> seen;

private:
    std::vector<std::pair<std::string, platform::Bitmap>> watchedPictures_;
};

} // namespace completiontest
