// LeadingNumber, RoundHalfEven, WholeNumberIn and DecimalText.
#include "colour/leading_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace pigmentry::colour {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();

struct NumberCase {
  std::wstring text;
  double expected;
};

std::ostream& operator<<(std::ostream& out, const NumberCase& c) {
  return out << '"' << std::string(c.text.begin(), c.text.end()) << '"';
}

class LeadingNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberTheTextBeginsWith) {
  const double value = LeadingNumber(GetParam().text);
  EXPECT_EQ(value, GetParam().expected);
  EXPECT_TRUE(std::isfinite(value));
  EXPECT_FALSE(std::signbit(value) && value == 0) << "zero must be +0";
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, LeadingNumberTest,
    ::testing::Values(
        // No number at all.
        NumberCase{L"", 0}, NumberCase{L"abc", 0}, NumberCase{L".", 0}, NumberCase{L"-", 0},
        NumberCase{L"--5", 0}, NumberCase{L"+-5", 0}, NumberCase{L"e5", 0}, NumberCase{L"NaN", 0},
        NumberCase{L"inf", 0}, NumberCase{L"Infinity", 0},
        NumberCase{L"\u0663", 0},  // a digit of another script is not a digit here
        // Whole numbers, stopping at the first character that cannot continue.
        NumberCase{L"12a", 12}, NumberCase{L"007", 7}, NumberCase{L"300", 300},
        NumberCase{L"-5", -5}, NumberCase{L"+7", 7}, NumberCase{L"1,5", 1},
        NumberCase{std::wstring(L"1\0"
                                L"2",
                                3),
                   1},
        // Blanks, tabs and line feeds are skipped wherever they stand; other
        // white space is not.
        NumberCase{L" 5", 5}, NumberCase{L"1 2 3", 123}, NumberCase{L"\t\n1\n2 ", 12},
        NumberCase{L"- 5", -5}, NumberCase{L"1 . 5", 1.5}, NumberCase{L"1 e 2", 100},
        NumberCase{L"\r5", 0}, NumberCase{L"1\r2", 1}, NumberCase{L"\u00a05", 0},
        // Fractions: one decimal point, whatever the locale.
        NumberCase{L"2.5", 2.5}, NumberCase{L"3.5", 3.5}, NumberCase{L"1.2.3", 1.2},
        NumberCase{L".5", 0.5}, NumberCase{L"-.5", -0.5}, NumberCase{L"5.", 5},
        NumberCase{L"0.1", 0.1}, NumberCase{L"0.000000000000000000001", 1e-21},
        NumberCase{L"123456789012345678901234567890", 123456789012345678901234567890.0},
        // Exponents with E or D, either case.
        NumberCase{L"9e9", 9e9}, NumberCase{L"1E+3", 1000}, NumberCase{L"1D3", 1000},
        NumberCase{L"1d-2", 0.01}, NumberCase{L"1.5e2", 150}, NumberCase{L"1e", 1},
        NumberCase{L"1e+", 1}, NumberCase{L"1ex", 1}, NumberCase{L"1e2.5", 100},
        NumberCase{L"1e-5x", 1e-5}, NumberCase{L"4.9e-324", 4.9e-324},
        NumberCase{L"1.7976931348623157e308", kMax},
        // Zero of either sign is +0.
        NumberCase{L"-0", 0}, NumberCase{L"-0.0e5", 0}, NumberCase{L"-1e-9999", 0},
        // Too large for a double: the largest finite double of its sign.
        NumberCase{L"9e9999", kMax}, NumberCase{L"-9e9999", -kMax}, NumberCase{L"2e308", kMax},
        NumberCase{L"1e400000000000000000000000", kMax}, NumberCase{L"1e-9999", 0},
        NumberCase{L"1" + std::wstring(400, L'0'), kMax},
        NumberCase{L"0." + std::wstring(400, L'0') + L"1e401", 1}));

