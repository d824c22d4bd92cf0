// The colour value: three channels 0..255 held as decimal text in the decimal
// fields, and its derived forms, the six hexadecimal digits RRGGBB and the
// swatch value.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pigmentry::colour {

inline constexpr int kChannelMax = 255;

// Red, green, blue.
using Channels = std::array<int, 3>;

// The channel a decimal field's text stands for: its leading number, rounded
// half-to-even and bounded to 0..255. For canonical text ("0" to "255") that
// is the number written; anything else reads as the channel that the field
// would be clamped to.
[[nodiscard]] int ChannelOf(std::wstring_view text);

// The canonical text of a channel: decimal digits, no sign, no leading zeros.
[[nodiscard]] std::wstring ChannelText(int channel);
// A whole number in decimal digits, with a "-" when negative.
[[nodiscard]] std::wstring WholeNumberText(long long value);
// A result code as eight upper-case hexadecimal digits after "0x".
[[nodiscard]] std::wstring ResultCodeText(std::uint32_t code);

// Whether `text` is a channel's canonical text.
[[nodiscard]] bool IsCanonicalChannelText(std::wstring_view text);

// Six upper-case hexadecimal digits RRGGBB: (255, 0, 128) gives "FF0080".
[[nodiscard]] std::wstring HexForm(const Channels& channels);

// The platform's colour number for a background: R + 256 G + 65536 B.
[[nodiscard]] std::uint32_t SwatchValue(const Channels& channels);

// The text of a decimal field after the Up and Down arrow keys. Up: 255 for
// a value of 255 or more, else the value plus one. Down: the value minus one,
// which may be "-1" (the field then clamps it to 0). The value is what the
// text's leading number says, fraction included; outside -1..256 it is taken
// as the nearest of those, which steps to the same clamped channel and keeps
// the text short whatever the field held.
[[nodiscard]] std::wstring SteppedUp(std::wstring_view text);
[[nodiscard]] std::wstring SteppedDown(std::wstring_view text);

}  // namespace pigmentry::colour
