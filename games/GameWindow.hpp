// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"

#include <cstddef>
#include <memory>
#include <string>

class GameButton;
class ProgramWindows;
struct ProgramContext;

// What the four game windows share: they cover the content area, compose background, buttons and game
// off screen and show the composition; their screen-sized pictures exist only while they are shown; keys
// and the stop button end a game by appending its record and showing the results.
class GameWindow : public platform::Form {
public:
    ~GameWindow() override;

    platform::Action A_Stop, A_NewGame, A_Help, A_ScreenPaint;

    // What the game draws with and on.
    int mode() const { return mode_; }
    platform::Canvas& workCanvas() { return workBitmap_.canvas(); }
    platform::Canvas& backgroundCanvas() { return background_.canvas(); }
    const platform::Bitmap& workPicture() const { return workBitmap_; }
    // Brings the composition to the screen now.
    void refresh() { repaint(); }
    // Blocks the window for ms with what is on screen shown.
    void wait(int ms);

    // Bytes of the window's own screen-sized pictures: none while hidden.
    virtual std::size_t pictureBytes() const;

    // What the game shares with the rest of the program.
    ProgramContext& context() const { return context_; }

protected:
    // Reads the layout's background once, so that a missing picture stops start-up (FatalError code 1),
    // and covers the content area.
    GameWindow(ProgramWindows& windows, const char* title, const char* windowName, std::string background800,
               std::string background1024);

    virtual void A_StopExecute() = 0;
    virtual void A_NewGameExecute() = 0;
    virtual void A_HelpExecute() = 0;
    virtual void A_ScreenPaintExecute() = 0;

    void paintEvent() override;
    // Any key is activity; Esc ends the game.
    void keyPressEvent(int charCode) override;

    // The background and the composition, made when the window is shown and freed when it is hidden.
    virtual void buildPictures();
    virtual void releasePictures();

    // Ending a game: while its results are on screen a second end does nothing; otherwise its record is
    // appended, then the results are shown (1: play again, kModalCancel: back to the menu).
    bool resultsShown() const;
    void saveGame(bool completed);
    int showResults();

    const std::string& backgroundFile() const { return backgroundFile_; }

    ProgramWindows& windows_;
    ProgramContext& context_;
    int mode_ = 0;
    int W = 0, H = 0;
    platform::Rect prostokat{};
    platform::Bitmap background_; // backgroundCanvas's bitmap
    platform::Bitmap workBitmap_; // workCanvas's bitmap
    // The button column at the right edge that labelling, completion and falling share: help, stop and,
    // when given their actions, next and previous word. FatalError code 1 when a picture is missing.
    void createButtonColumn(platform::Action* next = nullptr, platform::Action* previous = nullptr);

    std::unique_ptr<GameButton> stopButton_;
    std::unique_ptr<GameButton> helpButton_;
    std::unique_ptr<GameButton> nextButton_;
    std::unique_ptr<GameButton> previousButton_;

private:
    std::string backgroundFile_;
};
