// Game pads through SDL's game-controller interface.
#include "platform/sdl/sdl_pads.h"

namespace platform {

namespace {

// A stick direction is held beyond half way and let go under a quarter (no flicker at the
// edge); a trigger is held beyond half way.
constexpr int kStickOn = 16384, kStickOff = 8192, kTriggerOn = 16384;

int PadInputOf(uint8_t button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return kPadSouth;
    case SDL_CONTROLLER_BUTTON_B:
        return kPadEast;
    case SDL_CONTROLLER_BUTTON_X:
        return kPadWest;
    case SDL_CONTROLLER_BUTTON_Y:
        return kPadNorth;
    case SDL_CONTROLLER_BUTTON_BACK:
        return kPadSelect;
    case SDL_CONTROLLER_BUTTON_START:
        return kPadStart;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK:
        return kPadLeftStick;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
        return kPadRightStick;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return kPadLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return kPadRightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return kPadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return kPadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return kPadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return kPadRight;
    default:
        return -1;
    }
}

// One stick axis as two direction bits, with the hysteresis above.
uint32_t StickBits(uint32_t bits, int value, int negative, int positive) {
    const uint32_t neg = 1u << negative, pos = 1u << positive;
    if (value <= -kStickOn)
        bits = (bits | neg) & ~pos;
    else if (value >= kStickOn)
        bits = (bits | pos) & ~neg;
    else if (value > -kStickOff && value < kStickOff)
        bits &= ~(neg | pos);
    return bits;
}

} // namespace

SdlPads::SdlPads() {
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlPads::~SdlPads() {
    for (int slot = 0; slot < kMaxPads; ++slot)
        if (pads_[slot].controller) Remove(pads_[slot].id);
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int SdlPads::SlotOf(SDL_JoystickID id) const {
    for (int slot = 0; slot < kMaxPads; ++slot)
        if (pads_[slot].controller && pads_[slot].id == id) return slot;
    return -1;
}

int SdlPads::Connected() const {
    int n = 0;
    for (const Pad& p : pads_) n += p.controller != nullptr;
    return n;
}

void SdlPads::Add(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    int free = -1;
    for (int slot = kMaxPads - 1; slot >= 0; --slot)
        if (!pads_[slot].controller) free = slot;
    if (SlotOf(id) >= 0 || free < 0) {
        // Already taken (SDL counts the second open), or more pads than slots.
        SDL_GameControllerClose(controller);
        return;
    }
    pads_[free] = Pad{controller, id, 0, 0, 0};
}

void SdlPads::Remove(SDL_JoystickID id) {
    int slot = SlotOf(id);
    if (slot < 0) return;
    SDL_GameControllerClose(pads_[slot].controller);
    pads_[slot] = Pad{};
    TheInputMap().SetPad(slot, 0); // whatever it held is let go
}

void SdlPads::ReleaseAll() {
    for (int slot = 0; slot < kMaxPads; ++slot) {
        Pad& p = pads_[slot];
        p.buttons = p.stick = p.triggers = 0;
        TheInputMap().SetPad(slot, 0);
    }
}

void SdlPads::Report(int slot) {
    const Pad& p = pads_[slot];
    TheInputMap().SetPad(slot, p.buttons | p.stick | p.triggers);
}

bool SdlPads::Handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Add(event.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        Remove(event.cdevice.which);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        int slot = SlotOf(event.cbutton.which);
        int input = PadInputOf(event.cbutton.button);
        if (slot < 0 || input < 0) return true;
        uint32_t bit = 1u << input;
        Pad& p = pads_[slot];
        p.buttons = event.type == SDL_CONTROLLERBUTTONDOWN ? p.buttons | bit : p.buttons & ~bit;
        Report(slot);
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
        int slot = SlotOf(event.caxis.which);
        if (slot < 0) return true;
        Pad& p = pads_[slot];
        int value = event.caxis.value;
        switch (event.caxis.axis) {
        case SDL_CONTROLLER_AXIS_LEFTX:
            p.stick = StickBits(p.stick, value, kPadLeft, kPadRight);
            break;
        case SDL_CONTROLLER_AXIS_LEFTY: // down is positive
            p.stick = StickBits(p.stick, value, kPadUp, kPadDown);
            break;
        case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: {
            uint32_t bit =
                1u << (event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT ? kPadLeftTrigger
                                                                           : kPadRightTrigger);
            p.triggers = value >= kTriggerOn ? p.triggers | bit : p.triggers & ~bit;
            break;
        }
        default:
            break;
        }
        Report(slot);
        return true;
    }
    default:
        return false;
    }
}

} // namespace platform
