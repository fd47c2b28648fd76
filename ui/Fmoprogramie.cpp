// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Fmoprogramie.hpp"

#include "app/Cdisplay.hpp"
#include "app/_cblad.hpp"
#include "platform/Application.hpp"
#include "platform/Canvas.hpp"
#include "platform/Cursor.hpp"
#include "platform/Dialogs.hpp"
#include "widgets/_cprzycisk.hpp"

#include <exception>
#include <string>

TFormOProgramie::TFormOProgramie() : Form("Wesołe Wirowanki Cz.I Demo") {
    name = "FormOProgramie";
    const platform::Size ekran = platform::app().screenSize();
    setBounds(0, 0, ekran.width, ekran.height);

    A_Stop.name = "A_Stop";
    A_Stop.onExecute = [this] { close(); };

    try {
        bitmap_ = std::make_unique<platform::Bitmap>();
        // Drawn once here so a broken picture stops the window now; kept only while shown.
        display.drawBackground(*bitmap_, plikTla());
        *bitmap_ = platform::Bitmap();
        stop_ = std::make_unique<CPrzyciskP>(*this, "stop", canvas(), bitmap_->canvas(), 0, 0, &A_Stop);
        stop_->name = "stop";
        stop_->ustawPozycje(display.scale(TRYB_1280, 645) + display.offsetX() - stop_->width() / 2,
                            display.scale(TRYB_1280, 870) + display.offsetY() - stop_->height());
    } catch (const std::exception&) {
        stop_.reset();
        bitmap_.reset();
        throw CBlad(1);
    }

    lbWersja.name = "lbWersja";
    lbWersja.setTransparent(true);
    lbWersja.setAlignment(platform::TextAlign::Center);
    lbWersja.setFont({.family = "Arial", .height = 16, .bold = true, .color = platform::kBlack});

    // The link texts are part of the picture; the labels are only the areas that answer clicks.
    for (platform::Label* l : {&lbLinkWWW, &lbLinkEMail}) {
        l->setCaption("");
        l->setAutoSize(false);
        l->setTransparent(true);
        l->setCursor(platform::kCursorHand);
    }
    lbLinkWWW.name = "lbLinkWWW";
    lbLinkEMail.name = "lbLinkEMail";
    lbLinkWWW.onClick = [this] { otworz(kAdresWWW); };
    lbLinkEMail.onClick = [this] { otworz(kAdresEMail); };
    ustawLinki();
    // The splash stays: the main menu removes it two seconds after it first shows.
}

TFormOProgramie::~TFormOProgramie() = default;

std::string TFormOProgramie::plikTla() {
    return "Data\\Intf\\Spec\\" + display.prefix1() + "_oprogT.xji";
}

TFormOProgramie::Otwieracz TFormOProgramie::otwieracz = [](std::string_view adres,
                                                           std::function<void()> blad) {
    return platform::openUrl(adres, std::move(blad));
};

void TFormOProgramie::otworz(const char* adres) {
    // The browser or mail program comes up in front of a minimised program.
    platform::app().minimize();
    const std::weak_ptr<void> zycie = lifeToken();
    if (!otwieracz(adres, [this, zycie, adres] {
            if (!zycie.expired()) niePowiodloSie(adres);
        }))
        niePowiodloSie(adres);
}

void TFormOProgramie::niePowiodloSie(const char* adres) {
    // A child must not see the game simply vanish: the program comes back and says what happened.
    platform::app().raiseMainWindow();
    const std::string tekst =
        adres == std::string_view(kAdresEMail)
            ? "Nie udało się otworzyć programu pocztowego.\n\nNapisz do nas na adres: kontakt@wirowanki.pl"
            : std::string("Nie udało się otworzyć strony ") + kAdresWWW +
                  ".\n\nBrak przeglądarki internetowej lub nie działa ona poprawnie.";
    platform::messageBox(this, tekst, "Wirowanki Cz.I Demo", platform::MessageIcon::Warning);
}

void TFormOProgramie::ustawLinki() {
    const int x = display.scale(TRYB_1280, 817) + display.offsetX();
    lbLinkWWW.setBounds(x, display.scale(TRYB_1024, 477) + display.offsetY(), 154, 18);
    lbLinkEMail.setBounds(x, display.scale(TRYB_1024, 497) + display.offsetY(), 154, 18);
}

void TFormOProgramie::paintEvent() {
    canvas().setCopyMode(platform::CopyMode::SrcCopy);
    canvas().draw(0, 0, *bitmap_);
}

void TFormOProgramie::showEvent() {
    if (bitmap_->empty()) {
        try {
            display.drawBackground(*bitmap_, plikTla());
        } catch (const std::exception&) {
            // A picture broken since start-up leaves the window black.
            *bitmap_ = platform::Bitmap(display.screenWidth(), display.screenHeight());
        }
    }
    lbWersja.setCaption(kWersja);
    lbWersja.setPosition(display.scale(TRYB_1280, 645) + display.offsetX() - lbWersja.width() / 2,
                         display.scale(TRYB_1280, 296) + display.offsetY());
}

void TFormOProgramie::hideEvent() {
    *bitmap_ = platform::Bitmap();
}

void TFormOProgramie::resizeEvent() {
    ustawLinki();
}

void TFormOProgramie::keyPressEvent(int charCode) {
    if (charCode == 27) A_Stop.execute();
}
