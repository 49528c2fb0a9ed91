#include "platform/core/text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace plat {

namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// Latin-1 letters: a-z and the accented small letters (0xE0..0xFE without
// the division sign) have capitals 0x20 below them.
char UpperChar(char c) {
    unsigned char b = Byte(c);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return static_cast<char>(b - 0x20);
    return c;
}

char LowerChar(char c) {
    unsigned char b = Byte(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) return static_cast<char>(b + 0x20);
    return c;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = UpperChar(c);
    return out;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = LowerChar(c);
    return out;
}

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && Byte(s[b]) <= 32) ++b;
    while (e > b && Byte(s[e - 1]) <= 32) --e;
    return std::string(s.substr(b, e - b));
}

std::string Mid(std::string_view s, int start, int count) {
    long long len = static_cast<long long>(s.size());
    long long first = start;  // 1-based
    long long last = count < 0 ? len : first + count - 1;
    if (first < 1) first = 1;
    if (last > len) last = len;
    if (last < first) return {};
    return std::string(s.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1)));
}

std::string Left(std::string_view s, int count) {
    if (count <= 0) return {};
    return std::string(s.substr(0, static_cast<std::size_t>(count)));
}

std::string Right(std::string_view s, int count) {
    if (count <= 0) return {};
    std::size_t n = static_cast<std::size_t>(count);
    if (n >= s.size()) return std::string(s);
    return std::string(s.substr(s.size() - n));
}

int Find(std::string_view s, std::string_view what, int from) {
    if (from < 0) from = 0;
    if (static_cast<std::size_t>(from) > s.size()) return -1;
    std::size_t at = s.find(what, static_cast<std::size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int FindLast(std::string_view s, std::string_view what) {
    std::size_t at = s.rfind(what);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::string Replace(std::string_view s, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(s);
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t at = s.find(what, pos);
        if (at == std::string_view::npos) break;
        out.append(s.substr(pos, at - pos));
        out.append(with);
        pos = at + what.size();
    }
    out.append(s.substr(pos));
    return out;
}

int Len(std::string_view s) { return static_cast<int>(s.size()); }

std::string Chr(int code) {
    if (code < 0 || code > 255) return {};
    return std::string(1, static_cast<char>(code));
}

int Asc(std::string_view s) { return s.empty() ? -1 : Byte(s[0]); }

namespace {

// Where the digits of a number begin: past leading blanks and a sign.
std::size_t NumberStart(std::string_view s, bool& negative) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    return i;
}

}  // namespace

long long ToLong(std::string_view s) {
    bool negative = false;
    std::size_t i = NumberStart(s, negative);
    // Unsigned arithmetic wraps instead of overflowing.
    std::uint64_t value = 0;
    if (i < s.size() && s[i] == '$') {
        for (++i; i < s.size() && HexValue(s[i]) >= 0; ++i) value = value * 16 + static_cast<std::uint64_t>(HexValue(s[i]));
    } else if (i < s.size() && s[i] == '%') {
        for (++i; i < s.size() && (s[i] == '0' || s[i] == '1'); ++i) value = value * 2 + static_cast<std::uint64_t>(s[i] - '0');
    } else {
        for (; i < s.size() && IsDigit(s[i]); ++i) value = value * 10 + static_cast<std::uint64_t>(s[i] - '0');
    }
    if (negative) value = ~value + 1;
    return static_cast<long long>(value);
}

int ToInt(std::string_view s) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(ToLong(s))));
}

bool FitsInt(std::string_view s) {
    bool negative = false;
    std::size_t i = NumberStart(s, negative);
    int base = 10;
    if (i < s.size() && (s[i] == '$' || s[i] == '%')) base = s[i++] == '$' ? 16 : 2;
    // Past this the value no longer fits, whatever its sign.
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 31;
    std::uint64_t value = 0;
    for (; i < s.size(); ++i) {
        int digit = base == 16 ? HexValue(s[i]) : (IsDigit(s[i]) ? s[i] - '0' : -1);
        if (digit < 0 || digit >= base) break;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > kLimit) return false;
    }
    return negative ? value <= kLimit : value < kLimit;
}

double ToFloat(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    std::size_t begin = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    // An exponent counts only when digits follow it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    // The text is checked above, so strtod only converts; the C locale keeps
    // the decimal point a "." whatever the user's locale.
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    std::string number(s.substr(begin, i - begin));
    return strtod_l(number.c_str(), nullptr, cLocale);
}

std::string FloatToString(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%#.9g", value);
    std::string out(buf);
    // A locale with a decimal comma must not leak into saved or shown text.
    for (char& c : out)
        if (c == ',') c = '.';
    return out;
}

std::string ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (char c : latin1) {
        unsigned char b = Byte(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

void ForEachUtf8Code(std::string_view utf8, const std::function<void(int)>& each) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned char b = Byte(utf8[i]);
        if (b < 0x80) {
            each(b);
            ++i;
            continue;
        }
        int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        std::uint32_t code = extra == 1 ? (b & 0x1Fu) : extra == 2 ? (b & 0x0Fu) : (b & 0x07u);
        std::size_t j = i + 1;
        bool ok = extra > 0;
        for (int k = 0; ok && k < extra; ++k, ++j) {
            if (j >= utf8.size() || (Byte(utf8[j]) & 0xC0) != 0x80) ok = false;
            else code = (code << 6) | (Byte(utf8[j]) & 0x3Fu);
        }
        if (!ok) {
            // A stray or cut-off byte: one unknown character, and the walk
            // resynchronises on the next byte.
            each(-1);
            ++i;
            continue;
        }
        each(static_cast<int>(code));
        i = j;
    }
}

std::string FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    ForEachUtf8Code(utf8, [&out](int code) {
        out.push_back(code >= 0 && code <= 0xFF ? static_cast<char>(code) : '?');
    });
    return out;
}

}  // namespace plat
