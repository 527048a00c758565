// SDL key codes to Windows virtual-key codes, and the key-state updates.
#include "platform/keys.h"

#include <SDL.h>

#include "platform/platform.h"

uint8_t virtual_key_of(int32_t keycode) {
    if (keycode >= SDLK_a && keycode <= SDLK_z) return uint8_t(KeyA + (keycode - SDLK_a));
    if (keycode >= SDLK_0 && keycode <= SDLK_9) return uint8_t(Key0 + (keycode - SDLK_0));
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return uint8_t(KeyF1 + (keycode - SDLK_F1));
    switch (keycode) {
    case SDLK_ESCAPE: return KeyEscape;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KeyEnter;
    case SDLK_SPACE: return KeySpace;
    case SDLK_BACKSPACE: return KeyBackspace;
    case SDLK_TAB: return KeyTab;
    case SDLK_LEFT: return KeyLeft;
    case SDLK_UP: return KeyUp;
    case SDLK_RIGHT: return KeyRight;
    case SDLK_DOWN: return KeyDown;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return KeyShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return KeyControl;
    default: return 0;
    }
}

void record_key_event(int32_t keycode, bool down, bool altHeld) {
    const uint8_t key = virtual_key_of(keycode);
    if (key == 0) return;
    if (!down) {
        KeyState[key] = 0;
        return;
    }
    const bool systemKey = altHeld || keycode == SDLK_F10 || keycode == SDLK_LALT || keycode == SDLK_RALT;
    if (!systemKey) KeyState[key] = 1;
}

bool is_close_request(int32_t keycode, bool down, bool altHeld) { return down && altHeld && keycode == SDLK_F4; }
