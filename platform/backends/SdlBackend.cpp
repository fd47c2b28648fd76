// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/backends/SdlBackend.hpp"
#include "platform/loop/Signals.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/core/Error.hpp"
#include "platform/core/RowOps.hpp"
#include "platform/windows/Application.hpp"

#include <SDL.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

Error sdlError(const char* what) {
    return Error(std::string(what) + ": " + SDL_GetError());
}

std::string noDisplay(const std::string& why) {
    std::string line = "no display: nie ma ekranu, na którym można otworzyć okno (" + why;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x || !*x) && (!wayland || !*wayland)) line += "; DISPLAY i WAYLAND_DISPLAY nie są ustawione";
    return line + "); uruchom program w sesji graficznej albo ustaw DISPLAY, a bez ekranu użyj --headless";
}

// A box that cannot be shown still leaves its words where someone may read them.
void writeToStderr(std::string_view title, std::string_view text) {
    std::string line(title);
    line += ": ";
    for (char c : text)
        line += c == '\n' ? ' ' : c;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

ShiftState modifiers(Uint16 mod) {
    ShiftState s = 0;
    if (mod & KMOD_SHIFT) s |= kShift;
    if (mod & KMOD_CTRL) s |= kCtrl;
    if (mod & KMOD_ALT) s |= kAlt;
    return s;
}

MouseButton buttonOf(Uint8 b) {
    switch (b) {
    case SDL_BUTTON_LEFT:
        return MouseButton::Left;
    case SDL_BUTTON_RIGHT:
        return MouseButton::Right;
    case SDL_BUTTON_MIDDLE:
        return MouseButton::Middle;
    default:
        return MouseButton::None;
    }
}

SDL_Cursor* colorCursor(const Bitmap& image, Point hotSpot) {
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(image.data()), image.width(),
                                           image.height(), 32, image.stride(), SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    SDL_Cursor* c = SDL_CreateColorCursor(s, hotSpot.x, hotSpot.y);
    SDL_FreeSurface(s);
    return c;
}

// "timeline WHAT MS" (milliseconds since 1970, comparable with the launcher's clock).
void timelineLine(std::string what) {
    for (char& c : what)
        if (c == ' ') c = '_';
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    std::fprintf(stderr, "timeline %s %lld\n", what.c_str(), static_cast<long long>(ms));
}

} // namespace

Rect placed(Size screen, Size output) {
    if (screen.width <= 0 || screen.height <= 0) return Rect::fromSize(0, 0, output.width, output.height);
    const std::int64_t ow = output.width, oh = output.height;
    if (ow * screen.height >= oh * screen.width) {
        const int w = int(std::int64_t(screen.width) * oh / screen.height);
        return Rect::fromSize((output.width - w) / 2, 0, w, output.height);
    }
    const int h = int(std::int64_t(screen.height) * ow / screen.width);
    return Rect::fromSize(0, (output.height - h) / 2, output.width, h);
}

CursorImage scaledCursor(const CursorImage& cursor, const ScreenScale& scale) {
    const int num = scale.target.width(), den = scale.screen.width;
    const Bitmap& src = cursor.image;
    const int w = std::max(1, (src.width() * num + den / 2) / den);
    const int h = std::max(1, (src.height() * num + den / 2) / den);
    // Colours are weighted by their alpha while resampling, so the colour under transparent pixels
    // (often a colour key) does not bleed into the edges.
    Bitmap pre(src.width(), src.height(), PixelFormat::Bgra32);
    for (int y = 0; y < src.height(); ++y) {
        const std::uint8_t* s = src.scanline(y);
        std::uint8_t* d = pre.scanline(y);
        for (int x = 0; x < src.width() * 4; x += 4) {
            const int a = s[x + 3];
            for (int c = 0; c < 3; ++c)
                d[x + c] = std::uint8_t((s[x + c] * a + 127) / 255);
            d[x + 3] = std::uint8_t(a);
        }
    }
    CursorImage out{Bitmap(w, h, PixelFormat::Bgra32),
                    {cursor.hotSpot.x * num / den, cursor.hotSpot.y * num / den}};
    scaleBilinear(pre, out.image, Rect::fromSize(0, 0, w, h));
    for (int y = 0; y < h; ++y) {
        std::uint8_t* d = out.image.scanline(y);
        for (int x = 0; x < w * 4; x += 4) {
            const int a = d[x + 3];
            for (int c = 0; c < 3; ++c)
                d[x + c] = a ? std::uint8_t(std::min(255, (d[x + c] * 255 + a / 2) / a)) : 0;
        }
    }
    return out;
}

