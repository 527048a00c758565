// Key events into KeyState. Key codes are the SDL key codes, passed as plain
// integers so that callers (and tests) need no SDL header.
#pragma once

#include <cstdint>

// The Windows virtual-key code for an SDL key code, or 0 for keys without one.
uint8_t virtual_key_of(int32_t keycode);

// A press sets the key's entry to 1 (auto-repeat keeps it there), a release
// sets it to 0. System keys are not recorded as pressed: F10, Alt itself and
// any key pressed while Alt is held. A release always clears, so a key let go
// while Alt is down never sticks.
void record_key_event(int32_t keycode, bool down, bool altHeld);

// True for the key combination that asks to close the window (Alt+F4); it is
// handled by the program so that it works without a window manager too.
bool is_close_request(int32_t keycode, bool down, bool altHeld);
