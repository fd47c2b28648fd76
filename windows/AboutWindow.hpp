// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Label.hpp"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class MenuButton;
struct ProgramContext;

// The window about the program: a full-screen picture with the version, the maker's web page and
// e-mail address as click areas, and a stop button.
class AboutWindow : public platform::Form {
public:
    static constexpr const char* kVersion = "Wersja 1.7 Demonstracyjna";
    static constexpr const char* kWebAddress = "http://www.wirowanki.pl";
    static constexpr const char* kEmailAddress =
        "mailto:kontakt@wirowanki.pl?subject=Wiadomosc%20z%20Wirowanki%20Cz.I%20Demo%20(Wersja%201.7%20"
        "Demonstracyjna)";

    explicit AboutWindow(ProgramContext& context);
    ~AboutWindow() override;

    platform::Action A_Stop;
    platform::Label lbVersion{*this};
    platform::Label lbLinkWWW{*this};
    platform::Label lbLinkEMail{*this};

    MenuButton& stopButton() { return *stop_; }

    // What opens an address: the desktop's opener (tests put their own in its place). False when it
    // cannot start; the callback runs when it starts but fails.
    using OpenerFunction = std::function<bool(std::string_view, std::function<void()>)>;
    static OpenerFunction urlOpener;

protected:
    void paintEvent() override;
    void showEvent() override;
    void hideEvent() override;
    void resizeEvent() override;
    void keyPressEvent(int charCode) override;

private:
    ProgramContext& context_;
    std::string backgroundFile() const;
    void setUpLinks();
    void open(const char* address);
    // Back from minimised, telling the user why nothing opened.
    void openFailed(const char* address);

    std::unique_ptr<platform::Bitmap> bitmap_;
    std::unique_ptr<MenuButton> stop_;
};
