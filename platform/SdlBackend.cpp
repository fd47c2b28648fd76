#include "SdlBackend.hpp"

#include "Application.hpp"
#include "Bitmap.hpp"
#include "Error.hpp"

#include <SDL.h>

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

} // namespace

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
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
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
    const Size size = scale_.screen;
    window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, output.width,
                               output.height, flags);
    if (!window_) throw sdlError("cannot open the window");
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) throw sdlError("cannot draw in the window");
    // The renderer maps the virtual screen onto the window, keeping its aspect, and maps the pointer
    // back; the virtual screen keeps its size whatever the window manager makes of the window.
    SDL_RenderSetLogicalSize(renderer_, size.width, size.height);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, size.width,
                                 size.height);
    if (!texture_) throw sdlError("cannot make the screen texture");
    SDL_SetTextureScaleMode(texture_, scale_.scaled() ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    wakeEvent_ = SDL_RegisterEvents(1);
    SDL_StartTextInput();
}

SdlBackend::~SdlBackend() {
    for (auto& [id, c] : cursors_)
        SDL_FreeCursor(c);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
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
    if (SDL_WaitEventTimeout(&e, timeout)) {
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
        if (e.window.event != SDL_WINDOWEVENT_EXPOSED && e.window.event != SDL_WINDOWEVENT_SIZE_CHANGED &&
            e.window.event != SDL_WINDOWEVENT_RESTORED)
            return;
        ev.type = T::Expose;
        break;
    case SDL_MOUSEMOTION:
        ev.type = T::MouseMove;
        ev.x = mouse_.x = e.motion.x;
        ev.y = mouse_.y = e.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        ev.type = e.type == SDL_MOUSEBUTTONDOWN ? T::MouseDown : T::MouseUp;
        ev.button = buttonOf(e.button.button);
        if (ev.button == MouseButton::None) return;
        ev.x = mouse_.x = e.button.x;
        ev.y = mouse_.y = e.button.y;
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
        // Shown once, with its title and renderer in place, when there is something to show.
        SDL_ShowWindow(window_);
        shown_ = true;
    }
    for (const Rect& r : dirty) {
        if (r.empty()) continue;
        const SDL_Rect sr{r.left, r.top, r.width(), r.height()};
        SDL_UpdateTexture(texture_, &sr, screen.scanline(r.top) + std::size_t(r.left) * 4, screen.stride());
    }
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void SdlBackend::blockFor(int ms) {
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
    const std::string t(title), m(text);
    // A hidden window makes a poor owner: the box would belong to nothing on screen.
    const SDL_MessageBoxData data{
        flags, shown_ ? window_ : nullptr, t.c_str(), m.c_str(), int(b.size()), b.data(), nullptr};
    int chosen = -1;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) {
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
    int wx = p.x, wy = p.y;
    SDL_RenderLogicalToWindow(renderer_, float(p.x), float(p.y), &wx, &wy);
    SDL_WarpMouseInWindow(window_, wx, wy);
}

void SdlBackend::wake() {
    SDL_Event e{};
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
}

} // namespace platform
