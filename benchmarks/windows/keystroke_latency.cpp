// Keystroke latency of the real window: types into the running Pigmentry.exe
// (WM_CHAR to the focused field, as the end-to-end tests do) and waits until
// the other fields and the swatch show the new colour. The fields' figure is
// the time the program takes to handle the character with its whole chain;
// the swatch's adds its painting, seen on the screen. Median and 99th
// percentile over many keystrokes, in the hexadecimal and in a decimal field.
//
// The floor, in the same run: the same keystroke, sent and waited for in the
// same way, into a plain edit control with no handler (the hexadecimal
// field's twin in startup_reference.exe, a window with the same manifest
// and controls). The budget: Pigmentry's 99th percentile at most 1.3 times
// the floor's plus the cost of the chain's own text writes (each keystroke
// changes the text of one other field: a text sent to another plain edit of
// the reference, which includes the round trip from this process).
//
//   keystroke_latency.exe [keystrokes]   (1000 of each unless given)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "figure_line.h"
#include "support/harness.h"

namespace {

using pigmentry::bench::Figure;
using pigmentry::e2e::RunningProgram;
using pigmentry::e2e::TextOf;
using pigmentry::platform::ControlId;
using Clock = std::chrono::steady_clock;

// The swatch's colour as the screen shows it, or CLR_INVALID where the
// screen cannot be read.
COLORREF SwatchPixel(HWND swatch) {
  RECT box{};
  ::GetWindowRect(swatch, &box);
  HDC screen = ::GetDC(nullptr);
  const COLORREF pixel = ::GetPixel(screen, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
  ::ReleaseDC(nullptr, screen);
  return pixel;
}

struct Percentiles {
  double median = 0;
  double p99 = 0;
  double spread = 0;  // half the interquartile range
};

Percentiles PercentilesOf(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const auto at = [&](double share) {
    return samples[std::min(samples.size() - 1, static_cast<std::size_t>(share * samples.size()))];
  };
  return {at(0.5), at(0.99), (at(0.75) - at(0.25)) / 2};
}

struct Figures {
  // Until the other fields and the swatch show the keystroke.
  Percentiles shown;
  bool swatchSeen;
  // Until the send returns: the field and its whole chain have handled it,
  // every field holds the new text.
  Percentiles fields;
};

// What a run of keystrokes types and waits for: `prepare` readies the
// program, `focus` gives the edit the focus; `edit` then gets the
// keystrokes, `watched` must read `expected(digit)` after each and the
// swatch show `colour(digit)`.
struct Typing {
  std::function<void()> prepare;
  std::function<void(HWND)> focus;
  HWND edit;
  HWND watched;
  HWND swatch;
  std::wstring start;
  const wchar_t* digits;
  std::function<std::wstring(wchar_t)> expected;
  std::function<COLORREF(wchar_t)> colour;
};

struct Samples {
  std::vector<double> shown;
  std::vector<double> fields;
};

// Types `count` keystrokes into the edit, each replacing its last character
// with one of the digits in turn, and times each until the watched control
// reads what the keystroke makes of it and the swatch has the colour.
void TypeBlock(const Typing& typing, std::size_t count, bool screenReadable, Samples& samples) {
  typing.prepare();
  typing.focus(typing.edit);
  ::SendMessageW(typing.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typing.start.c_str()));
  const auto length = static_cast<LPARAM>(typing.start.size());
  for (std::size_t i = 0; i < count; ++i) {
    const wchar_t digit = typing.digits[i % 2];
    ::SendMessageW(typing.edit, EM_SETSEL, static_cast<WPARAM>(length - 1), length);
    const std::wstring want = typing.expected(digit);
    const COLORREF colour = typing.colour(digit);
    const auto begin = Clock::now();
    // Sent, not posted: the send returns once the field and its whole chain
    // have handled the character, so the time is the program's and not that
    // of this process polling for it.
    ::SendMessageW(typing.edit, WM_CHAR, digit, 1);
    samples.fields.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    const auto timeout = begin + std::chrono::seconds(5);
    while (TextOf(typing.watched) != want && Clock::now() < timeout) {
    }
    while (screenReadable && SwatchPixel(typing.swatch) != colour && Clock::now() < timeout) {
    }
    if (Clock::now() >= timeout) {
      std::printf("a keystroke was not shown within 5 s\n");
      std::exit(1);
    }
    samples.shown.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
  }
}

// `count` keystrokes of each typing, in blocks that take turns, so that a
// busy moment of the machine falls on all of them alike.
std::vector<Figures> MeasureInTurns(const std::vector<Typing>& typings, std::size_t count) {
  constexpr std::size_t kBlocks = 10;
  std::vector<Samples> samples(typings.size());
  std::vector<bool> screenReadable;
  for (const Typing& typing : typings) {
    screenReadable.push_back(SwatchPixel(typing.swatch) != CLR_INVALID);
  }
  for (std::size_t block = 0; block < kBlocks; ++block) {
    const std::size_t keystrokes = count * (block + 1) / kBlocks - count * block / kBlocks;
    for (std::size_t i = 0; i < typings.size(); ++i) {
      TypeBlock(typings[i], keystrokes, screenReadable[i], samples[i]);
    }
  }
  std::vector<Figures> figures;
  for (std::size_t i = 0; i < typings.size(); ++i) {
    figures.push_back(
        {PercentilesOf(samples[i].shown), screenReadable[i], PercentilesOf(samples[i].fields)});
  }
  return figures;
}

// What one look costs (a field's text and the swatch's pixel, with
// nothing changing): the measurement's own floor.
Percentiles LookCost(HWND watched, HWND swatch, std::size_t count) {
  const bool screenReadable = SwatchPixel(swatch) != CLR_INVALID;
  std::vector<double> samples;
  for (std::size_t i = 0; i < count; ++i) {
    const auto begin = Clock::now();
    static_cast<void>(TextOf(watched));
    if (screenReadable) {
      SwatchPixel(swatch);
    }
    samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
  }
  return PercentilesOf(samples);
}

// A text sent to a control from here, until the program has handled it:
// `control`'s whole chain runs inside the send. Sent to a control without
// a handler, it is the cost of the write and the round trip alone.
Percentiles SentTextCost(HWND control, std::size_t count, const wchar_t* first,
                         const wchar_t* second) {
  std::vector<double> samples;
  for (std::size_t i = 0; i < count; ++i) {
    const wchar_t* text = i % 2 == 0 ? first : second;
    const auto begin = Clock::now();
    ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
  }
  return PercentilesOf(samples);
}

// The child of `parent` of the given class whose text is `text`.
HWND ChildWithText(HWND parent, const wchar_t* className, const wchar_t* text) {
  for (HWND child = ::FindWindowExW(parent, nullptr, className, nullptr); child != nullptr;
       child = ::FindWindowExW(parent, child, className, nullptr)) {
    if (TextOf(child) == text) {
      return child;
    }
  }
  return nullptr;
}

void Print(const char* what, const Figures& figures, std::size_t count) {
  std::printf("%-38s median %6.3f ms, 99th percentile %6.3f ms until every field shows it\n", what,
              figures.fields.median, figures.fields.p99);
  std::printf(
      "%-38s median %6.3f ms, 99th percentile %6.3f ms until the swatch too%s (%zu keystrokes)\n",
      "", figures.shown.median, figures.shown.p99,
      figures.swatchSeen ? "" : " (the swatch not read: no screen)", count);
}

void PrintFigures(const char* name, const Figures& figures) {
  const std::string base = std::string("keystroke.") + name;
  const auto print = [&](const char* what, const Percentiles& values) {
    const std::string median = base + "." + what + ".median";
    const std::string p99 = base + "." + what + ".p99";
    Figure(median.c_str(), values.median, "ms").Spread(values.spread);
    Figure(p99.c_str(), values.p99, "ms");
  };
  print("fields", figures.fields);
  print("shown", figures.shown);
}

// Pigmentry's 99th percentile against the floor's, with its budget.
void PrintAgainstFloor(const char* name, const char* what, const Figures& ours,
                       const Figures& floor, const Percentiles& write) {
  const double budget = 1.3 * floor.fields.p99 + write.p99;
  std::printf(
      "%s: 99th percentile %6.3f ms, floor %6.3f ms (%.2f times), budget 1.3 x floor + one "
      "text write (%5.3f ms) = %6.3f ms: %s\n",
      what, ours.fields.p99, floor.fields.p99, ours.fields.p99 / floor.fields.p99, write.p99,
      budget, ours.fields.p99 <= budget ? "within" : "OVER");
  const std::string figure = std::string("keystroke.") + name + ".fields.p99_against_floor";
  Figure(figure.c_str(), ours.fields.p99, "ms").Reference(floor.fields.p99).Budget(budget);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000;
  RunningProgram program(L"/x=20 /y=20");
  if (program.WaitForWindow() == nullptr) {
    std::printf("the program did not start\n");
    return 1;
  }
  // The floor: the twin of the hexadecimal field in the reference window,
  // watched itself; its swatch never changes, so the wait looks at it once.
  RunningProgram reference(L"startup_reference.exe", L"PigmentryStartupReference", L"");
  if (reference.WaitForWindow() == nullptr) {
    std::printf("the reference program did not start\n");
    return 1;
  }
  // Beside Pigmentry's window, where neither covers the other's swatch.
  ::SetWindowPos(reference.Window(), nullptr, 400, 20, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  reference.Sync();
  HWND plainEdit = ChildWithText(reference.Window(), L"Edit", L"FFFFFF");
  HWND plainSwatch = ChildWithText(reference.Window(), L"Static", L"");
  if (plainEdit == nullptr || plainSwatch == nullptr) {
    std::printf("the reference window has no field like the hexadecimal one\n");
    return 1;
  }
  const COLORREF plainColour = SwatchPixel(plainSwatch);

  const auto focusPigmentry = [&](HWND edit) { program.Focus(edit); };
  HWND swatch = program.Control(ControlId::lblColor);
  HWND txtHex = program.Control(ControlId::txtHex);
  const std::vector<Typing> typings = {
      // "FFFF0" and a last digit 1 or 2: blue 241 or 242.
      {[] {}, focusPigmentry, txtHex, program.Control(ControlId::txtC2), swatch, L"FFFFF0", L"12",
       [](wchar_t digit) { return std::wstring(digit == L'1' ? L"241" : L"242"); },
       [](wchar_t digit) { return RGB(255, 255, digit == L'1' ? 241 : 242); }},
      // Blue 242 (typed while the hexadecimal field still has the focus),
      // then "25" and a last digit 1 or 2 in the red field: hexadecimal FB
      // or FC.
      {[&] { ::SendMessageW(txtHex, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"FFFFF2")); },
       focusPigmentry, program.Control(ControlId::txtC0), txtHex, swatch, L"250", L"12",
       [](wchar_t digit) { return std::wstring(digit == L'1' ? L"FBFFF2" : L"FCFFF2"); },
       [](wchar_t digit) { return RGB(digit == L'1' ? 251 : 252, 255, 242); }},
      {[] {}, [&](HWND edit) { reference.Focus(edit); }, plainEdit, plainEdit, plainSwatch,
       L"FFFFF0", L"12", [](wchar_t digit) { return std::wstring(L"FFFFF") + digit; },
       [&](wchar_t /*digit*/) { return plainColour; }},
  };
  const std::vector<Figures> measured = MeasureInTurns(typings, count);
  const Figures& hex = measured[0];
  const Figures& decimal = measured[1];
  const Figures& floor = measured[2];

  const Percentiles look = LookCost(program.Control(ControlId::txtC2), swatch, count);
  const Percentiles label =
      SentTextCost(program.Control(ControlId::Label1), count, L"Get", L"Get Color:");
  const Percentiles chain = SentTextCost(txtHex, count, L"FFFFF1", L"FFFFF2");
  // The chain's own write: a text sent to another plain edit, one without
  // the focus, as the chain's fields are.
  HWND otherEdit = ChildWithText(reference.Window(), L"Edit", L"255");
  const Percentiles write =
      SentTextCost(otherEdit != nullptr ? otherEdit : plainEdit, count, L"241", L"242");
  program.Close();
  reference.Close();

  Print("Typed hexadecimal digit, under Wine", hex, count);
  Print("Typed decimal digit, under Wine", decimal, count);
  Print("Floor: typed into a plain edit", floor, count);
  std::printf(
      "Reference: one look at a field and the swatch, median %6.3f ms, 99th percentile "
      "%6.3f ms\n",
      look.median, look.p99);
  std::printf(
      "Reference: a text sent to a label (no handler), median %6.3f ms, 99th percentile "
      "%6.3f ms; to a plain edit (no handler), median %6.3f ms, 99th percentile %6.3f ms; to "
      "the hexadecimal field (its chain inside the send), median %6.3f ms, 99th percentile "
      "%6.3f ms\n",
      label.median, label.p99, write.median, write.p99, chain.median, chain.p99);
  PrintAgainstFloor("hex", "Typed hexadecimal digit", hex, floor, write);
  PrintAgainstFloor("decimal", "Typed decimal digit    ", decimal, floor, write);

  PrintFigures("hex", hex);
  PrintFigures("decimal", decimal);
  PrintFigures("floor", floor);
  Figure("keystroke.look.median", look.median, "ms").Spread(look.spread);
  Figure("keystroke.sent_text.label.median", label.median, "ms").Spread(label.spread);
  Figure("keystroke.sent_text.plain_edit.median", write.median, "ms").Spread(write.spread);
  Figure("keystroke.sent_text.plain_edit.p99", write.p99, "ms");
  Figure("keystroke.sent_text.hex_chain.median", chain.median, "ms").Spread(chain.spread);
  return 0;
}
