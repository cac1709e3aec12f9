// The SDL main window and the translation of its events.
#include "platform/sdl/sdl_window.h"

#include <cstdio>

#include "platform/keyboard.h"
#include "platform/messages.h"

namespace platform {

namespace {

intptr_t PackPoint(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(x) & 0xFFFF) |
                                 ((static_cast<uint32_t>(y) & 0xFFFF) << 16));
}

} // namespace

int VirtualKeyFromSdl(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
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
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
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
    return std::unique_ptr<SdlWindow>(new SdlWindow(std::move(window)));
}

void SdlWindow::Show() {
    SDL_ShowWindow(window_.get());
    SDL_RaiseWindow(window_.get());
}

void SdlWindow::SetClientSize(int width, int height) {
    SDL_SetWindowSize(window_.get(), width, height);
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
            TheKeyboard().ReleaseAll();
            shiftsHeld_ = 0;
            break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        bool down = event.type == SDL_KEYDOWN;
        SDL_Keycode sym = event.key.keysym.sym;
        int vk = VirtualKeyFromSdl(sym);
        if (vk == 0) break;
        bool held = down;
        if (vk == VK_SHIFT) {
            // Both shift keys are one virtual key: it is up when neither is held.
            uint8_t bit = sym == SDLK_LSHIFT ? 1 : 2;
            shiftsHeld_ = down ? (shiftsHeld_ | bit) : (shiftsHeld_ & ~bit);
            held = shiftsHeld_ != 0;
        }
        TheKeyboard().SetKey(vk, held);
        PostMessage({down ? WM_KEYDOWN : WM_KEYUP, static_cast<uintptr_t>(vk), 0});
        break;
    }
    case SDL_MOUSEMOTION:
        PostMessage({WM_MOUSEMOVE, 0, PackPoint(event.motion.x, event.motion.y)});
        break;
    }
}

} // namespace platform
