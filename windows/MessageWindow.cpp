// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/MessageWindow.hpp"

#include "core/FatalError.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "widgets/Buttons.hpp"

namespace {
constexpr const char* kTlo = "Data\\Intf\\Spec\\mKom_kp.xji";
}

MessageWindow::MessageWindow() : Form("Komunikat") {
    name = "FormKomunikat";
    setSize(420, 250);
    A_Stop.name = "A_Stop";
    A_Stop.onExecute = [this] { A_StopExecute(); };

    vL_Komunikat.name = "vL_Komunikat";
    vL_Komunikat.setAutoSize(false);
    vL_Komunikat.setBounds(18, 51, 385, 134);
    vL_Komunikat.setAlignment(platform::TextAlign::Center);
    vL_Komunikat.setWordWrap(true);
    vL_Komunikat.setTransparent(true);
    vL_Komunikat.setFont({.family = "Arial Black", .height = 16, .bold = true, .color = platform::kBlack});
    vL_Komunikat.onMouseDown = [this](platform::MouseButton b, platform::ShiftState s, int x, int y) {
        mouseDownEvent(b, s, x, y);
    };

    setRoundRegion(clientRect(), 25, 25);
    if (!platform::fs::exists(kTlo)) throw FatalError(1);
    try {
        wczytajJpeg(tlo_, kTlo);
    } catch (const std::exception&) {
        throw FatalError(1);
    }
    stop_ = std::make_unique<MenuButton>(*this, "stop", canvas(), tlo_.canvas(), width() / 2 - 30,
                                         height() - 100, &A_Stop);
}

MessageWindow::~MessageWindow() = default;

std::string MessageWindow::tekstKomunikatu(std::uint16_t kod) {
    switch (kod) {
    case 1:
        return "Proszę wybrać większą liczbę głosek.";
    case 2:
        return "Proszę wybrać większą liczbę pozycji głosek.";
    case 3:
        return "Proszę wybrać większą liczbę głosek lub pozycji.";
    case 10:
        return "Proszę wybrać pozycję i wprowadzić nazwę nagrania.";
    case 11:
        return "Proszę wprowadzić nazwę dla nagrania.";
    case 20:
        return "Proszę wybrać pozycję do odtworzenia.";
    case 21:
        return "Brak nagrania dla wybranej pozycji.";
    default:
        return "Błąd.";
    }
}

void MessageWindow::ustawKomunikat(std::uint16_t kod) {
    vL_Komunikat.setCaption(tekstKomunikatu(kod));
}

void MessageWindow::showEvent() {
    const platform::Size ekran = platform::app().screenSize();
    setPosition((ekran.width - width()) / 2, (ekran.height - height()) / 2);
}

void MessageWindow::paintEvent() {
    canvas().setCopyMode(platform::CopyMode::SrcCopy);
    canvas().draw(0, 0, tlo_);
}

void MessageWindow::mouseDownEvent(platform::MouseButton button, platform::ShiftState, int, int) {
    if (button == platform::MouseButton::Left) beginCaptionDrag();
}

void MessageWindow::A_StopExecute() {
    close();
}