SdlBackend::SdlBackend(std::optional<Size> window, bool scale) {
    if (const char* t = std::getenv("WV_TIMELINE"); t && *t) {
        timeline_ = true;
        timelineLine("start-video");
    }
    // Signals are ours (they end the program in order), not SDL's quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The window surface is the system's own shared-memory image; SDL would otherwise start GL just to
    // see whether a texture could stand in for it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const bool driverAsked = asked && *asked;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        throw NoDisplayError(noDisplay(std::string("SDL: ") + SDL_GetError()));
    // Without a display SDL falls back to drivers that show nothing: a window nobody can see or close.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (!driverAsked && (driver == "offscreen" || driver == "dummy")) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        throw NoDisplayError(noDisplay("SDL ma tylko sterownik " + driver));
    }
    Uint32 flags = SDL_WINDOW_HIDDEN;
    Size output;
    if (window) {
        output = *window;
    } else {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) throw sdlError("cannot read the desktop size");
        output = {mode.w, mode.h};
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    scale_ = scale ? ScreenScale::fit(output) : ScreenScale::none(output);
    map_.prepare(scale_.screen, scale_.target);
    window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, output.width,
                               output.height, flags);
    if (!window_) throw sdlError("cannot open the window");
    wakeEvent_ = SDL_RegisterEvents(1);
    SDL_StartTextInput();
}

SdlBackend::~SdlBackend() {
    for (auto& [id, c] : cursors_)
        SDL_FreeCursor(c);
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

void SdlBackend::pollEvents(Application& app) {
    SDL_Event e;
    while (SDL_PollEvent(&e))
        translate(e, app);
}

void SdlBackend::waitEvents(Application& app, std::int64_t timeoutMs) {
    SDL_Event e;
    const int timeout = timeoutMs < 0 ? -1 : int(std::min<std::int64_t>(timeoutMs, INT_MAX));
    if (timeout == 0) return pollEvents(app);
    int got = 0;
    {
        signals::Blocking waiting;
        got = SDL_WaitEventTimeout(&e, timeout);
    }
    if (got) {
        translate(e, app);
        pollEvents(app);
    }
}

void SdlBackend::translate(const SDL_Event& e, Application& app) {
    using T = InputEvent::Type;
    InputEvent ev;
    ev.keys = modifiers(SDL_GetModState());
    switch (e.type) {
    case SDL_QUIT:
        ev.type = T::Quit;
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            minimised_ = true;
            return;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_MAXIMIZED:
            minimised_ = false;
            return;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            minimised_ = false;
            redrawAll_ = true;
            break;
        default:
            return;
        }
        ev.type = T::Expose;
        break;
    case SDL_MOUSEMOTION:
        ev.type = T::MouseMove;
        mouse_ = toScreen(e.motion.x, e.motion.y);
        ev.x = mouse_.x, ev.y = mouse_.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        ev.type = e.type == SDL_MOUSEBUTTONDOWN ? T::MouseDown : T::MouseUp;
        ev.button = buttonOf(e.button.button);
        if (ev.button == MouseButton::None) return;
        mouse_ = toScreen(e.button.x, e.button.y);
        ev.x = mouse_.x, ev.y = mouse_.y;
        ev.clicks = e.button.clicks;
        break;
    case SDL_MOUSEWHEEL:
        ev.type = T::Wheel;
        ev.x = mouse_.x, ev.y = mouse_.y;
        ev.value = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (ev.value == 0) return;
        break;
    case SDL_TEXTINPUT:
        ev.type = T::Text;
        ev.text = e.text.text;
        break;
    case SDL_DROPFILE:
        if (!e.drop.file) return;
        ev.type = T::DropFile;
        ev.text = e.drop.file;
        SDL_free(e.drop.file);
        // X11 reports no pointer motion while a file is dragged in: ask where it is now.
        {
            int wx = 0, wy = 0;
            SDL_GetMouseState(&wx, &wy);
            mouse_ = toScreen(wx, wy);
        }
        ev.x = mouse_.x, ev.y = mouse_.y;
        break;
    case SDL_KEYDOWN: {
        ev.keys = modifiers(e.key.keysym.mod);
        const SDL_Keycode k = e.key.keysym.sym;
        auto key = [&](Key v) { ev.type = T::KeyDown, ev.key = v; };
        switch (k) {
        case SDLK_ESCAPE:
            ev.type = T::Char, ev.value = 27;
            break;
        case SDLK_BACKSPACE:
            ev.type = T::Char, ev.value = 8;
            break;
        case SDLK_TAB:
            ev.type = T::Char, ev.value = 9;
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            ev.type = T::Char, ev.value = 13;
            break;
        case SDLK_LEFT:
            key(Key::Left);
            break;
        case SDLK_RIGHT:
            key(Key::Right);
            break;
        case SDLK_UP:
            key(Key::Up);
            break;
        case SDLK_DOWN:
            key(Key::Down);
            break;
        case SDLK_HOME:
            key(Key::Home);
            break;
        case SDLK_END:
            key(Key::End);
            break;
        case SDLK_DELETE:
            key(Key::Delete);
            break;
        case SDLK_INSERT:
            key(Key::Insert);
            break;
        case SDLK_PAGEUP:
            key(Key::PageUp);
            break;
        case SDLK_PAGEDOWN:
            key(Key::PageDown);
            break;
        case SDLK_F1:
            key(Key::F1);
            break;
        default:
            return; // printable keys arrive as text
        }
        break;
    }
    default:
        return;
    }
    app.queueInput(std::move(ev));
}

