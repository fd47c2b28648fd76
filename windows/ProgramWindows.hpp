// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {
class Form;
}

struct ProgramContext;
class MainMenu;
class MessageWindow;
class SplashWindow;
class ResultsWindow;
class AboutWindow;
class ChildChooser;

// The program's windows and the context they share: start-up makes one and hands it to every window, which
// reaches the others through it. It owns the windows it creates, in creation order, and destroys them in
// reverse order. A window that was not created stays null, and whoever shows it checks first.
class ProgramWindows {
public:
    explicit ProgramWindows(ProgramContext& context);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    ProgramContext& context() const { return context_; }

    // Creates a window of type T with args and keeps it. The main menu, message, results and about windows
    // are then found by their accessors.
    template <class T, class... Args> T* create(Args&&... args) {
        auto window = std::make_unique<T>(std::forward<Args>(args)...);
        T* result = window.get();
        if constexpr (std::is_same_v<T, MainMenu>) mainMenu_ = result;
        if constexpr (std::is_same_v<T, MessageWindow>) message_ = result;
        if constexpr (std::is_same_v<T, ResultsWindow>) results_ = result;
        if constexpr (std::is_same_v<T, AboutWindow>) about_ = result;
        keep(std::move(window), result, 0);
        return result;
    }
    // Creates the window of game number game (kGameLabelling ... kGameFalling), where the main menu's
    // start button finds it.
    template <class T, class... Args> T* createGame(int game, Args&&... args) {
        auto window = std::make_unique<T>(std::forward<Args>(args)...);
        T* result = window.get();
        keep(std::move(window), result, game);
        return result;
    }

    MainMenu* mainMenu() const { return mainMenu_; }
    MessageWindow* message() const { return message_; }
    ResultsWindow* results() const { return results_; }
    AboutWindow* about() const { return about_; }
    // The window of a game as a form, or null when it was not created.
    platform::Form* game(int number) const;

    // Destroys the windows, newest first (the destructor does it too).
    void destroyWindows();

    // Shows the splash window, owned here until it is removed.
    SplashWindow* showSplash();
    // The splash while it is there, else null.
    SplashWindow* splash() const { return splash_.get(); }
    // The choice of child while it is shown (start-up sets it), else null.
    ChildChooser* chooser() const { return chooser_; }
    void setChooser(ChildChooser* chooser) { chooser_ = chooser; }

    // Destroys the splash window if it is still there (the main menu does it 2 s after its first showing).
    void removeSplash();

private:
    void keep(std::unique_ptr<platform::Form> window, platform::Form* form, int game);

    ProgramContext& context_;
    std::vector<std::unique_ptr<platform::Form>> windows_;
    std::array<platform::Form*, 5> games_{};
    MainMenu* mainMenu_ = nullptr;
    MessageWindow* message_ = nullptr;
    ResultsWindow* results_ = nullptr;
    AboutWindow* about_ = nullptr;
    std::unique_ptr<SplashWindow> splash_;
    ChildChooser* chooser_ = nullptr;
};
