#pragma once
// A calendar value: date and time of day in six Int fields, with arithmetic
// by unit letter ("Y" years, "M" months, "D" days, "H" hours, "N" minutes,
// "S" seconds), differences, weekday, day numbers and formatting by a pattern
// of repeated letters.

#include <array>
#include <string>

#include "platform/core/object.h"

namespace fw {

// Name tables, a row per language (0 English, 1 French).
extern const std::array<std::array<std::string, 12>, 2> ShortMonthNames;
extern const std::array<std::array<std::string, 12>, 2> LongMonthNames;
extern const std::array<std::array<std::string, 7>, 2> ShortDayNames;  // Sunday first
extern const std::array<std::array<std::string, 7>, 2> LongDayNames;
// The language the names are taken from.
extern int DateLanguage;

class TDateTime : public plat::Object {
public:
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;

    static constexpr const char* MonthList = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";

    static plat::Ref<TDateTime> Create();
    // A copy of `value` moved by `amount` units.  Months carry into years
    // only once they pass 12; negative amounts make no borrow.
    static plat::Ref<TDateTime> Add(const std::string& unit, int amount,
                                    const plat::Ref<TDateTime>& value);
    // b - a in the unit; 0 for an unknown unit.
    static int Diff(const std::string& unit, const plat::Ref<TDateTime>& a,
                    const plat::Ref<TDateTime>& b);
    // The pattern with each run of Y, M, D, H, N, S replaced (case-sensitive).
    static std::string Get_String(const plat::Ref<TDateTime>& value, const std::string& pattern);
    // One run of `count` letters `c`.
    static std::string Get_String_Parser(const plat::Ref<TDateTime>& value, char c, int count);
    // n as exactly `digits` digits (its last ones, or zero-padded).
    static std::string Get_String_Parser_Formater(int n, int digits);
    // Day numbers with a leap year every fourth year, without exception.
    static int Conv_Date2Julian(const plat::Ref<TDateTime>& value);
    static void Conv_Julian2Date(int dayNumber, plat::Ref<TDateTime>& target);
    // 0 Sunday .. 6 Saturday.
    static int WeekDay(const plat::Ref<TDateTime>& value);

    // Creates the target when it is null, then copies the six fields into it.
    void Copy(plat::Ref<TDateTime>& target) const;
    // Day-number difference when the days differ, else the difference in
    // seconds of the day (this minus other).
    int compare(const plat::Ref<TDateTime>& other) const;
    void Set_DateSerial(int year, int month, int day);
    void Set_TimeSerial(int hour, int minute, int second);
    void Set_DateTimeSerial(int year, int month, int day, int hour, int minute, int second);
    void Set_DateCurrent();
    void Set_TimeCurrent();
    void Set_DateTimeCurrent();
    void Debug_PrintDate() const;
};

}  // namespace fw