void SdlBackend::present(const Bitmap& screen, std::span<const Rect> dirty) {
    if (dirty.empty()) return;
    if (!shown_) {
        // Shown once, with its title in place, when there is something to show.
        SDL_ShowWindow(window_);
        shown_ = true;
    }
    if (minimised_) {
        redrawAll_ = true;
        return;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) return;
    const Size output{surface->w, surface->h};
    if (surface != surface_ || output != scale_.output) {
        // A new or resized surface: the virtual screen keeps its size and is fitted in again.
        surface_ = surface;
        if (output != scale_.output) {
            scale_.output = output;
            scale_.target = placed(scale_.screen, output);
            map_.prepare(scale_.screen, scale_.target);
        }
        redrawAll_ = true;
    }
    const bool direct = surface->format->format == SDL_PIXELFORMAT_RGB888 ||
                        surface->format->format == SDL_PIXELFORMAT_ARGB8888;
    if (!direct && staging_.size() != output)
        staging_ = Bitmap(output.width, output.height, PixelFormat::Bgra32);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    updated_.clear();
    const bool whole = redrawAll_;
    redrawAll_ = false;
    if (whole) {
        // The margins beside the screen are black.
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        if (!direct) staging_.fill(0);
        draw(surface, screen, Rect::fromSize(0, 0, scale_.screen.width, scale_.screen.height));
        updated_.push_back({0, 0, output.width, output.height});
    } else {
        for (const Rect& r : dirty) {
            const Rect out = draw(surface, screen, r);
            if (!out.empty()) updated_.push_back({out.left, out.top, out.width(), out.height()});
        }
    }
    if (!direct)
        for (const SDL_Rect& u : updated_)
            SDL_ConvertPixels(
                u.w, u.h, SDL_PIXELFORMAT_ARGB8888, staging_.scanline(u.y) + std::size_t(u.x) * 4,
                staging_.stride(), surface->format->format,
                static_cast<std::uint8_t*>(surface->pixels) + std::size_t(u.y) * surface->pitch +
                    std::size_t(u.x) * surface->format->BytesPerPixel,
                surface->pitch);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (whole)
        SDL_UpdateWindowSurface(window_);
    else if (!updated_.empty())
        SDL_UpdateWindowSurfaceRects(window_, updated_.data(), int(updated_.size()));
    if (timelinePresent_) {
        timelinePresent_ = false;
        timelineLine("presented");
    }
}

void SdlBackend::log(std::string_view line) {
    if (!timeline_ || (!line.starts_with("form-shown ") && !line.starts_with("form-hidden "))) return;
    timelineLine(std::string(line));
    timelinePresent_ = true;
}

Rect SdlBackend::draw(SDL_Surface* surface, const Bitmap& screen, const Rect& r) {
    const Rect part = r.intersect(Rect::fromSize(0, 0, screen.width(), screen.height()));
    if (part.empty()) return {};
    const bool direct = staging_.empty();
    std::uint8_t* pixels = direct ? static_cast<std::uint8_t*>(surface->pixels) : staging_.scanline(0);
    const std::ptrdiff_t pitch = direct ? surface->pitch : staging_.stride();
    const Size size{surface->w, surface->h};
    if (scale_.target.width() == screen.width() && scale_.target.height() == screen.height()) {
        const Rect out = part.offset(scale_.target.left, scale_.target.top)
                             .intersect(Rect::fromSize(0, 0, size.width, size.height));
        for (int y = out.top; y < out.bottom; ++y)
            rows::copyBytes(pixels + std::ptrdiff_t(y) * pitch + std::ptrdiff_t(out.left) * 4,
                            screen.scanline(y - scale_.target.top) +
                                std::size_t(out.left - scale_.target.left) * 4,
                            std::size_t(out.width()) * 4);
        return out;
    }
    const Rect out = map_.outputOf(part).intersect(Rect::fromSize(0, 0, size.width, size.height));
    map_.apply(screen, pixels, pitch, size, out);
    return out;
}

