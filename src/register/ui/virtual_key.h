#pragma once

#include "register/key_map.h"

class QKeyEvent;

namespace pos {

// The key code the key map knows for the key of a key event (keypad keys apart from the
// main ones, a shifted symbol as the key that types it); 0 for a key without one.
int virtualKeyCode(const QKeyEvent& event);

// Which of Shift, Ctrl and Alt are held.
KeyModifiers keyModifiers(const QKeyEvent& event);

}  // namespace pos
