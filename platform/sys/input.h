#pragma once
// Polled input: keys by Windows virtual-key code, typed characters, the
// mouse in window pixels, joysticks.  The tables are kept up to date by the
// event pump; queries pump first.

#include <string>

namespace plat {

// Virtual-key codes the game names.
enum VirtualKey : int {
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_ENTER = 13, KEY_ESCAPE = 27, KEY_SPACE = 32,
    KEY_PAGEUP = 33, KEY_PAGEDOWN = 34, KEY_END = 35, KEY_HOME = 36,
    KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40,
    KEY_INSERT = 45, KEY_DELETE = 46,
    KEY_0 = 48, KEY_9 = 57, KEY_A = 65, KEY_N = 78, KEY_Y = 89, KEY_Z = 90,
    KEY_NUM0 = 96, KEY_NUM9 = 105, KEY_NUMMULTIPLY = 106, KEY_NUMADD = 107,
    KEY_NUMSUBTRACT = 109, KEY_NUMDECIMAL = 110, KEY_NUMDIVIDE = 111,
    KEY_F1 = 112, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8, KEY_F9, KEY_F10,
    KEY_F11, KEY_F12 = 123,
    KEY_LSHIFT = 160, KEY_RSHIFT = 161, KEY_LCONTROL = 162, KEY_RCONTROL = 163,
    KEY_LALT = 164, KEY_RALT = 165,
    KEY_SEMICOLON = 186, KEY_EQUALS = 187, KEY_COMMA = 188, KEY_MINUS = 189,
    KEY_PERIOD = 190, KEY_SLASH = 191, KEY_TILDE = 192,
    KEY_OPENBRACKET = 219, KEY_BACKSLASH = 220, KEY_CLOSEBRACKET = 221, KEY_QUOTES = 222,
};

// Presses since the last query of this key (codes outside 0..255 give 0).
int KeyHit(int key);
bool KeyDown(int key);
// The next typed character code, 0 when none.
int GetChar();
void FlushKeys();

int MouseHit(int button);  // 1 left, 2 right, 3 middle
bool MouseDown(int button);
int MouseX();  // window pixels
int MouseY();
int MouseZ();  // wheel position in notches
void FlushMouse();
// The pointer mapped into the virtual resolution (letterbox removed).
float VirtualMouseX();
float VirtualMouseY();

int JoyCount();
float JoyX(int port = 0);  // -1..1, negative is left
float JoyY(int port = 0);  // -1..1, negative is up
int JoyHit(int button, int port = 0);  // presses since the last call
bool JoyDown(int button, int port = 0);
std::string JoyName(int port = 0);

// --- test input ----------------------------------------------------------------
// Synthetic input that takes the same road as real window events: queue
// events, polled tables and hooks.
void SimulateKeyDown(int key, bool repeat = false);
void SimulateKeyUp(int key);
void SimulateKeyPress(int key);  // down then up
void SimulateChar(int code);
void SimulateMouseMove(int x, int y);
void SimulateMouseButton(int button, bool down);
void SimulateAppEvent(int id);  // EVENT_APPSUSPEND, EVENT_APPRESUME, EVENT_APPTERMINATE
// A key event put on the window system's own queue, named as the window
// system names keys ("Left Shift", "Keypad 5", "Q"; an empty keyName means
// the key's usual meaning, otherwise the layout's key such as "A"), so the
// whole road from the window system is taken.  False for unknown names.
bool SimulateSystemKey(const std::string& scancodeName, const std::string& keyName, bool down,
                       bool repeat = false);
// Typed text (UTF-8) on the window system's queue.
bool SimulateSystemText(const std::string& utf8);
// A virtual joystick (two axes, two buttons) for tests; returns its port.
int AttachVirtualJoystick();
// A virtual pad that the window system maps as a game controller, for tests:
// its raw buttons 0 and 1 are the controller's A and B, buttons 2 to 5 its
// D-pad up, down, left and right, its two axes the left stick.  Returns its
// port, -1 when no such device can be made.
int AttachVirtualController();
void DetachVirtualJoysticks();
void SetVirtualJoystickAxes(int port, float x, float y);
void SetVirtualJoystickButton(int port, int button, bool down);

}  // namespace plat
