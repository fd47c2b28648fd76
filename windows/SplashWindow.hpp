// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Label.hpp"

// The picture in the middle of the screen while the program starts. Its title also marks a running copy.
class SplashWindow : public platform::Form {
public:
    SplashWindow();

    // True when the splash picture was loaded (the text form is hidden then).
    bool hasPicture() const { return !splash_.empty(); }

    platform::Label lbTitle{*this};
    platform::Label lbErrorText{*this};

protected:
    void paintEvent() override;

private:
    platform::Bitmap splash_;
};
