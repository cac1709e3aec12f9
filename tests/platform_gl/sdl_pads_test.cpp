// Game pads through SDL, with SDL's virtual joysticks standing in for real pads: plugged in
// and out while the window runs, their buttons and sticks reach the game as virtual keys.
#include <SDL2/SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/input_map.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/sdl/sdl_backend.h"

namespace {

using namespace platform;

class SdlPadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The offscreen window never has the focus; pads must be heard all the same.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        backend_ = CreateSdlBackend();
        window_ = backend_->CreateMainWindow("Tessarune test", 880, 480);
        if (!window_) GTEST_SKIP() << "no SDL video driver (set SDL_VIDEODRIVER=offscreen)";
        // Any pad's west is X and its left trigger A; the first pad's up is G, the second's UP.
        TheInputMap().SetBindings({{{kPadBase + kPadWest, 'X', -1},
                                    {kPadBase + kPadLeftTrigger, 'A', -1},
                                    {kPadBase + kPadUp, 'G', 0},
                                    {kPadBase + kPadUp, VK_UP, 1},
                                    {kPadBase + kPadDown, VK_DOWN, -1},
                                    {'X', 'X', -1}}});
        TheInputMap().SetContext(0);
        Pump();
    }
    void TearDown() override {
        for (SDL_Joystick* j : sticks_)
            if (j) Unplug(j);
        window_.reset();
        TheInputMap().ReleaseAll();
        TheInputMap().SetBindings({});
        TheKeyboard().ReleaseAll();
        ResetMessages();
    }

    // Plugs in a virtual pad with the standard layout; returns its handle for setting inputs.
    SDL_Joystick* Plug() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
        int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* j = SDL_JoystickOpen(index);
        EXPECT_NE(j, nullptr) << SDL_GetError();
        sticks_.push_back(j);
        Pump();
        return j;
    }
    void Unplug(SDL_Joystick*& j) {
        SDL_JoystickID id = SDL_JoystickInstanceID(j);
        SDL_JoystickClose(j);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        j = nullptr;
        Pump();
    }
    void Button(SDL_Joystick* j, SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(j, b, down ? 1 : 0);
        Pump();
    }
    void Axis(SDL_Joystick* j, SDL_GameControllerAxis a, int value) {
        SDL_JoystickSetVirtualAxis(j, a, static_cast<Sint16>(value));
        Pump();
    }
    void Pump() {
        window_->PumpEvents();
        ResetMessages();
    }
    static bool Held(int vk) { return TheKeyboard().Held(vk); }

    std::unique_ptr<Backend> backend_;
    std::unique_ptr<Window> window_;
    std::vector<SDL_Joystick*> sticks_;
};

TEST_F(SdlPadTest, ButtonsSticksAndTriggersBecomeTheBoundKeys) {
    SDL_Joystick* pad = Plug();
    Button(pad, SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_TRUE(Held('X'));
    EXPECT_EQ(GetAsyncKeyState('X'), static_cast<int16_t>(0x8001));
    Button(pad, SDL_CONTROLLER_BUTTON_X, false);
    EXPECT_FALSE(Held('X'));

    // The left stick is the d-pad: held beyond half way, let go under a quarter.
    Axis(pad, SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_TRUE(Held(VK_DOWN));
    Axis(pad, SDL_CONTROLLER_AXIS_LEFTY, 12000);
    EXPECT_TRUE(Held(VK_DOWN)) << "no flicker at the edge";
    Axis(pad, SDL_CONTROLLER_AXIS_LEFTY, 2000);
    EXPECT_FALSE(Held(VK_DOWN));
    Axis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    EXPECT_TRUE(Held('A'));
    Axis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0);
    EXPECT_FALSE(Held('A'));
}

TEST_F(SdlPadTest, APadUnpluggedWhileHoldingLetsGoButAKeyboardKeyStaysHeld) {
    SDL_Joystick* pad = Plug();
    Button(pad, SDL_CONTROLLER_BUTTON_X, true);
    Button(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_x;
    SDL_PushEvent(&key);
    Pump();
    ASSERT_TRUE(Held('X') && Held(VK_DOWN));
    Unplug(sticks_[0]);
    EXPECT_FALSE(Held(VK_DOWN)) << "no stuck key";
    EXPECT_TRUE(Held('X')) << "the keyboard still holds X";
    key.type = SDL_KEYUP;
    SDL_PushEvent(&key);
    Pump();
    EXPECT_FALSE(Held('X'));

    // Plugged in again, it is taken at once.
    pad = Plug();
    Button(pad, SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_TRUE(Held('X'));
}

TEST_F(SdlPadTest, TwoPadsAreTheFirstAndSecondSlotsAndAFreedSlotIsTakenAgain) {
    SDL_Joystick* first = Plug();
    SDL_Joystick* second = Plug();
    Button(first, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_TRUE(Held('G'));
    EXPECT_FALSE(Held(VK_UP));
    Button(second, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_TRUE(Held(VK_UP));
    Button(first, SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_FALSE(Held('G'));
    EXPECT_TRUE(Held(VK_UP));

    // The first pad leaves; the next pad plugged in plays the first slot, the second stays.
    Unplug(sticks_[0]);
    SDL_Joystick* third = Plug();
    Button(third, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_TRUE(Held('G'));
    Button(second, SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_FALSE(Held(VK_UP));
    EXPECT_TRUE(Held('G'));
}

TEST_F(SdlPadTest, FocusLossLetsGoOfPadsAndKeys) {
    SDL_Joystick* pad = Plug();
    Button(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_x;
    SDL_PushEvent(&e);
    Pump();
    ASSERT_TRUE(Held(VK_DOWN) && Held('X'));
    e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    for (Uint32 id = 1; id < 4096; ++id)
        if (SDL_GetWindowFromID(id)) e.window.windowID = id;
    SDL_PushEvent(&e);
    Pump();
    EXPECT_FALSE(Held(VK_DOWN) || Held('X'));
}

} // namespace