INSTANTIATE_TEST_SUITE_P(
    HexAndOctal, LeadingNumberTest,
    ::testing::Values(NumberCase{L"&HFF", 255}, NumberCase{L"&hff", 255},
                      NumberCase{L"&H7FFF", 32767}, NumberCase{L"&H8000", -32768},
                      NumberCase{L"&HFFFF", -1}, NumberCase{L"&H0FFFF", -1},
                      NumberCase{L"&H10000", 65536}, NumberCase{L"&HFFFFFFFF", 4294967295.0},
                      NumberCase{L"&O17", 15}, NumberCase{L"&o177777", -1},
                      NumberCase{L"&O200000", 65536}, NumberCase{L"&O8", 0},
                      NumberCase{L"&HFG", 15}, NumberCase{L" & H 1 F", 31}, NumberCase{L"&H", 0},
                      NumberCase{L"&", 0}, NumberCase{L"&X1", 0}, NumberCase{L"-&H10", 0},
                      NumberCase{L"&H" + std::wstring(400, L'F'), kMax}));

TEST(LeadingNumber, HugeTextsAreReadToTheEnd) {
  const std::wstring nines(1'000'000, L'9');
  EXPECT_EQ(LeadingNumber(nines), kMax);
  EXPECT_EQ(LeadingNumber(L"-" + nines), -kMax);
  EXPECT_EQ(LeadingNumber(L"0." + nines), 1.0);
  EXPECT_EQ(LeadingNumber(std::wstring(1'000'000, L' ') + L"42"), 42);
  EXPECT_EQ(LeadingNumber(L"0." + std::wstring(1'000'000, L'0') + L"5e1000000"), 0.5);
  // Digits beyond what a double can hold still decide the rounding.
  EXPECT_EQ(LeadingNumber(L"1." + std::wstring(1000, L'0') + L"1"), 1.0);
  EXPECT_EQ(LeadingNumber(L"9007199254740993" + std::wstring(1000, L'0') + L"e-1000"),
            9007199254740992.0);
  EXPECT_EQ(LeadingNumber(L"9007199254740993" + std::wstring(1000, L'0') + L"1e-1001"),
            9007199254740994.0);
}

struct RoundCase {
  double value;
  double expected;
};

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const std::vector<RoundCase> cases = {{2.5, 2},
                                        {3.5, 4},
                                        {0.5, 0},
                                        {1.5, 2},
                                        {-2.5, -2},
                                        {-3.5, -4},
                                        {-0.5, 0},
                                        {2.4999, 2},
                                        {2.5000001, 3},
                                        {-2.6, -3},
                                        {254.5, 254},
                                        {255.5, 256},
                                        {1e300, 1e300},
                                        {0.49999999999999994, 0},
                                        {4503599627370497.0, 4503599627370497.0},
                                        {-0.0, 0},
                                        {kMax, kMax},
                                        {-kMax, -kMax}};
  for (const auto& c : cases) {
    const double rounded = RoundHalfEven(c.value);
    EXPECT_EQ(rounded, c.expected) << c.value;
    EXPECT_FALSE(std::signbit(rounded) && rounded == 0) << c.value;
  }
}

TEST(WholeNumberIn, RoundsThenBoundsAnyDouble) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const std::vector<RoundCase> cases = {{254.5, 254},
                                        {253.5, 254},
                                        {255.5, 255},
                                        {300, 255},
                                        {-5, 0},
                                        {-0.5, 0},
                                        {1e300, 255},
                                        {-1e300, 0},
                                        {kInf, 255},
                                        {-kInf, 0},
                                        {kMax, 255},
                                        {0.4, 0},
                                        {std::numeric_limits<double>::quiet_NaN(), 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(WholeNumberIn(c.value, 0, 255), c.expected) << c.value;
  }
  EXPECT_EQ(WholeNumberIn(-40000.5, -32768, 32767), -32768);
  EXPECT_EQ(WholeNumberIn(-100.5, -32768, 32767), -100);
}

TEST(DecimalText, WritesPlainDigitsThatReadBackExactly) {
  const std::vector<std::pair<double, std::wstring>> cases = {
      {255, L"255"},
      {-1, L"-1"},
      {3.5, L"3.5"},
      {-0.0, L"0"},
      {0.1, L"0.1"},
      {1e21, L"1000000000000000000000"},
      {2.220446049250313e-16, L"0.0000000000000002220446049250313"},
      {std::numeric_limits<double>::quiet_NaN(), L"0"}};
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(DecimalText(value), text) << value;
  }
  for (const double value :
       {255.0, -1.0, 3.5, 0.1, 1.0 / 3.0, 256.0 - 1e-13, 4.9e-324, kMax, -kMax, 123456.789}) {
    EXPECT_EQ(LeadingNumber(DecimalText(value)), value) << value;
  }
}

}  // namespace
}  // namespace pigmentry::colour
