#pragma once
// Keyboard tables and input queries.
//
// The shell's event pump writes key-down, key-up and character events into
// the tables below (through KeyTableDown / KeyTableUp / KeyTableChar); every
// key query of the framework and the game reads them.  InputMode 1 switches
// the queries to the platform's polled input instead (while the error panel
// waits).  Key codes are Windows virtual-key codes 0..255; any other code
// reads as "not hit, not down" and is never stored.

#include <array>

namespace fw {

// --- input state ---------------------------------------------------------------
extern int InputMode;  // 0: own tables; 1: the platform's polled input
extern std::array<int, 256> KeyHitCounts;  // key-down events since last read as hit
extern std::array<int, 256> KeyDownFlags;  // 1 while held
extern std::array<int, 256> CharRing;      // typed characters in arrival order
extern int CharRingWrite;  // characters stored (slot = count AND 255)
extern int CharRingRead;   // characters taken
extern int MousePointerFlag;  // 1 while the window shows the pointer

// What the event pump does with each event (codes outside 0..255 ignored;
// a character is dropped while 256 are waiting).
void KeyTableDown(int key);
void KeyTableUp(int key);
void KeyTableChar(int code);

// --- keyboard ------------------------------------------------------------------
int KeyHitCode(int key);   // 1 once for any number of presses since the last read
int KeyDownCode(int key);
int GetCharQueued();       // 0 when none
int AnyKeyHit();           // consumes the first hit key found (codes 0..255)
int AnyKeyHitPending();    // 1 when some key's count is exactly 1; nothing reset
int FirstSingleKeyHit();   // lowest code whose count is exactly 1, -1 when none
void FlushKeyTables();
void ClearKeyState(int key);
int ControlKeyDown();
int ShiftKeyDown();

// --- mouse and input as a whole -----------------------------------------------
int AnyMouseHit();
int AnyMouseHitCount();
int AnyMouseDown();
int MouseButtonsDown();
int AnyInputHit();
void FlushMouseState();
void FlushInput();
// Polled input on, InputMode 1.
void UseFrameworkInput();
// Polled input off, InputMode 0, system messages processed once, pending
// events discarded.
void FlushAllInput();
// Takes one platform event: leaving the window shows the pointer, entering
// it hides it.
void PollMouseWindowEvent();
void WaitForAnyInput();
// 0 when ms milliseconds passed, -1 when a key or mouse button was hit first.
int WaitMillisOrInput(int ms);

}  // namespace fw
