// The text of the hexadecimal field: cleaning, validity, the digit pairs that
// give the channels, and the padding to six digits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "colour/colour_value.h"

namespace pigmentry::colour {

// The longest cleaned text accepted; its length is handled as a signed
// 16-bit number.
inline constexpr std::size_t kMaxHexTextLength = 32767;

// The message for text that is not a hexadecimal number.
inline constexpr const wchar_t* kInvalidHexMessage =
    L"Please enter a valid Hexadecimal string.\r\n"
    L"The following characters are valid: \r\n"
    L"0 1 2 3 4 5 6 7 8 9 A B C D E F";

// The text with every "#" removed, wherever it stands; nothing else goes.
[[nodiscard]] std::wstring CleanHexText(std::wstring_view text);

// Whether a cleaned text is a hexadecimal number the field accepts: at least
// one digit, digits only (either case), a value of at most FFFFFFFF (leading
// zeros do not count) and at most kMaxHexTextLength characters.
[[nodiscard]] bool IsValidHexText(std::wstring_view cleaned);

// The channels of a cleaned text, read from the left in pairs: red from
// characters 1-2, green from 3-4, blue from 5-6. A pair cut short by the end
// of the text is its one digit (F gives red 15) or nothing (0); digits after
// the sixth are ignored. Expects a valid text.
[[nodiscard]] Channels DigitPairs(std::wstring_view cleaned);

// The text with "0" appended up to six characters; longer text is returned
// as it stands.
[[nodiscard]] std::wstring PaddedHexText(std::wstring_view text);

}  // namespace pigmentry::colour
