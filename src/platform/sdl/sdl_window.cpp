// The SDL main window and the translation of its events.
#include "platform/sdl/sdl_window.h"

#include <cstdio>

#include "platform/input_map.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/sdl/synthetic_events.h"

namespace platform {

namespace {

Uint32 g_mainWindowId = 0; // the last window made, the one synthetic events go to

intptr_t PackPoint(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(x) & 0xFFFF) |
                                 ((static_cast<uint32_t>(y) & 0xFFFF) << 16));
}

} // namespace

int VirtualKeyFromSdl(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
    switch (key) {
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_END:
        return VK_END;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_COMMA:
        return VK_OEM_COMMA;
    case SDLK_PERIOD:
        return VK_OEM_PERIOD;
    case SDLK_SLASH:
        return VK_OEM_2;
    case SDLK_SEMICOLON:
        return VK_OEM_1;
    case SDLK_MINUS:
        return VK_OEM_MINUS;
    case SDLK_EQUALS:
        return VK_OEM_PLUS;
    case SDLK_KP_0:
        return VK_NUMPAD0;
    default:
        return 0;
    }
}

std::unique_ptr<SdlWindow> SdlWindow::Create(const std::string& title, int width, int height) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        const char* driver = SDL_getenv("SDL_VIDEODRIVER");
        std::fprintf(stderr, "tessarune: cannot start the video driver%s%s%s: %s\n",
                     driver ? " '" : "", driver ? driver : "", driver ? "'" : "", SDL_GetError());
        return nullptr;
    }
    // The game draws straight into a window of its picture's size: the window's buffers are
    // the picture's own (8-bit colour, no alpha, 24-bit depth).
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_Window* raw = SDL_CreateWindow(
        title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
        SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!raw) {
        std::fprintf(stderr, "tessarune: cannot open the game window: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return nullptr;
    }
    std::shared_ptr<SDL_Window> window(raw, [](SDL_Window* w) {
        SDL_DestroyWindow(w);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    });
    g_mainWindowId = SDL_GetWindowID(raw);
    return std::unique_ptr<SdlWindow>(new SdlWindow(std::move(window), width, height));
}

SdlWindow::~SdlWindow() {
    TheInputMap().ReleaseKeyboard();
}

bool PushSyntheticKey(int vk, bool down) {
    SDL_Keycode sym = SDLK_UNKNOWN;
    if (vk >= 'A' && vk <= 'Z') sym = SDLK_a + (vk - 'A');
    for (SDL_Keycode named :
         {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_LSHIFT, SDLK_RETURN, SDLK_ESCAPE})
        if (sym == SDLK_UNKNOWN && VirtualKeyFromSdl(named) == vk) sym = named;
    if (sym == SDLK_UNKNOWN) return false;
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = g_mainWindowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
    return SDL_PushEvent(&event) == 1;
}

namespace {
bool PushWindowEvent(SDL_WindowEventID what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = g_mainWindowId;
    event.window.event = static_cast<Uint8>(what);
    return SDL_PushEvent(&event) == 1;
}
} // namespace

bool PushSyntheticFocusLoss() {
    return PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
}

bool PushSyntheticClose() {
    return PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
}

void SdlWindow::Show() {
    SDL_ShowWindow(window_.get());
    SDL_RaiseWindow(window_.get());
}

void SdlWindow::SetClientSize(int width, int height) {
    SDL_SetWindowSize(window_.get(), width, height);
    windowedWidth_ = width;
    windowedHeight_ = height;
}

void SdlWindow::SetFullScreen(bool on) {
    if (on == FullScreen()) return;
    if (on) SDL_GetWindowSize(window_.get(), &windowedWidth_, &windowedHeight_);
    SDL_SetWindowFullscreen(window_.get(), on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool SdlWindow::FullScreen() const {
    return (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN) != 0;
}

void SdlWindow::WindowedSize(int& width, int& height) const {
    width = windowedWidth_;
    height = windowedHeight_;
    if (!FullScreen()) SDL_GetWindowSize(window_.get(), &width, &height);
}

void SdlWindow::PumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) Translate(event);
}

void SdlWindow::ShowCursor(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::SetCursorPos(int x, int y) {
    SDL_WarpMouseInWindow(window_.get(), x, y);
}

void SdlWindow::Translate(const SDL_Event& event) {
    if (pads_.Handle(event)) return;
    switch (event.type) {
    case SDL_QUIT:
        if (!destroyed_) PostMessage({WM_DESTROY, 0, 0});
        destroyed_ = true;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.windowID != SDL_GetWindowID(window_.get())) break;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (!destroyed_) PostMessage({WM_DESTROY, 0, 0});
            destroyed_ = true;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            PostMessage({WM_SIZE, 0, PackPoint(event.window.data1, event.window.data2)});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            TheInputMap().ReleaseKeyboard();
            pads_.ReleaseAll();
            TheKeyboard().ReleaseAll();
            shiftsHeld_ = ctrlsHeld_ = altsHeld_ = 0;
            break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key);
        break;
    case SDL_MOUSEMOTION:
        PostMessage({WM_MOUSEMOVE, 0, PackPoint(event.motion.x, event.motion.y)});
        break;
    }
}

void SdlWindow::TranslateKey(const SDL_KeyboardEvent& key) {
    bool down = key.type == SDL_KEYDOWN;
    SDL_Keycode sym = key.keysym.sym;
    // F11 and Alt+Enter switch between full screen and the window; the game never sees them.
    bool toggle = sym == SDLK_F11 || ((sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && altsHeld_);
    if (toggle) {
        if (down && !key.repeat) SetFullScreen(!FullScreen());
        return;
    }
    int vk = VirtualKeyFromSdl(sym);
    if (vk == 0) return;
    bool held = down;
    uint8_t* sides = vk == VK_SHIFT     ? &shiftsHeld_
                     : vk == VK_CONTROL ? &ctrlsHeld_
                     : vk == VK_MENU    ? &altsHeld_
                                        : nullptr;
    if (sides) {
        // Both keys of a pair are one virtual key: it is up when neither is held.
        uint8_t bit = sym == SDLK_LSHIFT || sym == SDLK_LCTRL || sym == SDLK_LALT ? 1 : 2;
        *sides = down ? (*sides | bit) : (*sides & ~bit);
        held = *sides != 0;
    }
    TheInputMap().SetPhysicalKey(vk, held);
    PostMessage({down ? WM_KEYDOWN : WM_KEYUP, static_cast<uintptr_t>(vk), 0});
}

} // namespace platform
