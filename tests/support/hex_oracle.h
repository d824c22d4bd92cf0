// What the tests expect of a hexadecimal text, written out on its own rather
// than taken from the program, so that a fault in the program shows up as a
// disagreement.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pigmentry::testing_support {

// A colour's three channels R, G, B as the tests read them from the
// window: from its decimal fields or from its hexadecimal text.
using Channels = std::array<int, 3>;

// The value of one hexadecimal digit, or -1.
inline int HexValue(wchar_t ch) {
  if (ch >= L'0' && ch <= L'9') return ch - L'0';
  if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
  if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
  return -1;
}

// The channel of a canonical decimal text (digits only, no leading zero,
// 0 to 255), or -1 for any other text.
inline int CanonicalChannel(std::wstring_view text) {
  if (text.empty() || text.size() > 3 || (text.size() > 1 && text[0] == L'0')) return -1;
  int value = 0;
  for (const wchar_t ch : text) {
    if (ch < L'0' || ch > L'9') return -1;
    value = value * 10 + (ch - L'0');
  }
  return value <= 255 ? value : -1;
}

// The channels of the three decimal fields' texts, -1 for each that is not
// a canonical channel.
inline Channels CanonicalChannels(std::wstring_view red, std::wstring_view green,
                                  std::wstring_view blue) {
  return {CanonicalChannel(red), CanonicalChannel(green), CanonicalChannel(blue)};
}

// The channels of a hexadecimal text (its # marks removed), read as digit
// pairs from the left: a pair cut short counts as the digits it has.
inline Channels PairsOf(std::wstring_view cleaned) {
  Channels channels{};
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = 2 * i; j < 2 * i + 2 && j < cleaned.size(); ++j) {
      channels[i] = channels[i] * 16 + HexValue(cleaned[j]);
    }
  }
  return channels;
}

inline std::wstring WithoutHashes(std::wstring_view text) {
  std::wstring out;
  for (const wchar_t ch : text) {
    if (ch != L'#') out.push_back(ch);
  }
  return out;
}

// Whether a hexadecimal text (its # marks removed) is one the program takes:
// digits only, at least one, at most 32767 characters, a value of 32 bits.
inline bool ValidHex(std::wstring_view cleaned) {
  if (cleaned.empty() || cleaned.size() > 32767) return false;
  for (const wchar_t ch : cleaned) {
    if (HexValue(ch) < 0) return false;
  }
  const auto first = cleaned.find_first_not_of(L'0');
  return first == std::wstring_view::npos || cleaned.size() - first <= 8;
}

// ValidHex of the text with its # marks removed, read in place.
inline bool ValidHexWithoutHashes(std::wstring_view text) {
  std::size_t digits = 0;
  std::size_t significant = 0;
  for (const wchar_t ch : text) {
    if (ch == L'#') continue;
    if (HexValue(ch) < 0) return false;
    ++digits;
    if (significant > 0 || ch != L'0') ++significant;
  }
  return digits > 0 && digits <= 32767 && significant <= 8;
}

}  // namespace pigmentry::testing_support
