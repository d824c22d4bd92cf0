#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "app/form1.h"
#include "app/form1_design.h"
#include "app/on_top.h"
#include "colour/leading_number.h"

namespace pigmentry::app {

namespace {

constexpr std::int32_t kArgumentLimit = 256;

// A window position in pixels is kept within what the system's 16-bit
// window coordinates can carry.
constexpr double kMinWindowPixel = -32768.0;
constexpr double kMaxWindowPixel = 32767.0;

constexpr int kUsageStyle = platform::kMbOkOnly + platform::kMbInformation;
constexpr const wchar_t* kUsageTitle = L"Command Line Options";

struct Option {
  std::wstring key;  // lower case
  std::wstring_view value;
};

// Into `lower`, whose buffer serves every argument in turn.
void LowerAscii(std::wstring_view text, std::wstring& lower) {
  lower.assign(text);
  for (wchar_t& ch : lower) {
    if (ch >= L'A' && ch <= L'Z') {
      ch = static_cast<wchar_t>(ch - L'A' + L'a');
    }
  }
}

// The key is the text before the first "=", the value the text between the
// first and the second "=". An argument without "=" has no option in it.
bool SplitOption(std::wstring_view argument, Option& option) {
  const auto equals = argument.find(L'=');
  if (equals == std::wstring_view::npos) {
    return false;
  }
  const auto rest = argument.substr(equals + 1);
  LowerAscii(argument.substr(0, equals), option.key);
  option.value = rest.substr(0, rest.find(L'='));
  return true;
}

double PixelsFrom(std::wstring_view value) {
  const double pixels = colour::LeadingNumber(value);
  if (std::isnan(pixels)) {
    return 0.0;
  }
  return std::clamp(pixels, kMinWindowPixel, kMaxWindowPixel);
}

// The layout number rounded to a 16-bit index. A number beyond the 16-bit
// range chooses no wide layout, like any other number but 2 and 3.
std::int16_t LayoutIndexFrom(std::wstring_view value) {
  constexpr int kMin = std::numeric_limits<std::int16_t>::min();
  constexpr int kMax = std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(colour::WholeNumberIn(colour::LeadingNumber(value), kMin, kMax));
}

std::wstring UsageText(const std::wstring& exeName) {
  constexpr const wchar_t* kCrLf = L"\r\n";
  return std::wstring(L"/x=[window X coordinate]") + kCrLf + kCrLf + L"/y=[window Y coordinate]" +
         kCrLf + kCrLf + L"/layout=[1,2,3]" + kCrLf + kCrLf + L"/ontop=[0,1]" + kCrLf + kCrLf +
         L"Example: " + kCrLf + exeName + L" /x=0 /y=0 /layout=2 /ontop=1";
}

}  // namespace

void Form1::Form_Load() {
  platform::Window& me = ui_.Me();
  me.SetCaption(kAppTitle);
  OnTop::SetTopMost(me.Handle());

  const auto arguments = CommandLine::SplitCommandLine(me, kArgumentLimit);
  Option option;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const bool isOption = SplitOption(arguments[i], option);
    if (isOption && option.key == L"/x") {
      me.SetLeft(static_cast<float>(PixelsFrom(option.value) * me.TwipsPerPixelX()));
    } else if (isOption && option.key == L"/y") {
      me.SetTop(static_cast<float>(PixelsFrom(option.value) * me.TwipsPerPixelY()));
    } else if (isOption && option.key == L"/layout") {
      std::int16_t index = LayoutIndexFrom(option.value);
      mnuOptView_Click(index);
    } else if (isOption && option.key == L"/ontop") {
      if (colour::LeadingNumber(option.value) == 0.0) {
        mnuOptTop_Click();
      }
    } else {
      // The window closes before it is ever shown; nothing after this
      // argument is read.
      me.MsgBox(UsageText(me.ExeName()), kUsageStyle, kUsageTitle);
      me.Unload();
      return;
    }
  }
}

}  // namespace pigmentry::app
