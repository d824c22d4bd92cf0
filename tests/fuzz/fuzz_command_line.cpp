// Whole command lines through the real start-up on the in-memory window:
// any UTF-16 unit, blanks, tabs and quotes, up to the system's limit of
// 32,767 characters and far more than 256 arguments. After each line:
//  - the argument split reads at most 256 arguments and agrees with the
//    rules restated here;
//  - at most one usage message, exactly when one of the first 256
//    arguments is not an option, and then the window is closed;
//  - otherwise exactly one layout is checked, the one the last "/layout"
//    chose, the window has its size, and the position and the topmost band
//    are the ones the options give.
//
// The input is read as a small program so that short inputs make long
// lines: a byte below 0xF0 is that character; 0xF0-0xFB and two bytes are any
// UTF-16 unit; 0xFC and a count repeat the line so far.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "colour/leading_number.h"
#include "platform/memory/user32_memory.h"
#include "support/form_fixture.h"

namespace {

using pigmentry::platform::MenuId;

constexpr std::size_t kMaxCommandLine = 32767;
// Lines are cut at kUsualLine characters, room for four times the 256
// arguments read, except in one input in kStretchedShare, picked by a hash
// of its bytes, whose line may reach the system's limit. The repeats make
// lines of the limit from a few bytes, and the fuzzer seeks them out (the
// argument limit gives new coverage): at that length in every input they
// set the speed of the whole run (about 600 inputs a second). A share
// picked by hash keeps them in every run, the same on every replay, and
// out of most mutations.
constexpr std::size_t kUsualLine = 2048;
constexpr std::uint32_t kStretchedShare = 64;
constexpr std::size_t kArgumentLimit = 256;
constexpr float kStartLeft = 4500;
constexpr float kStartTop = 3000;
constexpr float kTwipsPerPixel = 15;  // 96 dpi
constexpr int kWidths[] = {3780, 6540, 10140};
constexpr int kHeights[] = {2040, 1215, 855};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

bool Stretched(const std::uint8_t* data, std::size_t size) {
  std::uint32_t hash = 2166136261U;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) {
    hash = (hash ^ data[i]) * 16777619U;
  }
  return hash % kStretchedShare == 0;
}

std::wstring LineOf(const std::uint8_t* data, std::size_t size, std::size_t longest) {
  std::wstring line;
  line.reserve(longest);
  for (std::size_t i = 0; i < size && line.size() < longest; ++i) {
    const std::uint8_t byte = data[i];
    if (byte < 0xF0) {
      line.push_back(static_cast<wchar_t>(byte));
    } else if (byte < 0xFC) {
      if (i + 2 >= size) break;
      line.push_back(static_cast<wchar_t>(data[i + 1] | (data[i + 2] << 8)));
      i += 2;
    } else if (byte == 0xFC) {
      if (i + 1 >= size) break;
      const std::wstring once = line;
      for (int n = 0; n <= data[i + 1] && line.size() < longest; ++n) {
        line += once;
      }
      ++i;
    }
  }
  if (line.size() > longest) {
    line.resize(longest);
  }
  return line;
}

// The arguments as the rules give them, one after another in one text
// (element 0 the spare one): no allocation per argument, which would cost
// more than all the rest of the check.
struct SplitLine {
  std::wstring text;
  std::vector<std::size_t> starts{0};

  [[nodiscard]] std::wstring_view Argument(std::size_t i) const {
    const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
    return std::wstring_view(text).substr(starts[i], end - starts[i]);
  }
  [[nodiscard]] bool operator==(const std::vector<std::wstring>& arguments) const {
    if (arguments.size() != starts.size()) return false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      if (arguments[i] != Argument(i)) return false;
    }
    return true;
  }
};

// Blanks and tabs separate arguments, quotes group and vanish; a quoted
// blank before any argument of its own joins the argument begun last.
SplitLine Split(std::wstring_view line) {
  SplitLine split;
  split.text.reserve(line.size());
  split.starts.reserve(kArgumentLimit + 1);
  bool inArgument = false;
  bool inQuotes = false;
  for (const wchar_t ch : line) {
    const bool separator = ch == L' ' || ch == L'\t';
    if (ch == L'"') {
      inQuotes = !inQuotes;
    } else if (separator && !inQuotes) {
      inArgument = false;
    } else if (separator && !inArgument) {
      split.text.push_back(ch);  // joins the argument begun last
    } else {
      if (!inArgument) {
        if (split.starts.size() - 1 == kArgumentLimit) break;
        inArgument = true;
        split.starts.push_back(split.text.size());
      }
      split.text.push_back(ch);
    }
  }
  return split;
}

