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
    static int zakladkaPod(int y, int tryb);
    // The settings record of the current tab.
    GameSettings& ustawieniaZakladki();

    platform::Action A_Stop, A_Start, A_Oprogramie, A_Rec_Rec, A_Rec_Play, MPStop;
    platform::Action A_Malo, A_Srednio, A_Duzo, A_Naglos, A_Wyglos, A_Srodglos;
    platform::Action A_S, A_C, A_Z, A_DZ;
    platform::Action A_Zakladka, A_Glosnik;
    // Writes the progress report and opens it in the browser.
    platform::Action A_Raport;

    platform::ImageControl g_Menu{*this};
    platform::Label vL_Nazwisko{*this, "Imię i Nazwisko"};
    platform::Label vL_Data{*this, "Data"};

    bool zajety() const { return zajety_; }
    // Program-wide speaker switch; only the (hidden) speaker toggle changes it.
    static bool glosnik;

    // The check buttons in the order quantity (few, medium, many), sounds (SZ, Ż/RZ, CZ, DŻ),
    // positions (initial, medial, final).
    const TwoStatePicture& przyciskUstawien(int i) const { return *checki_[i]; }
    RecordingList& listaNagran() { return *lista_; }
    VoiceRecorder& nagrywarka() { return *nagrywarka_; }

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

    void zbuduj();
    void g_MenuMouseDown(int y);
    void A_ZakladkaExecute();
    void pokazPanelNagran();
    void ukryjPanelNagran();
    void pokazUstawienia();
    void A_StartExecute();
    bool uruchomGre(int zakladka, const GameSettings& filtr, int minimum);
    void A_PoziomExecute(int poziom);
    void A_GloskaExecute(int tag);
    void A_PozycjaExecute(std::uint16_t pozycja);
    void A_GlosnikExecute();
    void A_Rec_RecExecute();
    void A_Rec_PlayExecute();
    void MPStopExecute();
    void wejdzWZajetosc();
    void pokazKomunikat(int kod);
    void zapamietaj();
    void pokazKomunikat(const std::string& tekst);
    void nagrywarkaZamknij();
    void ustawPrzyciskiPanelu(bool wlaczone);

    platform::Bitmap tlo_;
    std::array<platform::Bitmap, 5> zakladki_;
    std::unique_ptr<Caption> napIlZadan_, napGloski_, napPozycja_;
    std::unique_ptr<MenuButton> oprogramie_, wyjdz_, start_, rrec_, rodtworz_, rstop_, up_, down_;
    std::unique_ptr<MenuButton> raport_;
    std::unique_ptr<ScrollBar> scroll_;
    std::array<std::unique_ptr<TwoStatePicture>, 10> checki_;
    std::unique_ptr<ToggleButton> glosnik_;
    std::unique_ptr<RecordingList> lista_;
    std::unique_ptr<VoiceRecorder> nagrywarka_;
    platform::Timer splashTimer_;
    int poprzednia_ = 0;
    int miejsceNagrania_ = -1;        // place whose take is being recorded
    bool poprzednieNagranie_ = false; // that place held a take before
    bool zajety_ = false;
    bool pokazane_ = false;
    bool panelNagranPokazany_ = false;
    int odswiezenUstawien_ = 4;
    int odswiezenNagran_ = 4;
};
