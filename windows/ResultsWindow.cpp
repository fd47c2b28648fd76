// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/ResultsWindow.hpp"

#include "core/FatalError.hpp"
#include "core/ProgramContext.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "widgets/Buttons.hpp"
#include "windows/ProgramWindows.hpp"

#include <exception>

namespace {

const platform::Font kCzcionka{
    .family = "Arial Black", .height = 19, .bold = true, .color = platform::kBlack};

void ustawEtykiete(platform::Label& l, const char* nazwa, const char* tekst, int left, int top) {
    l.name = nazwa;
    l.setTransparent(true);
    l.setFont(kCzcionka);
    l.setCaption(tekst);
    l.setPosition(left, top);
}

// Value labels grow to the left: their right edge stays where the layout puts it.
void ustawWartosc(platform::Label& l, const char* nazwa, int right, int top) {
    l.name = nazwa;
    l.setTransparent(true);
    l.setFont(kCzcionka);
    l.setAlignment(platform::TextAlign::Right);
    l.setCaption("0");
    l.setPosition(right - l.width(), top);
}

const char* const kPlikB = "Data\\Intf\\Spec\\mStatsB.xji";
const char* const kPlikM = "Data\\Intf\\Spec\\mStatsM.xji";
const char* const kPlikG = "Data\\Intf\\Spec\\mStatsG.xji";

} // namespace

ResultsWindow::ResultsWindow(ProgramContext& context) : Form("Koniec gry"), context_(context) {
    name = "fmKoniecGry";
    setSize(600, 450);
    A_Stop.name = "A_Stop";
    A_Stop.onExecute = [this] { setModalResult(WYNIK_STOP); };
    A_OdNowa.name = "A_OdNowa";
    A_OdNowa.onExecute = [this] { setModalResult(WYNIK_OD_NOWA); };

    ustawEtykiete(lbCzas, "lbCzas", "Czas gry:", 88, 177);
    ustawEtykiete(lbDobre, "lbDobre", "Poprawne rozwiązania:", 88, 206);
    ustawEtykiete(lbZle, "lbZle", "Błędne rozwiązania:", 88, 237);
    ustawEtykiete(lbPodpowiedzi, "lbPodpowiedzi", "Liczba podpowiedzi:", 88, 270);
    ustawWartosc(vL_Czas, "vL_Czas", 358, 177);
    ustawWartosc(vL_Dobre, "vL_Dobre", 422, 206);
    ustawWartosc(vL_Zle, "vL_Zle", 422, 237);
    ustawWartosc(vL_Podpowiedzi, "vL_Podpowiedzi", 422, 270);
    vL_Uwaga.name = "vL_Uwaga";
    vL_Uwaga.setAutoSize(false);
    vL_Uwaga.setBounds(60, 296, 480, 42);
    vL_Uwaga.setAlignment(platform::TextAlign::Center);
    vL_Uwaga.setWordWrap(true);
    vL_Uwaga.setTransparent(true);
    vL_Uwaga.setFont(
        {.family = "Arial", .height = 11, .bold = true, .color = platform::rgb(0xB0, 0x00, 0x00)});
    vL_Uwaga.hide();

    try {
        // Read once here so a missing picture stops the window now; the one shown is read on showing.
        for (const char* plik : {kPlikB, kPlikM, kPlikG})
            wczytajJpeg(tlo_, plik);
        tlo_ = platform::Bitmap();
        plikTla_ = kPlikM;
        przyciskStart_ =
            std::make_unique<MenuButton>(*this, "start", canvas(), tlo_.canvas(), 235, 340, &A_OdNowa);
        przyciskStop_ =
            std::make_unique<MenuButton>(*this, "stop", canvas(), tlo_.canvas(), 325, 340, &A_Stop);
        // Named after their captions, so that scripts and tests can find them.
        przyciskStart_->name = "graj";
        przyciskStop_->name = "koniec";
    } catch (const std::exception&) {
        przyciskStart_.reset();
        throw FatalError(1);
    }
    setRoundRegion({5, 5, 600, 450}, 50, 50);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::showEvent() {
    // Centred on the main window (the whole screen when there is none yet).
    platform::Rect nad{0, 0, platform::app().screenSize().width, platform::app().screenSize().height};
    if (platform::Form* glowne = platform::app().mainForm()) nad = glowne->bounds();
    setPosition(nad.left + (nad.width() - width()) / 2, nad.top + (nad.height() - height()) / 2);

    if (context_.statistics) {
        vL_Czas.setCaption(context_.statistics->czasTekst());
        vL_Dobre.setCaption(context_.statistics->dobre());
        vL_Zle.setCaption(context_.statistics->zle());
        vL_Podpowiedzi.setCaption(context_.statistics->podpowiedzi());
        vL_Uwaga.setCaption(context_.statistics->komunikat());
        vL_Uwaga.setVisible(!context_.statistics->komunikat().empty());
        switch (context_.statistics->ocena()) {
        case 1:
            plikTla_ = kPlikB;
            break;
        case 2:
            plikTla_ = kPlikM;
            break;
        case 4:
            plikTla_ = kPlikG;
            break;
        default:
            break;
        }
    }
    // A picture gone since start-up leaves the window black rather than not shown.
    try {
        wczytajJpeg(tlo_, plikTla_);
    } catch (const std::exception&) {
        tlo_ = platform::Bitmap(width(), height());
    }
    invalidate();
}

void ResultsWindow::hideEvent() {
    tlo_ = platform::Bitmap();
}

void ResultsWindow::paintEvent() {
    canvas().setCopyMode(platform::CopyMode::SrcCopy);
    canvas().draw(0, 0, tlo_);
}

void ResultsWindow::keyPressEvent(int charCode) {
    if (charCode == 27) A_Stop.execute();
}

void ResultsWindow::mouseDownEvent(platform::MouseButton button, platform::ShiftState, int, int) {
    if (button == platform::MouseButton::Left) beginCaptionDrag();
}