// Whether `key` is `lowerName` in either case of the letters A to Z.
bool KeyIs(std::wstring_view key, std::wstring_view lowerName) {
  if (key.size() != lowerName.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    wchar_t ch = key[i];
    if (ch >= L'A' && ch <= L'Z') ch = static_cast<wchar_t>(ch + (L'a' - L'A'));
    if (ch != lowerName[i]) return false;
  }
  return true;
}

// The window the options describe.
struct Expected {
  bool usage = false;
  int layout = 1;
  float left = kStartLeft;
  float top = kStartTop;
  bool topMost = true;
};

double Pixels(std::wstring_view value) {
  const double pixels = pigmentry::colour::LeadingNumber(value);
  if (std::isnan(pixels)) return 0;
  return pixels < -32768.0 ? -32768.0 : (pixels > 32767.0 ? 32767.0 : pixels);
}

Expected ExpectedOf(const std::vector<std::wstring>& arguments) {
  Expected e;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    const auto equals = argument.find(L'=');
    if (equals == std::wstring::npos) {
      e.usage = true;
      return e;
    }
    const std::wstring_view key = std::wstring_view(argument).substr(0, equals);
    std::wstring_view value = std::wstring_view(argument).substr(equals + 1);
    value = value.substr(0, value.find(L'='));
    if (KeyIs(key, L"/x")) {
      e.left = static_cast<float>(Pixels(value) * kTwipsPerPixel);
    } else if (KeyIs(key, L"/y")) {
      e.top = static_cast<float>(Pixels(value) * kTwipsPerPixel);
    } else if (KeyIs(key, L"/layout")) {
      // Rounded to the nearest whole number, halves to even.
      const double index = std::nearbyint(pigmentry::colour::LeadingNumber(value));
      e.layout = index == 2 ? 2 : (index == 3 ? 3 : 1);
    } else if (KeyIs(key, L"/ontop")) {
      if (pigmentry::colour::LeadingNumber(value) == 0.0) e.topMost = !e.topMost;
    } else {
      e.usage = true;
      return e;
    }
  }
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring line =
      LineOf(data, size, Stretched(data, size) ? kMaxCommandLine : kUsualLine);
  pigmentry::platform::memory::ResetUser32();
  // One window serves every input, reset to its design-time state after each.
  static pigmentry::testing_support::FormFixture fx;
  const pigmentry::testing_support::ResetAfterInput reset(fx);
  auto& me = fx.form.Me();
  me.SetLeft(kStartLeft);
  me.SetTop(kStartTop);
  me.SetCommandArgs(line);
  fx.form.Load();

  const auto arguments = pigmentry::app::CommandLine::SplitCommandLine(me, 256);
  Check(arguments.size() <= kArgumentLimit + 1, "more than 256 arguments read");
  Check(Split(line) == arguments, "the split differs from the rules");

  const Expected expected = ExpectedOf(arguments);
  const auto& boxes = fx.form.MessageBoxes();
  Check(boxes.size() <= 1, "more than one message box");
  Check(boxes.size() == (expected.usage ? 1U : 0U), "usage message shown wrongly");
  Check(me.Unloaded() == expected.usage, "window closed wrongly");
  if (expected.usage) {
    Check(boxes[0].title == L"Command Line Options" && boxes[0].style == 64, "usage message");
    return 0;
  }
  int checked = 0;
  for (int i = 1; i <= 3; ++i) {
    if (fx.form.Menu(pigmentry::platform::MnuOptViewId(i)).Checked()) {
      Check(checked == 0, "more than one layout checked");
      checked = i;
    }
  }
  Check(checked == expected.layout, "the layout checked differs from the last /layout");
  Check(me.Width() == kWidths[checked - 1] && me.Height() == kHeights[checked - 1],
        "the window's size differs from its layout");
  Check(me.Left() == expected.left && me.Top() == expected.top, "the window's position");
  const bool topMost = pigmentry::platform::memory::IsTopMost(me.Handle());
  Check(topMost == expected.topMost, "the topmost band");
  Check(fx.form.Menu(MenuId::mnuOptTop).Checked() == topMost, "Always on Top check mark");
  return 0;
}
