// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Label.hpp"

#include <array>
#include <memory>
#include <string>

class TwoStatePicture;
class TextButton;
class ToggleButton;
class RecordingList;
class VoiceRecorder;
class Caption;
class MenuButton;
class ScrollBar;
class GameSettings;
class ProgramWindows;
struct ProgramContext;

// The main menu: a tab strip of the four games and the recorder, each game's settings as check buttons,
// and the buttons that start a game, show the about window and end the program.
class MainMenu : public platform::Form {
public:
    explicit MainMenu(ProgramWindows& windows);
    ~MainMenu() override;

    // The tab a press at y (strip coordinates) selects in the current display mode; 0 for none.
    static int tabAt(int y, int mode);
    // The settings record of the current tab.
    GameSettings& tabSettings();

    platform::Action A_Stop, A_Start, A_About, A_Rec_Rec, A_Rec_Play, MPStop;
    platform::Action A_Malo, A_Srednio, A_Duzo, A_Naglos, A_Wyglos, A_Srodglos;
    platform::Action A_S, A_C, A_Z, A_DZ;
    platform::Action A_Tab, A_Speaker;
    // Writes the progress report and opens it in the browser.
    platform::Action A_Report;
    // Closes the menu so that another child can be chosen (or the children managed).
    platform::Action A_Child;
    // The word browser, behind the adults' gate.
    platform::Action A_Words;

    platform::ImageControl g_Menu{*this};
    platform::Label vL_Name{*this, "Imię i Nazwisko"};
    platform::Label vL_Data{*this, "Data"};

    bool busy() const { return busy_; }

    // The check buttons in the order quantity (few, medium, many), sounds (SZ, Ż/RZ, CZ, DŻ),
    // positions (initial, medial, final).
    const TwoStatePicture& settingsButton(int i) const { return *checki_[i]; }
    RecordingList& recordingList() { return *list_; }
    VoiceRecorder& recorder() { return *recorder_; }

protected:
    void paintEvent() override;
    void showEvent() override;
    void activateEvent() override;
    void closeEvent() override;
    void keyPressEvent(int charCode) override;
    void mouseWheelEvent(int delta, platform::ShiftState shift, int x, int y) override;

private:
    ProgramWindows& windows_;
    ProgramContext& context_;

    void build();
    void g_MenuMouseDown(int y);
    void A_TabExecute();
    void showRecordingsPanel();
    void hideRecordingsPanel();
    void showSettings();
    void A_StartExecute();
    bool startGame(int tab, const GameSettings& wordFilter, int minimum);
    void A_LevelExecute(int level);
    void A_SoundExecute(int tag);
    void A_PositionExecute(std::uint16_t position);
    void A_SpeakerExecute();
    void A_Rec_RecExecute();
    void A_Rec_PlayExecute();
    void MPStopExecute();
    void enterBusy();
    void showMessage(int code);
    void remember();
    void showMessage(const std::string& text);
    void closeRecorder();
    void setPanelButtonsEnabled(bool enabled);
    void drawChildBadge();

    platform::Bitmap background_;
    std::array<platform::Bitmap, 5> tabs_;
    std::unique_ptr<Caption> taskCountCaption_, soundsCaption_, positionCaption_;
    std::unique_ptr<MenuButton> about_, quit_, start_, rrec_, rplay_, rstop_, up_, down_;
    std::unique_ptr<MenuButton> report_;
    std::unique_ptr<TextButton> child_, words_;
    platform::Bitmap childPicture_;
    platform::Rect childBadge_{};
    std::unique_ptr<ScrollBar> scroll_;
    std::array<std::unique_ptr<TwoStatePicture>, 10> checki_;
    std::unique_ptr<ToggleButton> speaker_;
    std::unique_ptr<RecordingList> list_;
    std::unique_ptr<VoiceRecorder> recorder_;
    platform::Timer splashTimer_;
    int previous_ = 0;
    int recordingPlace_ = -1;        // place whose take is being recorded
    bool previousRecording_ = false; // that place held a take before
    bool busy_ = false;
    bool shown_ = false;
    bool recordingsPanelShown_ = false;
    int settingsRefreshes_ = 4;
    int recordingRefreshes_ = 4;
};
