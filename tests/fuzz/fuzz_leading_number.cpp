// LeadingNumber and the routines that consume its result on any text: no
// crash, no hang, no read out of bounds, never NaN, and every channel read
// from it within 0..255.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "colour/colour_value.h"
#include "colour/hex_text.h"
#include "colour/leading_number.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// About one input in 8192, picked by a hash of its bytes, stands for its
// text repeated past 32,767 characters, the most an edit field takes: long
// texts without long corpus entries, and the same on every replay. The
// fuzzer seeks these out (their loops give new coverage), so their length
// sets the speed of the whole run: a million characters made it 1,000
// executions a second.
constexpr std::size_t kLongestFieldText = 32767;

bool Stretched(const std::uint8_t* data, std::size_t size) {
  std::uint32_t hash = 2166136261U;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) {
    hash = (hash ^ data[i]) * 16777619U;
  }
  return hash % 8192 == 0;
}

// Bytes as UTF-16 units, so that any wchar_t value can appear.
std::wstring TextOf(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  text.reserve(size / 2 + 1);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    text.push_back(unit);
  }
  if (Stretched(data, size) && !text.empty()) {
    const std::wstring once = text;
    while (text.size() <= kLongestFieldText) {
      text += once;
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pigmentry::colour;
  const std::wstring text = TextOf(data, size);

  const double value = LeadingNumber(text);
  Check(std::isfinite(value));
  Check(!(value == 0 && std::signbit(value)));
  const double rounded = RoundHalfEven(value);
  Check(std::isfinite(rounded));
  Check(std::abs(rounded - value) <= 0.5);

  const int channel = ChannelOf(text);
  Check(channel >= 0 && channel <= 255);
  Check(IsCanonicalChannelText(ChannelText(channel)));

  // The arrow-key steps stay short and clamp to a neighbouring channel.
  const std::wstring up = SteppedUp(text);
  const std::wstring down = SteppedDown(text);
  Check(up.size() < 64 && down.size() < 64);
  Check(ChannelOf(up) >= channel && ChannelOf(up) <= channel + 2);  // 2.5 is 2, 3.5 is 4
  Check(ChannelOf(down) <= channel && ChannelOf(down) + 2 >= channel);

  // DecimalText reads back exactly.
  Check(LeadingNumber(DecimalText(value)) == value);

  // The hexadecimal text rules on the same text.
  const std::wstring cleaned = CleanHexText(text);
  if (IsValidHexText(cleaned)) {
    for (const int c : DigitPairs(cleaned)) {
      Check(c >= 0 && c <= 255);
    }
  }
  Check(PaddedHexText(cleaned).size() >= 6);
  return 0;
}
