#pragma once
// The framework's small helpers for text, paths, lines, arrays, lists and
// numbers.

#include <functional>
#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/core/list.h"
#include "platform/core/object.h"
#include "platform/io/stream.h"

namespace fw {

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
