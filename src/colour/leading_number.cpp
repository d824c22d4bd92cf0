#include "colour/leading_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace pigmentry::colour {

namespace {

constexpr double kLargest = std::numeric_limits<double>::max();

// Beyond this many significant digits a decimal number keeps only whether
// any of the rest is non-zero, which is all that correct rounding needs.
constexpr std::size_t kMaxSignificantDigits = 800;
// Exponents are counted only up to here; far beyond any double's range.
constexpr std::int64_t kMaxExponent = 1'000'000'000;
// 0.d... x 10^e with e above this is too large for a double, below the
// negative of it too small to tell from zero.
constexpr std::int64_t kDecimalExponentRange = 400;

// A decimal text in the C locale's form ("0.125e3"), correctly rounded.
// strtod rather than std::from_chars: the C++ runtime's version brings tables
// that would add a tenth to the program's size. MinGW's own strtod is the
// correctly rounding one; the C runtime's older one may be off by a unit.
double ParseDouble(const std::string& text) {
#if defined(__MINGW32__)
  return __mingw_strtod(text.c_str(), nullptr);
#else
  return std::strtod(text.c_str(), nullptr);
#endif
}

// Walks a text, skipping blanks, tabs and line feeds wherever they stand.
class Reader {
 public:
  explicit Reader(std::wstring_view text) : text_(text) {}

  // The next character that is not skipped; L'\0' at the end of the text.
  [[nodiscard]] wchar_t Peek() {
    while (pos_ < text_.size() && IsSkipped(text_[pos_])) {
      ++pos_;
    }
    return pos_ < text_.size() ? text_[pos_] : L'\0';
  }
  // Moves past the character that Peek returned.
  void Next() { ++pos_; }

 private:
  static bool IsSkipped(wchar_t ch) { return ch == L' ' || ch == L'\t' || ch == L'\n'; }

  std::wstring_view text_;
  std::size_t pos_ = 0;
};

// The digit's value in `radix` (8, 10 or 16), or -1 when it is not one.
int DigitValue(wchar_t ch, int radix) {
  int value = -1;
  if (ch >= L'0' && ch <= L'9') {
    value = ch - L'0';
  } else if (ch >= L'A' && ch <= L'F') {
    value = ch - L'A' + 10;
  } else if (ch >= L'a' && ch <= L'f') {
    value = ch - L'a' + 10;
  }
  return value < radix ? value : -1;
}

// The digits after &H or &O.
double ReadWholeNumber(Reader& in, int radix) {
  double value = 0;
  for (int digit = DigitValue(in.Peek(), radix); digit >= 0; digit = DigitValue(in.Peek(), radix)) {
    value = std::min(value * radix + digit, kLargest);
    in.Next();
  }
  constexpr double k16Bits = 65536;
  constexpr double kSignBit = 32768;
  if (value < k16Bits && value >= kSignBit) {
    return value - k16Bits;
  }
  return value;
}

// A decimal number as 0.<digits> x 10^exponent, sign apart.
struct DecimalParts {
  bool negative = false;
  std::string digits;  // significant digits: the first is not '0'
  bool droppedNonZero = false;
  std::int64_t exponent = 0;