void SdlBackend::blockFor(int ms) {
    signals::Blocking waiting;
    if (ms > 0) SDL_Delay(Uint32(ms));
}

MessageResult SdlBackend::messageBox(std::string_view text, std::string_view title, MessageIcon icon,
                                     MessageButtons buttons) {
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if (icon == MessageIcon::Error)
        flags = SDL_MESSAGEBOX_ERROR;
    else if (icon == MessageIcon::Warning)
        flags = SDL_MESSAGEBOX_WARNING;
    const int enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, esc = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    std::vector<SDL_MessageBoxButtonData> b;
    MessageResult closed = MessageResult::Ok;
    switch (buttons) {
    case MessageButtons::Ok:
        b = {{Uint32(enter | esc), int(MessageResult::Ok), "OK"}};
        break;
    case MessageButtons::OkCancel:
        b = {{Uint32(enter), int(MessageResult::Ok), "OK"},
             {Uint32(esc), int(MessageResult::Cancel), "Anuluj"}};
        closed = MessageResult::Cancel;
        break;
    case MessageButtons::YesNo:
        b = {{Uint32(enter), int(MessageResult::Yes), "Tak"}, {Uint32(esc), int(MessageResult::No), "Nie"}};
        closed = MessageResult::No;
        break;
    case MessageButtons::YesNoCancel:
        b = {{Uint32(enter), int(MessageResult::Yes), "Tak"},
             {0, int(MessageResult::No), "Nie"},
             {Uint32(esc), int(MessageResult::Cancel), "Anuluj"}};
        closed = MessageResult::Cancel;
        break;
    }
    // An X server refuses a box wider than the screen or with megabytes of text: fitted, it always shows.
    const std::string t(fitMessageText(title, 72, 1)), m(fitMessageText(text));
    // A hidden window makes a poor owner: the box would belong to nothing on screen.
    const SDL_MessageBoxData data{
        flags, shown_ ? window_ : nullptr, t.c_str(), m.c_str(), int(b.size()), b.data(), nullptr};
    int chosen = -1;
    int shownBox = 0;
    {
        // The box runs its own loop; a signal meanwhile is dealt with from the signal thread.
        signals::Blocking waiting;
        shownBox = SDL_ShowMessageBox(&data, &chosen);
    }
    if (shownBox != 0) {
        // Told on stderr instead, the run goes on as if the default (Enter) button had been pressed.
        writeToStderr(title, text);
        return static_cast<MessageResult>(b.front().buttonid);
    }
    if (chosen < 0) return closed;
    return static_cast<MessageResult>(chosen);
}

SDL_Cursor* SdlBackend::cursorFor(CursorId id) {
    if (auto it = cursors_.find(id); it != cursors_.end()) return it->second;
    SDL_Cursor* c = nullptr;
    if (id == kCursorHand)
        c = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    else if (id == kCursorIBeam)
        c = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);
    else if (const CursorImage* img = cursorImage(id)) {
        // The picture grows with the screen; if the system refuses the larger one, the original does.
        if (scale_.scaled()) {
            const CursorImage big = scaledCursor(*img, scale_);
            c = colorCursor(big.image, big.hotSpot);
        }
        if (!c) c = colorCursor(img->image, img->hotSpot);
    }
    if (!c) c = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    cursors_[id] = c;
    return c;
}

void SdlBackend::setCursor(CursorId cursor) {
    if (SDL_Cursor* c = cursorFor(cursor)) SDL_SetCursor(c);
}

void SdlBackend::setTitle(const std::string& title) {
    SDL_SetWindowTitle(window_, title.c_str());
}

void SdlBackend::minimize() {
    SDL_MinimizeWindow(window_);
}

void SdlBackend::raise() {
    if (!shown_) return;
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlBackend::warpMouse(Point p) {
    const Rect& t = scale_.target;
    const int sw = std::max(scale_.screen.width, 1), sh = std::max(scale_.screen.height, 1);
    SDL_WarpMouseInWindow(window_, t.left + int((std::int64_t(p.x) * 2 + 1) * t.width() / (2 * sw)),
                          t.top + int((std::int64_t(p.y) * 2 + 1) * t.height() / (2 * sh)));
}

void SdlBackend::wake() {
    SDL_Event e{};
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
}

} // namespace platform
