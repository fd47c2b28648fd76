// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/SplashWindow.hpp"

#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"

#include <exception>

namespace {
constexpr const char* kSplashFile = "Data\\Intf\\Spec\\mT_Splh.xji";
}

SplashWindow::SplashWindow() : Form("Wirowanki Cz.I Demo Splash") {
    name = "FormSplashScreen";
    setSize(600, 348);

    lbTitle.name = "lbTytul";
    lbTitle.setAutoSize(false);
    lbTitle.setBounds(0, 32, 601, 41);
    lbTitle.setAlignment(platform::TextAlign::Center);
    lbTitle.setTransparent(true);
    lbTitle.setFont({.family = "Araial", .height = 29});
    lbTitle.hide();

    lbErrorText.name = "lbBladTekst";
    lbErrorText.setTransparent(true);
    lbErrorText.setFont({.family = "MS Sans Serif", .height = 13, .bold = true, .color = platform::kRed});
    // Sized to its text: the font found here is wider than the one the box was drawn for.
    lbErrorText.setBounds(8, 8, 102, 16);
    lbErrorText.setCaption("Brak zasobów!");
    lbErrorText.hide();

    if (platform::fs::exists(kSplashFile)) {
        // A broken splash picture is no reason not to start: the text form stands in for it.
        try {
            loadJpeg(splash_, kSplashFile);
            setSize(splash_.width(), splash_.height());
        } catch (const std::exception&) {
            splash_.clear();
        }
    }

    const platform::Size screen = platform::app().screenSize();
    setPosition((screen.width - width()) / 2, (screen.height - height()) / 2);

    if (splash_.empty()) {
        lbTitle.setCaption("Wirowanki Cz.I Demo");
        lbTitle.show();
        lbErrorText.show();
    }
}

void SplashWindow::paintEvent() {
    platform::Canvas& c = canvas();
    c.setCopyMode(platform::CopyMode::SrcCopy);
    if (splash_.empty()) {
        // The erased background of the text form.
        c.setBrushColor(platform::kLime);
        c.fillRect(clientRect());
        return;
    }
    c.draw(0, 0, splash_);
}
