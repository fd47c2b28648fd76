// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/backends/Backend.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/ScreenScale.hpp"

#include "platform/core/Bitmap.hpp"

#include <map>
#include <optional>
#include <vector>

struct SDL_Window;
struct SDL_Surface;
struct SDL_Cursor;
struct SDL_Rect;
union SDL_Event;

namespace platform {

// A colour cursor enlarged as the screen is, its hot spot with it.
CursorImage scaledCursor(const CursorImage& cursor, const ScreenScale& scale);

// Where a virtual screen of this size lands in a window of output's size: as large as fits with its
// aspect kept, centred.
Rect placed(Size screen, Size output);

// No screen to show the window on; the message says so and what to do instead.
class NoDisplayError : public Error {
public:
    using Error::Error;
};

// The real backend: one SDL window showing the virtual screen, full-screen desktop by default. The window
// stays hidden until the first frame is presented, so a run that ends before it never flashes one.
// Frames go into the window's own surface without GL: only the changed rectangles are copied (or scaled
// with our bilinear kernel) and sent, and nothing is drawn while the window is minimised or hidden.
class SdlBackend : public Backend {
public:
    // window: a window of that size; none: full screen at the desktop's size. scale: the layout is
    // enlarged to fill a larger window (ScreenScale::fit). Raises NoDisplayError without a display (the
    // off-screen and dummy drivers count only when SDL_VIDEODRIVER asks for them), Error otherwise.
    SdlBackend(std::optional<Size> window, bool scale);
    ~SdlBackend() override;

    bool headless() const override { return false; }
    Size screenSize() const override { return scale_.screen; }
    void pollEvents(Application& app) override;
    void waitEvents(Application& app, std::int64_t timeoutMs) override;
    void present(const Bitmap& screen, std::span<const Rect> dirty) override;
    void blockFor(int ms) override;
    MessageResult messageBox(std::string_view text, std::string_view title, MessageIcon icon,
                             MessageButtons buttons) override;
    void setCursor(CursorId cursor) override;
    void setTitle(const std::string& title) override;
    void minimize() override;
    void raise() override;
    void warpMouse(Point p) override;
    // With WV_TIMELINE set, windows shown or hidden and the frames that first show it are timed on stderr.
    void log(std::string_view line) override;
    void wake() override;
    bool minimised() const override { return minimised_; }

private:
    void translate(const SDL_Event& e, Application& app);
    SDL_Cursor* cursorFor(CursorId id);
    // Draws rectangle r of the screen into the window surface; returns the window pixels it covers.
    Rect draw(SDL_Surface* surface, const Bitmap& screen, const Rect& r);
    Point toScreen(int x, int y) const { return scale_.toScreen({x, y}); }

    SDL_Window* window_ = nullptr;
    SDL_Surface* surface_ = nullptr; // the window's, as last seen
    ScreenScale scale_;
    BilinearMap map_;
    std::vector<SDL_Rect> updated_;
    Bitmap staging_; // only for a window surface that is not 32-bit BGRX
    bool shown_ = false;
    bool minimised_ = false;
    bool redrawAll_ = true;
    bool timeline_ = false;
    bool timelinePresent_ = false;
    Point mouse_{0, 0};
    std::uint32_t wakeEvent_ = 0;
    std::map<CursorId, SDL_Cursor*> cursors_;
};

} // namespace platform
