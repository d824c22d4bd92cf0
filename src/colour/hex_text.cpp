#include "colour/hex_text.h"

#include <algorithm>
#include <iterator>

namespace pigmentry::colour {

namespace {

constexpr std::size_t kHexFormLength = 6;
constexpr std::size_t kMaxSignificantDigits = 8;  // 32 bits

int HexDigitValue(wchar_t ch) {
  if (ch >= L'0' && ch <= L'9') {
    return ch - L'0';
  }
  if (ch >= L'A' && ch <= L'F') {
    return ch - L'A' + 10;
  }
  if (ch >= L'a' && ch <= L'f') {
    return ch - L'a' + 10;
  }
  return -1;
}

bool IsHexDigit(wchar_t ch) { return HexDigitValue(ch) >= 0; }

}  // namespace

std::wstring CleanHexText(std::wstring_view text) {
  std::wstring cleaned;
  cleaned.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(cleaned),
               [](wchar_t ch) { return ch != L'#'; });
  return cleaned;
}

bool IsValidHexText(std::wstring_view cleaned) {
  if (cleaned.empty() || cleaned.size() > kMaxHexTextLength ||
      !std::all_of(cleaned.begin(), cleaned.end(), IsHexDigit)) {
    return false;
  }
  const std::size_t firstSignificant = cleaned.find_first_not_of(L'0');
  const std::size_t significant =
      firstSignificant == std::wstring_view::npos ? 0 : cleaned.size() - firstSignificant;
  return significant <= kMaxSignificantDigits;
}

Channels DigitPairs(std::wstring_view cleaned) {
  Channels channels{};
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const std::wstring_view pair = cleaned.substr(std::min(2 * i, cleaned.size()), 2);
    int value = 0;
    for (const wchar_t ch : pair) {
      value = value * 16 + std::max(HexDigitValue(ch), 0);
    }
    channels.at(i) = value;
  }
  return channels;
}

std::wstring PaddedHexText(std::wstring_view text) {
  std::wstring padded(text);
  if (padded.size() < kHexFormLength) {
    padded.append(kHexFormLength - padded.size(), L'0');
  }
  return padded;
}

}  // namespace pigmentry::colour
