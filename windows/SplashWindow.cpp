// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/SplashWindow.hpp"

#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"

#include <exception>

namespace {
constexpr const char* kObraz = "Data\\Intf\\Spec\\mT_Splh.xji";
}

SplashWindow::SplashWindow() : Form("Wirowanki Cz.I Demo Splash") {
    name = "FormSplashScreen";
    setSize(600, 348);

    lbTytul.name = "lbTytul";
    lbTytul.setAutoSize(false);
    lbTytul.setBounds(0, 32, 601, 41);
    lbTytul.setAlignment(platform::TextAlign::Center);
    lbTytul.setTransparent(true);
    lbTytul.setFont({.family = "Araial", .height = 29});
    lbTytul.hide();

    lbBladTekst.name = "lbBladTekst";
    lbBladTekst.setTransparent(true);
    lbBladTekst.setFont({.family = "MS Sans Serif", .height = 13, .bold = true, .color = platform::kRed});
    // Sized to its text: the font found here is wider than the one the box was drawn for.
    lbBladTekst.setBounds(8, 8, 102, 16);
    lbBladTekst.setCaption("Brak zasobów!");
    lbBladTekst.hide();

    if (platform::fs::exists(kObraz)) {
        // A broken splash picture is no reason not to start: the text form stands in for it.
        try {
            wczytajJpeg(splash_, kObraz);
            setSize(splash_.width(), splash_.height());
        } catch (const std::exception&) {
            splash_.clear();
        }
    }

    const platform::Size ekran = platform::app().screenSize();
    setPosition((ekran.width - width()) / 2, (ekran.height - height()) / 2);

    if (splash_.empty()) {
        lbTytul.setCaption("Wirowanki Cz.I Demo");
        lbTytul.show();
        lbBladTekst.show();
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
