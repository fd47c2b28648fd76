#pragma once

#include "Backend.hpp"
#include "Error.hpp"
#include "ScreenScale.hpp"

#include <map>
#include <optional>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

namespace platform {

// A colour cursor enlarged as the screen is, its hot spot with it.
CursorImage scaledCursor(const CursorImage& cursor, const ScreenScale& scale);

// No screen to show the window on; the message says so and what to do instead.
class NoDisplayError : public Error {
public:
    using Error::Error;
};

// The real backend: one SDL window showing the virtual screen, full-screen desktop by default. The window
// stays hidden until the first frame is presented, so a run that ends before it never flashes one.
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
    void log(std::string_view) override {}
    void wake() override;

private:
    void translate(const SDL_Event& e, Application& app);
    SDL_Cursor* cursorFor(CursorId id);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    ScreenScale scale_;
    bool shown_ = false;
    Point mouse_{0, 0};
    std::uint32_t wakeEvent_ = 0;
    std::map<CursorId, SDL_Cursor*> cursors_;
};

} // namespace platform
