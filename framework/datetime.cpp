#include "framework/datetime.h"

#include <cstdlib>
#include <string_view>

#include "platform/core/clock.h"
#include "platform/core/text.h"
#include "platform/sys/system.h"

namespace fw {

const std::array<std::array<std::string, 12>, 2> ShortMonthNames = {{
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"Janv", "F vr", "Mars", "Avr", "Mai", "Juin", "Juil", "Ao t", "Sept", "Oct", "Nov", "D c"},
}};
const std::array<std::array<std::string, 12>, 2> LongMonthNames = {{
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"Janvier", "F vrier", "Mars", "Avril", "Mai", "Juin", "Juillet", "Ao t", "Septembre",
     "Octobre", "Novembre", "D cembre"},
}};
const std::array<std::array<std::string, 7>, 2> ShortDayNames = {{
    {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    {"Dim", "Lun", "Mar", "Mer", "Jeu", "Ven", "Sam"},
}};
const std::array<std::array<std::string, 7>, 2> LongDayNames = {{
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"},
}};
int DateLanguage = 0;

namespace {

int Language() { return DateLanguage == 1 ? 1 : 0; }

// Names of out-of-range months and days are empty rather than a crash.
std::string MonthName(const std::array<std::array<std::string, 12>, 2>& table, int month) {
    if (month < 1 || month > 12) return "";
    return table[static_cast<std::size_t>(Language())][static_cast<std::size_t>(month - 1)];
}

std::string DayName(const std::array<std::array<std::string, 7>, 2>& table, int day) {
    if (day < 0 || day > 6) return "";
    return table[static_cast<std::size_t>(Language())][static_cast<std::size_t>(day)];
}

// Seconds since the start of the day.
int DaySeconds(const TDateTime& v) { return 3600 * v.Hour + 60 * v.Minute + v.Second; }

void AddInPlace(TDateTime& v, char unit, int n);

// Adds n to a field that counts `base` to one of the next larger unit,
// carrying whole multiples of `base` into that unit.
void AddCarrying(TDateTime& v, int& field, int base, char larger, int n) {
    AddInPlace(v, larger, n / base);
    field += n % base;
    if (field >= base) {
        AddInPlace(v, larger, field / base);
        field %= base;
    }
}

// Adds in place (the unit letters of Add).
void AddInPlace(TDateTime& v, char unit, int n) {
    switch (unit) {
        case 'Y':
            v.Year += n;
            break;
        case 'M':
            AddInPlace(v, 'Y', n / 12);
            v.Month += n % 12;
            // Only a month past December carries; December itself stays.
            if (v.Month > 12) {
                const int years = (v.Month - 1) / 12;
                v.Month = (v.Month - 1) % 12 + 1;
                AddInPlace(v, 'Y', years);
            }
            break;
        case 'D': {
            auto tmp = plat::New<TDateTime>(v);
            const int j = TDateTime::Conv_Date2Julian(tmp) + n;
            TDateTime::Conv_Julian2Date(j, tmp);
            v.Year = tmp->Year;
            v.Month = tmp->Month;
            v.Day = tmp->Day;
            break;
        }
        case 'H':
            AddCarrying(v, v.Hour, 24, 'D', n);
            break;
        case 'N':
            AddCarrying(v, v.Minute, 60, 'H', n);
            break;
        case 'S':
            AddCarrying(v, v.Second, 60, 'N', n);
            break;
        default:
            break;
    }
}

}  // namespace

plat::Ref<TDateTime> TDateTime::Create() { return plat::New<TDateTime>(); }

void TDateTime::Copy(plat::Ref<TDateTime>& target) const {
    if (!target) target = Create();
    target->Year = Year;
    target->Month = Month;
    target->Day = Day;
    target->Hour = Hour;
    target->Minute = Minute;
    target->Second = Second;
}

plat::Ref<TDateTime> TDateTime::Add(const std::string& unit, int amount,
                                    const plat::Ref<TDateTime>& value) {
    plat::Ref<TDateTime> out;
    if (value) value->Copy(out);
    else out = Create();
    if (unit.size() == 1) AddInPlace(*out, unit[0], amount);
    return out;
}

int TDateTime::Diff(const std::string& unit, const plat::Ref<TDateTime>& a,
                    const plat::Ref<TDateTime>& b) {
    if (!a || !b || unit.size() != 1) return 0;
    const int days = Conv_Date2Julian(b) - Conv_Date2Julian(a);
    switch (unit[0]) {
        case 'Y': return b->Year - a->Year;
        case 'M': return (b->Year - a->Year) * 12 + b->Month - a->Month;
        case 'D': return days;
        case 'H': return days * 24 + b->Hour - a->Hour;
        case 'N': return days * 1440 + 60 * b->Hour + b->Minute - 60 * a->Hour - a->Minute;
        case 'S': return days * 86400 + DaySeconds(*b) - DaySeconds(*a);
        default: return 0;
    }
}

int TDateTime::Conv_Date2Julian(const plat::Ref<TDateTime>& v) {
    if (!v) return 0;
    const int Y = v->Year, M = v->Month, D = v->Day;
    return 367 * Y - (7 * (Y + 5001 + (M - 9) / 7)) / 4 + (275 * M) / 9 + D + 1729777;
}

void TDateTime::Conv_Julian2Date(int J, plat::Ref<TDateTime>& target) {
    if (!target) target = Create();
    const int t = (J + 1401) % 1461;
    const int d = t / 365 - (t + 1) / 1461;
    const int b = t + 31 - 365 * d;
    const int e = 80 * b / 2447;
    target->Day = b - 2447 * e / 80;
    target->Month = e - 12 * (e / 11) + 2;
    target->Year = d + 4 * ((J + 1401) / 1461) + e / 11 - 4716;
}

int TDateTime::WeekDay(const plat::Ref<TDateTime>& v) {
    if (!v) return 0;
    int m = v->Month, y = v->Year;
    if (m <= 2) {
        m += 12;
        y -= 1;
    }
    const int w = (v->Day + (13 * m - 27) / 5 + y + y / 4 + y / 400 - y / 100) % 7;
    return w < 0 ? w + 7 : w;
}

std::string TDateTime::Get_String_Parser_Formater(int n, int digits) {
    std::string s = std::to_string(n);
    if (digits <= 0) return "";
    const auto k = static_cast<std::size_t>(digits);
    if (s.size() > k) return s.substr(s.size() - k);
    return std::string(k - s.size(), '0') + s;
}

std::string TDateTime::Get_String_Parser(const plat::Ref<TDateTime>& v, char c, int k) {
    switch (c) {
        case 'Y':
            if (k == 2) return Get_String_Parser_Formater(v->Year, 2);
            if (k == 4) return Get_String_Parser_Formater(v->Year, 4);
            return "";
        case 'M':
            if (k == 1) return std::to_string(v->Month);
            if (k == 2) return Get_String_Parser_Formater(v->Month, 2);
            if (k == 3) return MonthName(ShortMonthNames, v->Month);
            if (k == 4) return MonthName(LongMonthNames, v->Month);
            return "";
        case 'D':
            if (k == 1) return std::to_string(v->Day);
            if (k == 2) return Get_String_Parser_Formater(v->Day, 2);
            if (k == 3) return DayName(ShortDayNames, WeekDay(v));
            if (k == 4) return DayName(LongDayNames, WeekDay(v));
            return "";
        case 'H':
        case 'N':
        case 'S': {
            const int n = c == 'H' ? v->Hour : c == 'N' ? v->Minute : v->Second;
            if (k == 1) return std::to_string(n);
            if (k == 2) return Get_String_Parser_Formater(n, 2);
            return "";
        }
        default:
            return std::string(static_cast<std::size_t>(k), c);
    }
}

std::string TDateTime::Get_String(const plat::Ref<TDateTime>& value, const std::string& pattern) {
    if (!value) return "";
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        std::size_t j = i;
        while (j < pattern.size() && pattern[j] == pattern[i]) ++j;
        out += Get_String_Parser(value, pattern[i], static_cast<int>(j - i));
        i = j;
    }
    return out;
}

