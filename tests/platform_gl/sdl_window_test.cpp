// The SDL window's events as messages and key states (the focus lost: the pad tests), and the
// audio output feeding the mixer.
#include <SDL2/SDL.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/mixer.h"
#include "platform/sdl/sdl_backend.h"
#include "support/env.h"

namespace {

using namespace platform;

class SdlWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        backend_ = CreateSdlBackend();
        window_ = backend_->CreateMainWindow("Tessarune test", 880, 480);
        if (!window_) GTEST_SKIP() << "no SDL video driver (set SDL_VIDEODRIVER=offscreen)";
        window_->PumpEvents();
        ResetMessages();
        TheKeyboard().ReleaseAll();
        for (int vk = 0; vk < 256; ++vk) TheKeyboard().Query(vk);
    }

    void TearDown() override { ResetMessages(); }

    static void Key(SDL_Keycode sym, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = sym;
        SDL_PushEvent(&e);
    }

    void WindowEvent(Uint8 event, int data1 = 0, int data2 = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = windowId();
        e.window.event = event;
        e.window.data1 = data1;
        e.window.data2 = data2;
        SDL_PushEvent(&e);
    }

    // The newest live window: the one this test made (SDL numbers windows upwards).
    static Uint32 windowId() {
        Uint32 newest = 0;
        for (Uint32 id = 1; id < 4096; ++id)
            if (SDL_GetWindowFromID(id)) newest = id;
        return newest;
    }

    // The messages posted by the events so far, as "message wParam lParam;" each.
    std::string Posted() {
        window_->PumpEvents();
        std::string out;
        for (Msg m; PeekMessage(&m) && GetMessage(&m) >= 0;) out += Text(m);
        return out;
    }
    static std::string Text(const Msg& m) {
        return std::to_string(m.message) + " " + std::to_string(m.wParam) + " " +
               std::to_string(m.lParam) + ";";
    }

    std::unique_ptr<Backend> backend_;
    std::unique_ptr<Window> window_;
};

TEST_F(SdlWindowTest, KeysBecomeVirtualKeysHeldAndPosted) {
    Key(SDLK_z, true);
    Key(SDLK_UP, true);
    Key(SDLK_KP_ENTER, true);
    Key(SDLK_F5, true); // no virtual key of the game
    EXPECT_EQ(Posted(), Text({WM_KEYDOWN, 'Z', 0}) + Text({WM_KEYDOWN, VK_UP, 0}) +
                            Text({WM_KEYDOWN, VK_RETURN, 0}));
    EXPECT_EQ(GetAsyncKeyState('Z'), static_cast<int16_t>(0x8001));
    EXPECT_TRUE(TheKeyboard().Held(VK_RETURN));
    Key(SDLK_z, false);
    EXPECT_EQ(Posted(), Text({WM_KEYUP, 'Z', 0}));
    EXPECT_EQ(GetAsyncKeyState('Z'), 0);

    // Shift is held while either shift key is.
    Key(SDLK_LSHIFT, true);
    Key(SDLK_RSHIFT, true);
    Key(SDLK_LSHIFT, false);
    Posted();
    EXPECT_TRUE(TheKeyboard().Held(VK_SHIFT));
    Key(SDLK_RSHIFT, false);
    Posted();
    EXPECT_FALSE(TheKeyboard().Held(VK_SHIFT));
}

TEST_F(SdlWindowTest, F11AndAltEnterToggleFullScreenAndTheGameNeverSeesThem) {
    ASSERT_FALSE(window_->FullScreen());
    Key(SDLK_F11, true);
    Key(SDLK_F11, false);
    EXPECT_EQ(Posted(), "");
    if (!window_->FullScreen()) GTEST_SKIP() << "the video driver has no full screen";
    int width = 0, height = 0;
    window_->WindowedSize(width, height);
    EXPECT_EQ(width, 880) << "the window's size is kept for when it comes back";
    EXPECT_EQ(height, 480);

    Key(SDLK_LALT, true);
    Key(SDLK_RETURN, true);
    Posted();
    EXPECT_FALSE(window_->FullScreen());
    EXPECT_FALSE(TheKeyboard().Held(VK_RETURN)) << "Alt+Enter is no Enter for the game";
    Key(SDLK_RETURN, false);
    Key(SDLK_LALT, false);
    Key(SDLK_RETURN, true); // without Alt it is the game's Enter again
    Posted();
    EXPECT_TRUE(TheKeyboard().Held(VK_RETURN));
    EXPECT_FALSE(window_->FullScreen());
}

TEST_F(SdlWindowTest, ClosingPostsOneDestroyAndMotionAndResizeArePosted) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 12;
    motion.motion.y = 34;
    SDL_PushEvent(&motion);
    WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1000, 600);
    WindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(Posted(), Text({WM_MOUSEMOVE, 0, 12 | 34 << 16}) +
                            Text({WM_SIZE, 0, 1000 | 600 << 16}) + Text({WM_DESTROY, 0, 0}));
}

// A looping buffer of silence whose play position shows whether the output pulls the mix.
bool MixerIsPulled(Backend& backend) {
    Mixer mixer;
    WaveFormat format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    BufferDesc desc;
    desc.dwBufferBytes = 176400;
    desc.lpwfxFormat = &format;
    SoundBufferPtr buffer;
    if (Failed(mixer.CreateSoundBuffer(desc, buffer))) return false;
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    if (!backend.StartSoundOutput(mixer)) return false;
    uint32_t play = 0, write = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (play == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        buffer->GetCurrentPosition(&play, &write);
    }
    backend.StopSoundOutput();
    return play != 0;
}

TEST(SdlAudioTest, OutputPullsTheMixerAndFallsBackToTheDummyDriver) {
    auto backend = CreateSdlBackend();
    EXPECT_TRUE(MixerIsPulled(*backend));

    Env driver("SDL_AUDIODRIVER", "no-such-driver");
    EXPECT_TRUE(MixerIsPulled(*backend)) << "no device opens: the dummy driver must";
}

} // namespace

TEST(SdlStartup, AVideoDriverThatCannotStartIsNamedOnStandardError) {
    Env driver("SDL_VIDEODRIVER", "nosuchdriver");
    auto backend = CreateSdlBackend();
    ::testing::internal::CaptureStderr();
    auto window = backend->CreateMainWindow("Tessarune test", 880, 480);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(window, nullptr);
    EXPECT_NE(said.find("video driver 'nosuchdriver'"), std::string::npos) << said;
}
