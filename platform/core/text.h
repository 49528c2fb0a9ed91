#pragma once
// Text helpers.  Strings hold 8-bit characters (Latin-1 codes 0..255); they
// are converted to UTF-8 only where they meet the operating system.

#include <functional>
#include <string>
#include <string_view>

namespace plat {

std::string Upper(std::string_view s);
std::string Lower(std::string_view s);
std::string Trim(std::string_view s);  // blanks and control characters at both ends

// 1-based slicing: Mid("abcdef", 2, 3) = "bcd"; count < 0 takes the rest.
std::string Mid(std::string_view s, int start, int count = -1);
std::string Left(std::string_view s, int count);
std::string Right(std::string_view s, int count);
// 0-based position of `what` at or after `from`, or -1.
int Find(std::string_view s, std::string_view what, int from = 0);
int FindLast(std::string_view s, std::string_view what);
std::string Replace(std::string_view s, std::string_view what, std::string_view with);
int Len(std::string_view s);

std::string Chr(int code);  // one 8-bit character; codes outside 0..255 give ""
int Asc(std::string_view s);  // code of the first character, -1 when empty

// Text to number: leading blanks, an optional sign, then decimal digits, or
// hexadecimal after "$", or binary after "%"; stops at the first other
// character; 0 when there are no digits.  The result wraps like a 32-bit Int.
int ToInt(std::string_view s);
// Whether the number ToInt reads from `s` is the number written there:
// false when its digits name a value outside the 32-bit range, which ToInt
// wraps ("4294967333" reads 37).
bool FitsInt(std::string_view s);
long long ToLong(std::string_view s);
// A real number in the usual decimal notation; 0 when there is none.
double ToFloat(std::string_view s);

// A Float as text: nine significant digits, trailing zeros kept, always a
// "." (1.0 gives "1.00000000", 0.25 gives "0.250000000").
std::string FloatToString(double value);

// Latin-1 <-> UTF-8 at the boundaries with the system.
std::string ToUtf8(std::string_view latin1);
std::string FromUtf8(std::string_view utf8);  // characters above 255 become '?'
// Walks UTF-8 text: `each` gets every character's code, or -1 for a byte
// that starts no complete character (the walk goes on with the next byte).
void ForEachUtf8Code(std::string_view utf8, const std::function<void(int)>& each);

}  // namespace plat