  void AddSignificant(int digit) {
    if (digits.size() < kMaxSignificantDigits) {
      digits.push_back(static_cast<char>('0' + digit));
    } else if (digit != 0) {
      droppedNonZero = true;
    }
  }
};

void ReadMantissa(Reader& in, DecimalParts& parts) {
  bool inFraction = false;
  for (;;) {
    const wchar_t ch = in.Peek();
    if (ch == L'.' && !inFraction) {
      inFraction = true;
    } else if (const int digit = DigitValue(ch, 10); digit >= 0) {
      const bool leadingZero = digit == 0 && parts.digits.empty();
      if (leadingZero) {
        parts.exponent -= inFraction ? 1 : 0;
      } else {
        parts.AddSignificant(digit);
        parts.exponent += inFraction ? 0 : 1;
      }
    } else {
      return;
    }
    in.Next();
  }
}

// E or D, an optional sign, digits; 0 when there is no exponent.
std::int64_t ReadExponent(Reader& in) {
  const wchar_t marker = in.Peek();
  if (marker != L'E' && marker != L'e' && marker != L'D' && marker != L'd') {
    return 0;
  }
  in.Next();
  bool negative = false;
  if (in.Peek() == L'+' || in.Peek() == L'-') {
    negative = in.Peek() == L'-';
    in.Next();
  }
  std::int64_t exponent = 0;
  for (int digit = DigitValue(in.Peek(), 10); digit >= 0; digit = DigitValue(in.Peek(), 10)) {
    exponent = std::min(exponent * 10 + digit, kMaxExponent);
    in.Next();
  }
  return negative ? -exponent : exponent;
}

// A whole number of at most this many digits is exact in a double.
constexpr std::int64_t kExactWholeDigits = 15;

// The magnitude of 0.<digits> x 10^exponent, correctly rounded, saturating.
double Magnitude(const DecimalParts& parts) {
  if (parts.digits.empty()) {
    return 0;
  }
  // The usual case, a field's channel or a pixel position, is a short whole
  // number: every step below is exact, so no text needs to be parsed.
  if (parts.exponent >= static_cast<std::int64_t>(parts.digits.size()) &&
      parts.exponent <= kExactWholeDigits) {
    double whole = 0;
    for (const char digit : parts.digits) {
      whole = whole * 10 + (digit - '0');
    }
    for (auto place = static_cast<std::int64_t>(parts.digits.size()); place < parts.exponent;
         ++place) {
      whole *= 10;
    }
    return whole;
  }
  if (parts.exponent > kDecimalExponentRange) {
    return kLargest;
  }
  if (parts.exponent < -kDecimalExponentRange) {
    return 0;
  }
  std::string number = "0." + parts.digits;
  if (parts.droppedNonZero) {
    number.push_back('1');
  }
  number += "e" + std::to_string(parts.exponent);
  const double value = ParseDouble(number);
  return std::isinf(value) ? kLargest : value;
}

double ReadDecimal(Reader& in) {
  DecimalParts parts;
  if (in.Peek() == L'+' || in.Peek() == L'-') {
    parts.negative = in.Peek() == L'-';
    in.Next();
  }
  ReadMantissa(in, parts);
  parts.exponent += ReadExponent(in);
  const double magnitude = Magnitude(parts);
  return parts.negative ? -magnitude : magnitude;
}

// `value` in scientific notation with `digits` significant digits.
int FormatScientific(std::array<char, 48>& buffer, int digits, double value) {
#if defined(__MINGW32__)
  // The C runtime's own formatter: the C++ headers switch MinGW's printf
  // family to its C99 one, whose code (about 17 KB) this call alone would
  // bring. Any misrounded candidate fails the read-back below.
  return _snprintf(buffer.data(), buffer.size() - 1, "%.*e", digits - 1, value);
#else
  return std::snprintf(buffer.data(), buffer.size(), "%.*e", digits - 1, value);
#endif
}

// The shortest scientific text ("-1.25e+02") that reads back as `value`.
// Formatted with printf rather than std::to_chars: the C++ runtime's
// float-to-text tables would more than double the program's size.
std::string ShortestScientific(double value) {
  std::array<char, 48> buffer{};
  int length = 0;
  for (int digits = 1; digits <= std::numeric_limits<double>::max_digits10; ++digits) {
    length = FormatScientific(buffer, digits, value);
    if (ParseDouble(buffer.data()) == value) {
      break;
    }
  }
  return {buffer.data(), static_cast<std::size_t>(std::max(length, 0))};
}

// Writes a scientific text as plain digits with at most one point.
std::wstring FixedFromScientific(std::string_view scientific) {
  std::wstring sign;
  if (!scientific.empty() && scientific.front() == '-') {
    sign = L"-";
    scientific.remove_prefix(1);
  }
  const std::size_t e = scientific.find_first_of("eE");
  std::wstring digits;
  for (const char ch : scientific.substr(0, e)) {
    if (ch >= '0' && ch <= '9') {
      digits.push_back(static_cast<wchar_t>(ch));
    }
  }
  int exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view text = scientific.substr(e + 1);
    if (!text.empty() && text.front() == '+') {
      text.remove_prefix(1);
    }
    std::from_chars(text.data(), text.data() + text.size(), exponent);
  }
  while (digits.size() > 1 && digits.back() == L'0') {
    digits.pop_back();
  }
  // Digits before the point: the first mantissa digit stands for 10^exponent.
  const long long before = 1LL + exponent;
  if (before <= 0) {
    return sign + L"0." + std::wstring(static_cast<std::size_t>(-before), L'0') + digits;
  }
  const auto whole = static_cast<std::size_t>(before);
  if (whole >= digits.size()) {
    return sign + digits + std::wstring(whole - digits.size(), L'0');
  }
  return sign + digits.substr(0, whole) + L"." + digits.substr(whole);
}

}  // namespace

double LeadingNumber(std::wstring_view text) {
  Reader in(text);
  double value = 0;
  if (in.Peek() == L'&') {
    in.Next();
    const wchar_t kind = in.Peek();
    if (kind == L'H' || kind == L'h') {
      in.Next();
      value = ReadWholeNumber(in, 16);
    } else if (kind == L'O' || kind == L'o') {
      in.Next();
      value = ReadWholeNumber(in, 8);
    }
  } else {
    value = ReadDecimal(in);
  }
  return value == 0 ? 0.0 : value;  // never -0
}

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) {
    return value;
  }
  double rounded = std::round(value);  // a half goes away from zero
  if (std::abs(rounded - value) == 0.5) {
    rounded = 2.0 * std::round(value / 2.0);
  }
  return rounded == 0 ? 0.0 : rounded;
}

int WholeNumberIn(double value, int low, int high) {
  if (std::isnan(value)) {
    return low;
  }
  const double rounded = RoundHalfEven(value);
  if (rounded <= low) {
    return low;
  }
  if (rounded >= high) {
    return high;
  }
  return static_cast<int>(rounded);
}

std::wstring DecimalText(double value) {
  if (std::isnan(value) || value == 0) {
    return L"0";
  }
  return FixedFromScientific(ShortestScientific(std::fmax(-kLargest, std::fmin(value, kLargest))));
}

}  // namespace pigmentry::colour
