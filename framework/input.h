#pragma once
// Keyboard tables, input queries, and the framework's small text, list,
// array and number helpers.
//
// The shell's event pump writes key-down, key-up and character events into
// the tables below (through KeyTableDown / KeyTableUp / KeyTableChar); every
// key query of the framework and the game reads them.  InputMode 1 switches
// the queries to the platform's polled input instead (while the error panel
// waits).  Key codes are Windows virtual-key codes 0..255; any other code
// reads as "not hit, not down" and is never stored.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/core/list.h"
#include "platform/core/object.h"
#include "platform/io/stream.h"

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

// --- text and paths -------------------------------------------------------------
std::string EmptyString();
std::string QuoteString(const std::string& text);
std::string EnsureTrailingSlash(const std::string& path);
std::string StringBefore(const std::string& text, const std::string& separator);
std::string StringAfter(const std::string& text, const std::string& separator);
std::string StringBeforeComma(const std::string& text);
std::string PopToken(std::string& text, const std::string& separator);
std::string SafeMidString(const std::string& text, int start, int length);  // 1-based start
std::string PadLeft(const std::string& text, int width, const std::string& fill = " ");
std::string PadLeftWith(const std::string& text, int width, const std::string& fill);
std::string PadLeftZeros(const std::string& text, int width);
std::string SignedIntText(int n);
std::string FormatFixed(double x, int decimals);
std::string FormatNumberGrouped(double value, int decimals, int group, int width);
std::vector<std::string> SplitLines(const std::string& text);
void SplitMinutesSeconds(int milliseconds, int& minutes, int& seconds);
std::string TimeTo12Hour(const std::string& time);
std::string MonthNameFrench(const std::string& month);
std::string MonthNameGerman(const std::string& month);
std::string MonthNameSpanish(const std::string& month);
std::string DateInFrench(const std::string& date);
std::string DateInGerman(const std::string& date);
std::string DateInSpanish(const std::string& date);

// --- line and array helpers -------------------------------------------------------
std::vector<std::string> ReadLinesUntilSection(const plat::Ref<plat::TStream>& stream,
                                               std::string& header);
std::vector<std::string> ReadSectionLines(const std::vector<std::string>& lines, int& index);
std::string ReadTwoLines(const plat::Ref<plat::TStream>& stream, std::string& second);
std::string NextArrayString(const std::vector<std::string>& lines, int& index);
// Reports "[" + name + "] header hot found" (ending the program) when the
// upper-cased line is not "[" + name + "]".
void CheckIniHeader(const std::string& name, const std::string& line);
// Elements first..last (last -1: to the end) into target.
void CopyArrayRange(const std::vector<std::string>& source, std::vector<std::string>& target,
                    int first, int last);
std::vector<std::string> ArrayRemoveRange(const std::vector<std::string>& lines, int first,
                                          int last);
void SortArray(std::vector<std::string>& lines, bool ascending);

template <class T>
int AppendList(plat::TList<T>* target, const plat::TList<T>* source) {
    if (!target || !source || source->IsEmpty()) return 0;
    for (const auto& v : source->ToArray())
        if (v) target->AddLast(v);
    return 1;
}

template <class T>
int ListIndexOf(const plat::TList<T>& list, const plat::Ref<T>& value) {
    int i = 0;
    for (const auto& v : list) {
        if (!v) continue;
        if (v == value) return i;
        ++i;
    }
    return -1;
}

// Position of the first entry whose name (its `name` or `Name` field) equals
// the text, -1 when none.
template <class T>
int ListIndexOfName(const plat::TList<T>& list, const std::string& text) {
    int i = 0;
    for (const auto& v : list) {
        if (v) {
            if constexpr (requires { v->name; }) {
                if (v->name == text) return i;
            } else if constexpr (requires { v->Name; }) {
                if (v->Name == text) return i;
            }
        }
        ++i;
    }
    return -1;
}

// --- numbers -------------------------------------------------------------------
void ClampPercent(int& value);
int AbsLessThan(double value, double limit);
int RoundToInt(double x);
double RoundToDecimals(double x, int decimals);
int NextPowerOfTwo(int n);
// min + (C library random number mod (max - min + 1)); bounds in either order.
int RandRange(int min, int max);
void SeedRandRange(unsigned seed);
double Distance(double x1, double y1, double x2, double y2);
double LegFromHypotenuse(double hypotenuse, double leg);
int SegmentCircleOverlap(double x1, double y1, double x2, double y2, double cx, double cy,
                         double radius);
int PointInQuad(double px, double py, double x1, double y1, double x2, double y2, double x3,
                double y3, double x4, double y4);
int RectsIntersect(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                   double h2);
void BezierPoint(double sx, double sy, double ex, double ey, double c1x, double c1y, double c2x,
                 double c2y, double t, double& outX, double& outY);
int LerpIndex(double a, double b, int count, int forward);
double MillisPerFrame(double hertz);
double PanFromScreenX(double x);
double ScreenBottomOffset(double a, double b);
double SemitoneRatio(double n);
double ScaleDegreeRatio(int degree);
double SigmoidCurve(double x);
int CalcAnimLengthSeconds(double seconds);
void StopChannelSafe(const plat::Ref<plat::TChannel>& channel);
int ReturnFalse();
void NoOp();

}  // namespace fw
