// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/AboutWindow.hpp"

#include "core/FatalError.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/OpenUrl.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Cursor.hpp"
#include "platform/windows/Dialogs.hpp"
#include "widgets/Buttons.hpp"

#include <exception>
#include <string>

AboutWindow::AboutWindow(ProgramContext& context) : Form("Wesołe Wirowanki Cz.I Demo"), context_(context) {
    name = "FormOProgramie";
    const platform::Size screen = platform::app().screenSize();
    setBounds(0, 0, screen.width, screen.height);

    A_Stop.name = "A_Stop";
    A_Stop.onExecute = [this] { close(); };

    try {
        bitmap_ = std::make_unique<platform::Bitmap>();
        // Drawn once here so a broken picture stops the window now; kept only while shown.
        context_.layout.drawBackground(*bitmap_, backgroundFile());
        *bitmap_ = platform::Bitmap();
        stop_ = std::make_unique<MenuButton>(*this, "stop", canvas(), bitmap_->canvas(), 0, 0, &A_Stop);
        stop_->name = "stop";
        stop_->placeAt(context_.layout.scale(kMode1280, 645) + context_.layout.offsetX() - stop_->width() / 2,
                       context_.layout.scale(kMode1280, 870) + context_.layout.offsetY() - stop_->height());
    } catch (const std::exception&) {
        stop_.reset();
        bitmap_.reset();
        throw FatalError(1);
    }

    lbVersion.name = "lbWersja";
    lbVersion.setTransparent(true);
    lbVersion.setAlignment(platform::TextAlign::Center);
    lbVersion.setFont({.family = "Arial", .height = 16, .bold = true, .color = platform::kBlack});

    // The link texts are part of the picture; the labels are only the areas that answer clicks.
    for (platform::Label* l : {&lbLinkWWW, &lbLinkEMail}) {
        l->setCaption("");
        l->setAutoSize(false);
        l->setTransparent(true);
        l->setCursor(platform::kCursorHand);
    }
    lbLinkWWW.name = "lbLinkWWW";
    lbLinkEMail.name = "lbLinkEMail";
    lbLinkWWW.onClick = [this] { open(kWebAddress); };
    lbLinkEMail.onClick = [this] { open(kEmailAddress); };
    setUpLinks();
    // The splash stays: the main menu removes it two seconds after it first shows.
}

AboutWindow::~AboutWindow() = default;

std::string AboutWindow::backgroundFile() const {
    return "Data\\Intf\\Spec\\" + context_.layout.prefix1() + "_oprogT.xji";
}

AboutWindow::OpenerFunction AboutWindow::urlOpener = [](std::string_view address,
                                                        std::function<void()> error) {
    return platform::openUrl(address, std::move(error));
};

void AboutWindow::open(const char* address) {
    // The browser or mail program comes up in front of a minimised program.
    platform::app().minimize();
    const std::weak_ptr<void> life = lifeToken();
    if (!urlOpener(address, [this, life, address] {
            if (!life.expired()) openFailed(address);
        }))
        openFailed(address);
}

void AboutWindow::openFailed(const char* address) {
    // A child must not see the game simply vanish: the program comes back and says what happened.
    platform::app().raiseMainWindow();
    const std::string text =
        address == std::string_view(kEmailAddress)
            ? "Nie udało się otworzyć programu pocztowego.\n\nNapisz do nas na adres: kontakt@wirowanki.pl"
            : std::string("Nie udało się otworzyć strony ") + kWebAddress +
                  ".\n\nBrak przeglądarki internetowej lub nie działa ona poprawnie.";
    platform::messageBox(this, text, "Wirowanki Cz.I Demo", platform::MessageIcon::Warning);
}

void AboutWindow::setUpLinks() {
    const int x = context_.layout.scale(kMode1280, 817) + context_.layout.offsetX();
    lbLinkWWW.setBounds(x, context_.layout.scale(kMode1024, 477) + context_.layout.offsetY(), 154, 18);
    lbLinkEMail.setBounds(x, context_.layout.scale(kMode1024, 497) + context_.layout.offsetY(), 154, 18);
}

void AboutWindow::paintEvent() {
    canvas().setCopyMode(platform::CopyMode::SrcCopy);
    canvas().draw(0, 0, *bitmap_);
}

void AboutWindow::showEvent() {
    if (bitmap_->empty()) {
        try {
            context_.layout.drawBackground(*bitmap_, backgroundFile());
        } catch (const std::exception&) {
            // A picture broken since start-up leaves the window black.
            *bitmap_ = platform::Bitmap(context_.layout.screenWidth(), context_.layout.screenHeight());
        }
    }
    lbVersion.setCaption(kVersion);
    lbVersion.setPosition(context_.layout.scale(kMode1280, 645) + context_.layout.offsetX() -
                              lbVersion.width() / 2,
                          context_.layout.scale(kMode1280, 296) + context_.layout.offsetY());
}

void AboutWindow::hideEvent() {
    *bitmap_ = platform::Bitmap();
}

void AboutWindow::resizeEvent() {
    setUpLinks();
}

void AboutWindow::keyPressEvent(int charCode) {
    if (charCode == 27) A_Stop.execute();
}
