#include "colour/colour_value.h"

#include <algorithm>

#include "colour/leading_number.h"

namespace pigmentry::colour {

namespace {

// Numbers beyond these step to the same clamped channel as the bounds do.
constexpr double kStepLow = -1;
constexpr double kStepHigh = kChannelMax + 1;

double StepBase(std::wstring_view text) {
  return std::clamp(LeadingNumber(text), kStepLow, kStepHigh);
}

void AppendHexByte(std::wstring& out, int value) {
  constexpr std::wstring_view kDigits = L"0123456789ABCDEF";
  out.push_back(kDigits[static_cast<std::size_t>(value >> 4)]);
  out.push_back(kDigits[static_cast<std::size_t>(value & 0xF)]);
}

}  // namespace

int ChannelOf(std::wstring_view text) { return WholeNumberIn(LeadingNumber(text), 0, kChannelMax); }

std::wstring ChannelText(int channel) { return WholeNumberText(channel); }

std::wstring WholeNumberText(long long value) {
  // Through the narrow std::to_string: std::to_wstring formats with the
  // runtime's wide printf, which a whole program would link for this alone.
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

std::wstring ResultCodeText(std::uint32_t code) {
  std::wstring text = L"0x";
  for (int shift = 24; shift >= 0; shift -= 8) {
    AppendHexByte(text, static_cast<int>((code >> shift) & 0xFFU));
  }
  return text;
}

bool IsCanonicalChannelText(std::wstring_view text) {
  if (text.empty() || text.size() > 3 || (text.size() > 1 && text.front() == L'0')) {
    return false;
  }
  if (!std::all_of(text.begin(), text.end(), [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; })) {
    return false;
  }
  return ChannelOf(text) == std::stoi(std::wstring(text));
}

std::wstring HexForm(const Channels& channels) {
  std::wstring hex;
  for (const int channel : channels) {
    AppendHexByte(hex, std::clamp(channel, 0, kChannelMax));
  }
  return hex;
}

std::uint32_t SwatchValue(const Channels& channels) {
  const auto byte = [&channels](std::size_t i) {
    return static_cast<std::uint32_t>(std::clamp(channels.at(i), 0, kChannelMax));
  };
  return byte(0) | (byte(1) << 8) | (byte(2) << 16);
}

std::wstring SteppedUp(std::wstring_view text) {
  const double value = StepBase(text);
  return value >= kChannelMax ? ChannelText(kChannelMax) : DecimalText(value + 1);
}

std::wstring SteppedDown(std::wstring_view text) { return DecimalText(StepBase(text) - 1); }

}  // namespace pigmentry::colour
