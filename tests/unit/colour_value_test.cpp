// The colour value's forms: channel text, hexadecimal form, swatch value and
// the arrow-key steps.
#include "colour/colour_value.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pigmentry::colour {
namespace {

TEST(ChannelOf, ReadsTheChannelAFieldClampsTo) {
  const std::vector<std::pair<std::wstring, int>> cases = {
      {L"0", 0},       {L"128", 128},   {L"255", 255},  {L"300", 255},    {L"-5", 0},
      {L"", 0},        {L"abc", 0},     {L"12a", 12},   {L"007", 7},      {L" 5", 5},
      {L"2.5", 2},     {L"3.5", 4},     {L"9e9", 255},  {L"9e9999", 255}, {L"-9e9999", 0},
      {L"254.5", 254}, {L"255.5", 255}, {L"&HFF", 255}, {L"&HFFFF", 0},   {L"-0", 0}};
  for (const auto& [text, channel] : cases) {
    EXPECT_EQ(ChannelOf(text), channel) << std::string(text.begin(), text.end());
  }
}

TEST(ChannelText, IsCanonicalForEveryChannel) {
  for (int channel = 0; channel <= 255; ++channel) {
    const std::wstring text = ChannelText(channel);
    EXPECT_TRUE(IsCanonicalChannelText(text)) << channel;
    EXPECT_EQ(ChannelOf(text), channel);
  }
  for (const wchar_t* text : {L"", L"007", L"00", L"-0", L"+1", L" 5", L"256", L"2.5", L"1e2"}) {
    EXPECT_FALSE(IsCanonicalChannelText(text)) << text;
  }
}

struct ColourCase {
  Channels channels;
  std::wstring hex;
  std::uint32_t swatch;
};

TEST(ColourForms, HexFormAndSwatchValue) {
  const std::vector<ColourCase> cases = {
      {{0, 0, 0}, L"000000", 0x000000},    {{255, 255, 255}, L"FFFFFF", 0xFFFFFF},
      {{1, 2, 3}, L"010203", 0x030201},    {{255, 0, 128}, L"FF0080", 0x8000FF},
      {{10, 11, 12}, L"0A0B0C", 0x0C0B0A}, {{171, 192, 0}, L"ABC000", 0x00C0AB},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HexForm(c.channels), c.hex);
    EXPECT_EQ(SwatchValue(c.channels), c.swatch);
  }
}

TEST(ArrowSteps, UpStopsAt255AndDownGoesOneBelow) {
  struct StepCase {
    std::wstring text;
    std::wstring up;
    std::wstring down;
  };
  const std::vector<StepCase> cases = {{L"0", L"1", L"-1"},
                                       {L"1", L"2", L"0"},
                                       {L"254", L"255", L"253"},
                                       {L"255", L"255", L"254"},
                                       {L"300", L"255", L"255"},
                                       {L"", L"1", L"-1"},
                                       {L"-5", L"0", L"-2"},
                                       {L"2.5", L"3.5", L"1.5"},
                                       {L"abc", L"1", L"-1"},
                                       // Outside -1..256 the value steps like the nearest of those,
                                       // so the text stays short and clamps to the same channel.
                                       {L"1e300", L"255", L"255"},
                                       {L"-1e300", L"0", L"-2"},
                                       {L"9e9999", L"255", L"255"},
                                       {std::wstring(100000, L'9'), L"255", L"255"}};
  for (const auto& c : cases) {
    const std::wstring head = c.text.substr(0, 20);
    const std::string name(head.begin(), head.end());
    EXPECT_EQ(SteppedUp(c.text), c.up) << name;
    EXPECT_EQ(SteppedDown(c.text), c.down) << name;
  }
}

}  // namespace
}  // namespace pigmentry::colour