int TDateTime::compare(const plat::Ref<TDateTime>& other) const {
    if (!other) return 0;
    auto self = plat::New<TDateTime>(*this);
    const int days = Conv_Date2Julian(self) - Conv_Date2Julian(other);
    if (days != 0) return days;
    return DaySeconds(*this) - DaySeconds(*other);
}

void TDateTime::Set_DateSerial(int year, int month, int day) {
    Year = year;
    Month = month;
    Day = day;
}

void TDateTime::Set_TimeSerial(int hour, int minute, int second) {
    Hour = hour;
    Minute = minute;
    Second = second;
}

void TDateTime::Set_DateTimeSerial(int year, int month, int day, int hour, int minute, int second) {
    Set_DateSerial(year, month, day);
    Set_TimeSerial(hour, minute, second);
}

void TDateTime::Set_DateCurrent() {
    // "23 Apr 2010"
    const std::string d = plat::CurrentDate();
    Day = plat::ToInt(plat::Left(d, 2));
    const int pos = plat::Find(MonthList, plat::Upper(plat::Mid(d, 4, 3)));
    Month = pos < 0 ? 0 : pos / 3 + 1;
    Year = plat::ToInt(plat::Right(d, 4));
}

void TDateTime::Set_TimeCurrent() {
    // "14:05:09"
    const std::string t = plat::CurrentTime();
    Hour = plat::ToInt(plat::Mid(t, 1, 2));
    Minute = plat::ToInt(plat::Mid(t, 4, 2));
    Second = plat::ToInt(plat::Mid(t, 7, 2));
}

void TDateTime::Set_DateTimeCurrent() {
    Set_DateCurrent();
    Set_TimeCurrent();
}

void TDateTime::Debug_PrintDate() const {
    plat::Print(std::to_string(Year) + "/" + std::to_string(Month) + "/" + std::to_string(Day) +
                "  " + std::to_string(Hour) + ":" + std::to_string(Minute) + ":" +
                std::to_string(Second));
}

}  // namespace fw
