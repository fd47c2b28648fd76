// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Label.hpp"

#include <cstdint>
#include <memory>
#include <string>

class MenuButton;

// The program's own message box: a rounded picture window with one centred text and a stop button.
// Callers set the message by its code, then show the window modally.
class MessageWindow : public platform::Form {
public:
    MessageWindow();
    ~MessageWindow() override;

    // Sets the text for a message code (unknown codes read "Błąd.").
    void setMessage(std::uint16_t code);
    // The text a code stands for.
    static std::string textForCode(std::uint16_t code);

    platform::Action A_Stop;
    platform::Label vL_Message{*this};

protected:
    void paintEvent() override;
    void showEvent() override;
    void mouseDownEvent(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;

private:
    void A_StopExecute();

    std::unique_ptr<MenuButton> stop_;
    platform::Bitmap background_;
};
