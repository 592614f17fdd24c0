// The pointer, button and key queries of the widget kit: the pointing
// device's logical position, fresh presses (down and not latched) and the
// latches that make one press act once.
#pragma once

// The pointer in logical 320x240 pixels.
int PointerX();
int PointerY();
// Button 0 left, 1 right: down and not latched.
bool ButtonPressed(int button);
void LatchButton(int button);
// Key by PC scan code: down and not latched.
bool KeyPressed(int key);
void LatchKey(int key);
// A fresh press of the key, latched; false when it is not freshly down.
bool TakeKey(int key);
// Held down, latched or not (a drag lasts while its button is held).
bool ButtonHeld(int button);
bool KeyHeld(int key);
// The key went down while a Control key was down, or a Control key went down
// while it was held: a Control chord by the order of the keys, however the
// frames saw them. Such a key is never read as the plain key.
bool KeyWithControl(int key);

// Scan codes the kit reads.
constexpr int kKeyEscape = 0x01;
constexpr int kKeyBackspace = 0x0E;
constexpr int kKeyI = 0x17;
constexpr int kKeyLeftShift = 0x2A;
constexpr int kKeyM = 0x32;
constexpr int kKeySpace = 0x39;
constexpr int kKeyLeft = 0xCB;
constexpr int kKeyRight = 0xCD;
