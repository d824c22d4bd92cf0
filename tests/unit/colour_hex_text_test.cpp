// The hexadecimal field's text: cleaning, validity, digit pairs and padding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colour/hex_text.h"

namespace pigmentry::colour {
namespace {

std::string Narrow(const std::wstring& text) {
  const std::wstring head = text.substr(0, 40);
  return {head.begin(), head.end()};
}

TEST(CleanHexText, RemovesEveryHashAndNothingElse) {
  EXPECT_EQ(CleanHexText(L"#00FF00"), L"00FF00");
  EXPECT_EQ(CleanHexText(L"12#3456"), L"123456");
  EXPECT_EQ(CleanHexText(L"##A#"), L"A");
  EXPECT_EQ(CleanHexText(L"#"), L"");
  EXPECT_EQ(CleanHexText(L"&h FF"), L"&h FF");
}

TEST(IsValidHexText, DigitsOnlyValueWithin32BitsLengthWithin32767) {
  const std::vector<std::pair<std::wstring, bool>> cases = {
      {L"", false},
      {L"F", true},
      {L"ff0080", true},
      {L"aBcDeF", true},
      {L"FFFFFFFF", true},
      {L"100000000", false},
      {L"FFFFFFFFF", false},
      {L"000000000F", true},  // leading zeros add nothing to the value
      {L"G", false},
      {L" FF", false},
      {L"FF ", false},
      {L"&hFF", false},
      {L"-1", false},
      {L"\uFF10", false},  // a full-width digit
      {std::wstring(32767, L'0'), true},
      {std::wstring(32768, L'0'), false},
      {std::wstring(32759, L'0') + L"FFFFFFFF", true},
      {std::wstring(32760, L'0') + L"FFFFFFFF", false},
  };
  for (const auto& [text, valid] : cases) {
    EXPECT_EQ(IsValidHexText(text), valid) << Narrow(text);
  }
}

TEST(DigitPairs, ReadFromTheLeftAShortLastPairIsItsOneDigit) {
  const std::vector<std::pair<std::wstring, Channels>> cases = {
      {L"F", {15, 0, 0}},         {L"FF", {255, 0, 0}},           {L"FF8", {255, 8, 0}},
      {L"FFF", {255, 15, 0}},     {L"FF80", {255, 128, 0}},       {L"FF800", {255, 128, 0}},
      {L"FF8000", {255, 128, 0}}, {L"FF80001234", {255, 128, 0}}, {L"ABC", {171, 12, 0}},
      {L"ABC000", {171, 192, 0}}, {L"123456", {18, 52, 86}},      {L"ff0080", {255, 0, 128}},
      {L"00000A", {0, 0, 10}},    {L"0000012", {0, 0, 1}},
  };
  for (const auto& [text, channels] : cases) {
    EXPECT_EQ(DigitPairs(text), channels) << Narrow(text);
  }
}

TEST(PaddedHexText, AppendsZerosUpToSixCharacters) {
  const std::vector<std::pair<std::wstring, std::wstring>> cases = {
      {L"", L"000000"},       {L"F", L"F00000"},        {L"FF", L"FF0000"}, {L"ABC", L"ABC000"},
      {L"123456", L"123456"}, {L"1234567", L"1234567"}, {L"ff", L"ff0000"},
  };
  for (const auto& [text, padded] : cases) {
    EXPECT_EQ(PaddedHexText(text), padded) << Narrow(text);
  }
}

}  // namespace
}  // namespace pigmentry::colour
