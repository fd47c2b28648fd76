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
constexpr const char* kBackground = "Data\\Intf\\Spec\\mKom_kp.xji";
}

MessageWindow::MessageWindow() : Form("Komunikat") {
    name = "FormKomunikat";
    setSize(420, 250);
    A_Stop.name = "A_Stop";
    A_Stop.onExecute = [this] { A_StopExecute(); };

    vL_Message.name = "vL_Komunikat";
    vL_Message.setAutoSize(false);
    vL_Message.setBounds(18, 51, 385, 134);
    vL_Message.setAlignment(platform::TextAlign::Center);
    vL_Message.setWordWrap(true);
    vL_Message.setTransparent(true);
    vL_Message.setFont({.family = "Arial Black", .height = 16, .bold = true, .color = platform::kBlack});
    vL_Message.onMouseDown = [this](platform::MouseButton b, platform::ShiftState s, int x, int y) {
        mouseDownEvent(b, s, x, y);
    };

    setRoundRegion(clientRect(), 25, 25);
    if (!platform::fs::exists(kBackground)) throw FatalError(1);
    try {
        loadJpeg(background_, kBackground);
    } catch (const std::exception&) {
        throw FatalError(1);
    }
    stop_ = std::make_unique<MenuButton>(*this, "stop", canvas(), background_.canvas(), width() / 2 - 30,
                                         height() - 100, &A_Stop);
}

MessageWindow::~MessageWindow() = default;

std::string MessageWindow::textForCode(std::uint16_t code) {
    switch (code) {
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

void MessageWindow::setMessage(std::uint16_t code) {
    vL_Message.setCaption(textForCode(code));
}

void MessageWindow::showEvent() {
    const platform::Size screen = platform::app().screenSize();
    setPosition((screen.width - width()) / 2, (screen.height - height()) / 2);
}

void MessageWindow::paintEvent() {
    canvas().setCopyMode(platform::CopyMode::SrcCopy);
    canvas().draw(0, 0, background_);
}

void MessageWindow::mouseDownEvent(platform::MouseButton button, platform::ShiftState, int, int) {
    if (button == platform::MouseButton::Left) beginCaptionDrag();
}

void MessageWindow::A_StopExecute() {
    close();
}
