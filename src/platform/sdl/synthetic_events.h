// Window events made up by tests and put into SDL's own event queue, so that they take the
// path of real ones (the window's translation into key states and messages).
#pragma once

namespace platform {

// A key of the game's virtual keys going down or up in the main window (false when the key
// has no SDL key or SDL's queue refused the event).
bool PushSyntheticKey(int vk, bool down);
// The main window losing the keyboard focus.
bool PushSyntheticFocusLoss();
// The main window's close button.
bool PushSyntheticClose();

} // namespace platform
