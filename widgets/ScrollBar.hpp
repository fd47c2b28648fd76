// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Message.hpp"

#include <cstdint>
#include <memory>
#include <string>

// The scroll thumb: one picture (N_D masked by N_M) drawn over the window's background, the same in
// every state. Unlike the other picture controls a failed construction re-raises the original error.
class ScrollThumb : public platform::ImageControl {
public:
    ScrollThumb(platform::Form& window, const std::string& name, platform::Canvas& screen,
                platform::Canvas& background, int left, int top, platform::Action* action);
    ~ScrollThumb() override;

    const char* kind() const override { return "CScrollBut"; }

    // A negative coordinate keeps the current one.
    void placeAt(int left, int top);
    bool pressed() const { return pressed_ != 0; }

protected:
    void windowProc(platform::Message& m) override;

private:
    void redraw();
    void recomputeBounds();

    std::unique_ptr<platform::Bitmap> picture_;
    std::unique_ptr<platform::Bitmap> mask_;
    platform::Canvas* screen_ = nullptr;
    platform::Canvas* background_ = nullptr;
    platform::Rect frame_{};
    platform::Rect localRect_{};
    std::unique_ptr<platform::Bitmap> buffer_;
    std::int16_t pressed_ = 0;
    bool ready_ = false;
};

// Position indicator beside a list: the thumb moves one fixed step per row the list scrolls; the user
// does not drag it.
class ScrollBar {
public:
    ScrollBar(platform::Form& window, int x, int y, platform::Canvas& screen, platform::Canvas& background);
    ~ScrollBar();
    ScrollBar(const ScrollBar&) = delete;
    ScrollBar& operator=(const ScrollBar&) = delete;

    void show();
    void hide();
    // Thumb to (x, top); the step spreads bottom - top over 22 rows.
    void setRange(int x, int top, int bottom);
    void stepDown();
    void stepUp();

    int x() const { return x_; }
    int y() const { return y_; }
    int step() const { return step_; }
    ScrollThumb& thumb() { return *thumb_; }

private:
    int x_;
    int y_;
    int step_ = 8;
    std::unique_ptr<ScrollThumb> thumb_;
    platform::Canvas* screen_;
};
