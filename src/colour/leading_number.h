// Reading numbers out of free text, and turning them into whole numbers.
//
// Every number the program reads from a field or from the command line goes
// through LeadingNumber, and every number that becomes a whole number goes
// through RoundHalfEven (or WholeNumberIn, which also bounds it).
#pragma once

#include <string>
#include <string_view>

namespace pigmentry::colour {

// The value of the number that `text` begins with; 0 when it begins with none.
//
//  - Blanks, tabs and line feeds are skipped wherever they stand ("1 2" is 12,
//    "- 5" is -5, "&H F F" is 255).
//  - Decimal: an optional sign, digits with at most one "." as the decimal
//    point (whatever the locale), and an optional exponent: E or D (either
//    case), an optional sign, digits. "1.5e2" and "1.5D2" are 150.
//  - &H / &O (either case): a hexadecimal / octal whole number. A value that
//    fits in 16 bits is taken as a signed 16-bit number (&HFFFF is -1, &H8000
//    is -32768, &O177777 is -1). A larger value is taken as it stands,
//    unsigned (&H10000 is 65536, &HFFFFFFFF is 4294967295): nothing about it
//    says which wider signed type it was meant for, and a plain value never
//    turns a large number into a small negative one. A sign before &H or &O
//    is not part of the grammar: "-&H10" holds no number and gives 0.
//  - Reading stops at the first character that cannot continue the number.
//
// It never fails, and the result is always finite: a number too large for a
// double ("9e9999", a million digits) gives the largest finite double of its
// sign, a number too small to tell from zero gives 0. Zero is always +0, so
// "-0" reads as 0.
[[nodiscard]] double LeadingNumber(std::wstring_view text);

// Rounds to the nearest whole number, a half going to the even neighbour
// (2.5 gives 2, 3.5 gives 4, -2.5 gives -2). Zero comes back as +0.
// Infinities and NaN come back unchanged.
[[nodiscard]] double RoundHalfEven(double value);

// `value` rounded half-to-even and then bounded to low..high; safe for any
// double (a NaN gives low, infinities give the bound of their sign).
[[nodiscard]] int WholeNumberIn(double value, int low, int high);

// `value` as plain decimal text: an optional "-", digits and, for a value
// that is not whole, a "." and the fewest fraction digits that LeadingNumber
// reads back as exactly `value` ("255", "-1", "3.5"). No exponent is ever
// written, so keep the magnitude moderate: the text of 1e300 has 301 digits.
[[nodiscard]] std::wstring DecimalText(double value);

}  // namespace pigmentry::colour
