// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/windows/Control.hpp"

namespace platform {

// A picture-less hit area: transparent, it paints nothing and only receives the mouse.
class ImageControl : public Control {
public:
    explicit ImageControl(Form& form) : Control(form) {}
    const char* kind() const override { return "ImageControl"; }
};

} // namespace platform
