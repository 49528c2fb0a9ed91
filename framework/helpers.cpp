#include "framework/helpers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "framework/errors.h"
#include "framework/game.h"
#include "platform/core/text.h"

namespace fw {

namespace {

// A whole number as an Int, saturating outside the Int range; NaN gives 0.
int SaturateToInt(double whole) {
    if (!(whole == whole)) return 0;
    if (whole >= 2147483647.0) return 2147483647;
    if (whole <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(whole);
}

int FloorToInt(double x) { return SaturateToInt(std::floor(x)); }

// The whole part, toward zero.
int TruncToInt(double x) { return SaturateToInt(std::trunc(x)); }

}  // namespace

// --- text and paths ------------------------------------------------------------------

std::string EmptyString() { return ""; }

std::string QuoteString(const std::string& text) { return "\"" + text + "\""; }

std::string EnsureTrailingSlash(const std::string& path) {
    if (!path.empty() && (path.back() == '/' || path.back() == '\\')) return path;
    return path + "/";
}

std::string StringBefore(const std::string& text, const std::string& separator) {
    const std::size_t p = separator.empty() ? std::string::npos : text.find(separator);
    return p == std::string::npos ? text : text.substr(0, p);
}

std::string StringAfter(const std::string& text, const std::string& separator) {
    const std::size_t p = separator.empty() ? std::string::npos : text.find(separator);
    return p == std::string::npos ? std::string() : text.substr(p + separator.size());
}

std::string StringBeforeComma(const std::string& text) { return StringBefore(text, ","); }

std::string PopToken(std::string& text, const std::string& separator) {
    const std::size_t p = separator.empty() ? std::string::npos : text.find(separator);
    std::string token;
    if (p == std::string::npos) {
        token = text;
        text.clear();
    } else {
        token = text.substr(0, p);
        text = text.substr(p + separator.size());
    }
    return token;
}

std::string SafeMidString(const std::string& text, int start, int length) {
    if (length < 0) return "";
    return plat::Mid(text, start, length);
}

std::string PadLeftWith(const std::string& text, int width, const std::string& fill) {
    if (fill.empty()) return text;
    std::string out = text;
    while (static_cast<int>(out.size()) < width) out = fill + out;
    return out;
}

std::string PadLeft(const std::string& text, int width, const std::string& fill) {
    return PadLeftWith(text, width, fill);
}

std::string PadLeftZeros(const std::string& text, int width) { return PadLeftWith(text, width, "0"); }

std::string SignedIntText(int n) { return std::string(n > 0 ? "+" : "").append(std::to_string(n)); }

std::string FormatFixed(double x, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    const double m = std::pow(10.0, decimals);
    const double scaled = std::floor(x * m + 0.5);
    // The digits of the magnitude, with the sign in front of them (so a
    // negative value keeps its point where it belongs).
    const bool negative = scaled < 0;
    const double mag = std::fabs(scaled);
    std::string digits = mag < 9.2e18 ? std::to_string(static_cast<long long>(mag)) : "0";
    digits = PadLeftZeros(digits, decimals + 1);
    if (decimals >= 1)
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    return negative ? std::string("-").append(digits) : digits;
}

std::string FormatNumberGrouped(double value, int decimals, int group, int width) {
    decimals = std::clamp(decimals, 0, 9);
    const int field = width + decimals + 1;
    if (!std::isfinite(value)) return PadLeft("Error", field);
    // The value's text in plain notation, cut (not rounded) to the decimals.
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.9f", value);
    std::string text = buf;
    std::string sign;
    if (!text.empty() && text[0] == '-') {
        sign = "-";
        text.erase(0, 1);
    }
    std::string whole = StringBefore(text, ".");
    std::string frac = StringAfter(text, ".");
    if (static_cast<int>(frac.size()) < decimals) frac.append(static_cast<std::size_t>(decimals) - frac.size(), '0');
    frac = frac.substr(0, static_cast<std::size_t>(decimals));
    if (group > 0) {
        std::string grouped;
        int n = 0;
        for (auto it = whole.rbegin(); it != whole.rend(); ++it) {
            if (n > 0 && n % group == 0) grouped.insert(grouped.begin(), ',');
            grouped.insert(grouped.begin(), *it);
            ++n;
        }
        whole = grouped;
    }
    std::string out = sign + whole + (decimals > 0 ? "." + frac : "");
    if (static_cast<int>(out.size()) > field) out = "Error";
    return PadLeft(out, field);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (lf != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

void SplitMinutesSeconds(int milliseconds, int& minutes, int& seconds) {
    const bool negative = milliseconds < 0;
    const double s = std::fabs(static_cast<double>(milliseconds)) / 1000.0;
    minutes = FloorToInt(s / 60.0);
    seconds = FloorToInt(s) - minutes * 60;
    if (negative) {
        minutes = -minutes;
        seconds = -seconds;
    }
}

std::string TimeTo12Hour(const std::string& time) {
    const int h = plat::ToInt(plat::Left(time, 2));
    int shown = h >= 12 ? h - 12 : h;
    if (shown == 0) shown = 12;
    return std::to_string(shown) + plat::Mid(time, 3) + (h < 12 ? "am" : "pm");
}

namespace {

struct MonthNames {
    const char* english;
    const char* french;
    const char* german;
    const char* spanish;
};

constexpr MonthNames kMonthNames[] = {
    {"JAN", "Janv", "Jan", "Ene"},  {"FEB", "F vr", "Feb", "Feb"},  {"MAR", "Mars", "M rz", "Mar"},
    {"APR", "Avr", "April", "Abr"}, {"MAY", "Mai", "Mai", "May"},   {"JUN", "Juin", "Juni", "Jun"},
    {"JUL", "Juil", "Juli", "Jul"}, {"AUG", "Ao t", "Aug", "Ago"},  {"SEP", "Sept", "Sept", "Sep"},
    {"OCT", "Oct", "Okt", "Oct"},   {"NOV", "Nov", "Nov", "Nov"},   {"DEC", "D c", "Dez", "Dic"},
};

const MonthNames* FindMonth(const std::string& month) {
    const std::string key = plat::Upper(month);
    for (const MonthNames& m : kMonthNames)
        if (key == m.english) return &m;
    return nullptr;
}

std::string DateWithMonth(const std::string& date, std::string (*name)(const std::string&)) {
    return plat::Mid(date, 1, 3) + name(plat::Mid(date, 4, 3)) + plat::Mid(date, 7, 5);
}

}  // namespace

std::string MonthNameFrench(const std::string& month) {
    const MonthNames* m = FindMonth(month);
    return m ? m->french : "";
}
std::string MonthNameGerman(const std::string& month) {
    const MonthNames* m = FindMonth(month);
    return m ? m->german : "";
}
std::string MonthNameSpanish(const std::string& month) {
    const MonthNames* m = FindMonth(month);
    return m ? m->spanish : "";
}
std::string DateInFrench(const std::string& date) { return DateWithMonth(date, MonthNameFrench); }
std::string DateInGerman(const std::string& date) { return DateWithMonth(date, MonthNameGerman); }
std::string DateInSpanish(const std::string& date) { return DateWithMonth(date, MonthNameSpanish); }

// --- line and array helpers ----------------------------------------------------------

std::vector<std::string> ReadLinesUntilSection(const plat::Ref<plat::TStream>& stream,
                                               std::string& header) {
    std::vector<std::string> lines;
    header.clear();
    if (!stream) return lines;
    while (!plat::Eof(stream)) {
        std::string line = plat::ReadLine(stream);
        if (!line.empty() && line[0] == '[') {
            header = line;
            break;
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ReadSectionLines(const std::vector<std::string>& lines, int& index) {
    std::vector<std::string> out;
    if (index < 0) index = 0;
    while (index < static_cast<int>(lines.size())) {
        const std::string& line = lines[static_cast<std::size_t>(index)];
        if (!line.empty() && line[0] == '[') break;
        out.push_back(line);
        ++index;
    }
    return out;
}

std::string ReadTwoLines(const plat::Ref<plat::TStream>& stream, std::string& second) {
    if (!stream) {
        second.clear();
        return "";
    }
    std::string first = plat::ReadLine(stream);
    second = plat::ReadLine(stream);
    return first;
}

std::string NextArrayString(const std::vector<std::string>& lines, int& index) {
    std::string out;
    if (index >= 0 && index < static_cast<int>(lines.size())) out = lines[static_cast<std::size_t>(index)];
    ++index;
    return out;
}

void CheckIniHeader(const std::string& name, const std::string& line) {
    if (plat::Upper(line) != "[" + name + "]") ReportError("[" + name + "] header hot found", 1);
}

void CopyArrayRange(const std::vector<std::string>& source, std::vector<std::string>& target,
                    int first, int last) {
    target.clear();
    const int n = static_cast<int>(source.size());
    if (last < 0 || last >= n) last = n - 1;
    first = std::max(first, 0);
    for (int i = first; i <= last; ++i) target.push_back(source[static_cast<std::size_t>(i)]);
}

std::vector<std::string> ArrayRemoveRange(const std::vector<std::string>& lines, int first,
                                          int last) {
    std::vector<std::string> out;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i)
        if (i < first || i > last) out.push_back(lines[static_cast<std::size_t>(i)]);
    return out;
}

void SortArray(std::vector<std::string>& lines, bool ascending) {
    if (ascending) std::sort(lines.begin(), lines.end());
    else std::sort(lines.begin(), lines.end(), std::greater<>());
}

// --- numbers ---------------------------------------------------------------------------

void ClampPercent(int& value) { value = std::clamp(value, 0, 100); }

int AbsLessThan(double value, double limit) { return (-limit < value && value < limit) ? 1 : 0; }

int RoundToInt(double x) { return FloorToInt(x + 0.5); }

double RoundToDecimals(double x, int decimals) {
    const double m = std::pow(10.0, decimals);
    const double half = x > 0 ? 0.5 : x < 0 ? -0.5 : 0.0;
    return std::trunc(x * m + half) / m;
}

int NextPowerOfTwo(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

int RandRange(int min, int max) {
    if (max < min) std::swap(min, max);
    const long long span = static_cast<long long>(max) - min + 1;
    return static_cast<int>(min + static_cast<long long>(std::rand()) % span);
}

void SeedRandRange(unsigned seed) { std::srand(seed); }

int LerpIndex(double a, double b, int count, int forward) {
    if (count <= 0) return 0;
    const double f = b != 0 ? a / b : 0.0;
    const double v = forward ? f * count : count * (1 - f);
    return std::clamp(FloorToInt(v), 0, count - 1);
}

double MillisPerFrame(double hertz) { return hertz != 0 ? 1000.0 / hertz : 0.0; }

double PanFromScreenX(double x) {
    if (ScreenWidth == 0) return 0.0;
    return (x - ScreenWidth / 2) / static_cast<double>(ScreenWidth);
}

double ScreenBottomOffset(double a, double b) { return b - (a + ScreenHeight); }

double SemitoneRatio(double n) { return std::pow(2.0, n / 12.0); }

double ScaleDegreeRatio(int degree) {
    static constexpr int kSteps[15] = {0, 2, 4, 5, 7, 9, 11, 12, 14, 16, 17, 19, 21, 23, 24};
    degree = std::clamp(degree, 0, 14);
    return std::pow(2.0, kSteps[degree] / 12.0);
}

double SigmoidCurve(double x) { return 0.5 + std::sin(M_PI * (x - 0.5)) / 2.0; }

int CalcAnimLengthSeconds(double seconds) {
    // The milliseconds stay fractional until the ticks are counted: at a
    // speed other than 1 a cut fraction of a millisecond can lose a tick.
    // Without the shell the normal rate applies: 5 ms per tick.
    return TruncToInt(TicksFromMs(static_cast<float>(seconds * 1000.0)));
}

void StopChannelSafe(const plat::Ref<plat::TChannel>& channel) {
    if (channel) channel->Stop();
}

int ReturnFalse() { return 0; }

void NoOp() {}

}  // namespace fw
