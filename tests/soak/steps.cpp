// The soak's steps: what a user does to the program, each drawn by its
// weight from the seeded random sequence, and logged for the report of a
// failure.
#include <windows.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "soak/soak.h"

namespace pigmentry::soak {

namespace {

using testing_support::ValidHex;
using testing_support::WithoutHashes;
using namespace std::chrono_literals;

constexpr const wchar_t* kTitle = L"Draw Pigmentry 11";
constexpr const wchar_t* kInvalidHex =
    L"Please enter a valid Hexadecimal string.\r\n"
    L"The following characters are valid: \r\n"
    L"0 1 2 3 4 5 6 7 8 9 A B C D E F";

constexpr std::array kFocusable = {
    ControlId::txtC0,       ControlId::txtC1,      ControlId::txtC2,       ControlId::txtHex,
    ControlId::optRGB,      ControlId::optHex,     ControlId::cmdGetPaint, ControlId::cmdGetPaper,
    ControlId::cmdSetPaint, ControlId::cmdSetPaper};

// One kind of step and how often it comes.
struct WeightedStep {
  int weight;
  void (Soak::*step)();
};

// A control's name as the log of the last steps gives it.
const char* NameOf(ControlId id) {
  static constexpr std::array kNames = {
      "optRGB",      "txtC(0)",     "txtC(1)",     "txtC(2)", "optHex", "txtHex",   "cmdGetPaint",
      "cmdGetPaper", "cmdSetPaint", "cmdSetPaper", "Label1",  "Label2", "lblColor", "xLine1"};
  return kNames.at(static_cast<std::size_t>(id));
}

// Puts `text` on the clipboard as Unicode text; false when it cannot.
bool ToClipboard(const std::wstring& text) {
  bool opened = false;
  for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
    opened = ::OpenClipboard(nullptr) != FALSE;
    if (!opened) {
      ::Sleep(10);
    }
  }
  if (!opened) {
    return false;
  }
  ::EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool given = false;
  if (memory != nullptr) {
    if (void* data = ::GlobalLock(memory)) {
      std::memcpy(data, text.c_str(), bytes);
      ::GlobalUnlock(memory);
      given = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!given) {
      ::GlobalFree(memory);  // the clipboard owns it only once given
    }
  }
  ::CloseClipboard();
  return given;
}

// The pointer in the screen's far corner, away from the program's window
// and anything it opens.
void PointerAside() {
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
}

// Keys pressed as the keyboard does: into the input queue, in order with the
// mouse, to whatever has the focus.
void PressKeysAsInput(const std::vector<WORD>& keys) {
  std::vector<INPUT> input;
  for (const WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    input.push_back(down);
    input.push_back(up);
  }
  ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

}  // namespace

wchar_t Soak::RandomChar() {
  static constexpr std::wstring_view kAlphabet = L"0123456789abcdefABCDEFG#-+.eE &hHxz";
  if (Pick(12) == 0) {
    // Any printable unit, also outside the Latin range.
    const int unit = 0xA0 + Pick(0xD800 - 0xA0);
    return static_cast<wchar_t>(unit);
  }
  return kAlphabet[static_cast<std::size_t>(Pick(static_cast<int>(kAlphabet.size())))];
}

std::wstring Soak::RandomText(int maxLength) {
  std::wstring text(static_cast<std::size_t>(Pick(maxLength + 1)), L' ');
  for (wchar_t& ch : text) {
    ch = RandomChar();
  }
  return text;
}

void Soak::DoStep(long long step) {
  // Each step with its weight: of every draw of a number below the weights'
  // sum, as many pick it as its weight, in this order.
  static constexpr auto kSteps = std::to_array<WeightedStep>({
      {3, &Soak::FocusStep},
      {1, &Soak::TabStep},
      {4, &Soak::TypeStep},
      {2, &Soak::PasteStep},
      {2, &Soak::ArrowStep},
      {1, &Soak::ModeStep},
      {2, &Soak::HostButtonStep},
      {1, &Soak::SelectionStep},
      {2, &Soak::MenuStep},
      {1, &Soak::SelectStep},
      {1, &Soak::TypeChannelStep},
  });
  static constexpr int kTotalWeight = [] {
    int total = 0;
    for (const WeightedStep& entry : kSteps) {
      total += entry.weight;
    }
    return total;
  }();
  stepNumber_ = step;
  int draw = Pick(kTotalWeight);
  for (const WeightedStep& entry : kSteps) {
    if (draw < entry.weight) {
      (this->*entry.step)();
      return;
    }
    draw -= entry.weight;
  }
}

void Soak::FocusStep() {
  const ControlId id = kFocusable.at(static_cast<std::size_t>(Pick(kFocusable.size())));
  Log(std::string("focus ") + NameOf(id));
  program_->Focus(Control(id));
}

void Soak::KeyStep(UINT key, const char* name) {
  Log(std::string("key ") + name);
  program_->PressKey(key);
}

void Soak::TabStep() { KeyStep(VK_TAB, "Tab"); }

void Soak::ArrowStep() {
  static constexpr std::array<std::pair<UINT, const char*>, 8> kKeys = {{{VK_UP, "Up"},
                                                                         {VK_DOWN, "Down"},
                                                                         {VK_LEFT, "Left"},
                                                                         {VK_RIGHT, "Right"},
                                                                         {VK_HOME, "Home"},
                                                                         {VK_END, "End"},
                                                                         {VK_DELETE, "Delete"},
                                                                         {VK_BACK, "Backspace"}}};
  const auto& [key, name] = kKeys.at(static_cast<std::size_t>(Pick(kKeys.size())));
  // The program's own TranslateMessage turns Backspace into its character.
  KeyStep(key, name);
}

std::wstring Soak::AfterReplacing(HWND edit, const std::wstring& inserted) const {
  std::wstring text = e2e::TextOf(edit);
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageTimeoutW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end), SMTO_NORMAL, 5000, nullptr);
  start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
  end = std::min<DWORD>(std::max(start, end), static_cast<DWORD>(text.size()));
  return text.substr(0, start) + inserted + text.substr(end);
}

bool Soak::RefusedInHexField(const std::wstring& after) const {
  return IsChecked(ControlId::optHex) && !after.empty() && !ValidHex(WithoutHashes(after));
}

void Soak::EnterText(const std::wstring& text, bool paste) {
  const auto field = FocusedField();
  if (!field) {
    // Nothing to type into: the key goes to a button or option button.
    if (!paste) {
      ::PostMessageW(program_->Focused(), WM_CHAR, text.at(0), 1);
      Answering();
    }
    return;
  }
  HWND edit = Control(*field);
  const bool refused = *field == ControlId::txtHex && RefusedInHexField(AfterReplacing(edit, text));
  if (paste) {
    if (!ToClipboard(text)) {
      throw Failure("cannot put the text on the clipboard");
    }
    ::PostMessageW(edit, WM_PASTE, 0, 0);
  } else {
    ::PostMessageW(edit, WM_CHAR, text.at(0), 1);
  }
  Answering();
  HWND box = refused ? e2e::WaitForMessageBox(program_->ProcessId(), kTitle, 5s) : OpenMessageBox();
  if (refused && box == nullptr) {
    throw Failure("no message box for refused hexadecimal text");
  }
  if (box != nullptr) {
    if (!refused) {
      throw Failure("a message box for accepted text: \"" + Narrow(e2e::TextOf(box)) + "\"");
    }
    Dismiss(box);
  }
}

void Soak::Dismiss(HWND box) {
  if (e2e::TextOf(box) != kTitle || e2e::MessageBoxText(box) != kInvalidHex) {
    throw Failure("unexpected message box \"" + Narrow(e2e::TextOf(box)) + "\": \"" +
                  Narrow(e2e::MessageBoxText(box), 200) + "\"");
  }
  ++messageBoxes_;
  e2e::PressOk(box);
  if (!e2e::WaitUntil([&] { return ::IsWindow(box) == FALSE || !::IsWindowVisible(box); }, 5s)) {
    throw Failure("the message box did not close");
  }
  Answering();
}

void Soak::TypeStep() {
  const std::wstring text = RandomText(4);
  Log("type \"" + Narrow(text) + "\"");
  for (const wchar_t ch : text) {
    EnterText(std::wstring(1, ch), false);
  }
}

void Soak::TypeChannelStep() {
  const ControlId id = kFocusable.at(static_cast<std::size_t>(Pick(3)));
  const int value = Pick(2) == 0 ? Pick(256) : Pick(2000) - 1000;
  const std::wstring text = std::to_wstring(value);
  Log(std::string("focus ") + NameOf(id) + ", type \"" + Narrow(text) + "\"");
  program_->Focus(Control(id));
  program_->SelectAll(Control(id));
  for (const wchar_t ch : text) {
    EnterText(std::wstring(1, ch), false);
  }
}

void Soak::PasteStep() {
  std::wstring text;
  if (Pick(40) == 0) {
    // Around the longest hexadecimal text the field takes.
    const std::size_t length = 32000 + static_cast<std::size_t>(Pick(1000));
    text.assign(length, Pick(2) == 0 ? L'0' : RandomChar());
  } else {
    text = RandomText(12);
    // Clipboard text ends at its first NUL, and a single-line field keeps
    // only its first line: neither is this program's rule.
    if (text.empty()) {
      text = L"#";
    }
  }
  const bool all = Pick(2) == 0;
  Log(std::string("paste ") + (all ? "over all " : "") + "\"" + Narrow(text) + "\"");
  if (all) {
    if (const auto field = FocusedField()) {
      program_->SelectAll(Control(*field));
    }
  }
  EnterText(text, true);
}

void Soak::SelectStep() {
  const int start = Pick(8);
  const int length = Pick(8);
  Log("select " + std::to_string(start) + "+" + std::to_string(length));
  if (const auto field = FocusedField()) {
    ::SendMessageTimeoutW(Control(*field), EM_SETSEL, static_cast<WPARAM>(start),
                          static_cast<LPARAM>(start + length), SMTO_NORMAL, 5000, nullptr);
  }
}

void Soak::ModeStep() {
  const ControlId id = Pick(2) == 0 ? ControlId::optRGB : ControlId::optHex;
  Log(std::string("click ") + NameOf(id));
  ::PostMessageW(Control(id), BM_CLICK, 0, 0);
  Answering();
}

void Soak::HostButtonStep() {
  static constexpr std::array kButtons = {ControlId::cmdGetPaint, ControlId::cmdGetPaper,
                                          ControlId::cmdSetPaint, ControlId::cmdSetPaper};
  const ControlId id = kButtons.at(static_cast<std::size_t>(Pick(kButtons.size())));
  const bool fill = id == ControlId::cmdGetPaint || id == ControlId::cmdSetPaint;
  const bool set = id == ControlId::cmdSetPaint || id == ControlId::cmdSetPaper;
  std::string selection;
  for (const std::size_t index : drawing_.selection) {
    selection += " " + std::to_string(index + 1);
  }
  Log(std::string("click ") + NameOf(id) + " (selection" + selection + ")");
  const Channels before = ChannelsOnceTheFocusLeaves();
  Answering();
  if (!program_->ClickHostButton(id, 30s)) {
    throw Failure("a click on a host button does not end");
  }
  Answering();
  ++hostClicks_;
  if (HWND box = OpenMessageBox()) {
    throw Failure("a message box after a host button: \"" + Narrow(e2e::MessageBoxText(box), 300) +
                  "\"");
  }
  std::optional<Channels> expected;
  if (set) {
    expected = drawing_.selection.empty() ? Channels{} : before;
    drawing_.Set(fill, before);
  } else {
    expected = drawing_.Get(fill);
  }
  if (expected) {
    ++hostChecked_;
    if (!e2e::WaitUntil([&] { return FieldChannels() == *expected; }, 3s)) {
      const Channels got = FieldChannels();
      throw Failure("the fields show " + std::to_string(got[0]) + "," + std::to_string(got[1]) +
                    "," + std::to_string(got[2]) + " instead of " + std::to_string((*expected)[0]) +
                    "," + std::to_string((*expected)[1]) + "," + std::to_string((*expected)[2]));
    }
  }
  KeepDrawingAside();
}

void Soak::KeepDrawingAside() {
  HWND drawing = e2e::StandInDrawingWindow();
  if (drawing != nullptr && drawing != drawingWindow_) {
    drawingWindow_ = drawing;
    e2e::MoveStandInDrawingWindow(drawing, {20, 420});
  }
}

void Soak::SelectionStep() {
  const std::size_t index = static_cast<std::size_t>(Pick(5));
  const bool adding = Pick(2) == 0;
  Log(std::string(adding ? "ctrl+click" : "click") + " shape " + std::to_string(index + 1));
  HWND drawing = e2e::StandInDrawingWindow();
  if (drawing == nullptr) {
    Log("  (the host has not been reached yet)");
    return;
  }
  e2e::ClickStandInShape(drawing, index, adding);
  drawing_.Click(index, adding);
  Answering();
}

void Soak::MenuStep() {
  const int downs = Pick(5);  // 0 dismisses; 1 on top; 2, 3, 4 the layouts
  const bool byMouse = Pick(2) == 0;
  static constexpr std::array kItems = {"dismiss", "Always on Top", "Default Layout",
                                        "Wide Layout 1", "Wide Layout 2"};
  Log(std::string("menu by ") + (byMouse ? "right click" : "key") + ": " +
      kItems.at(static_cast<std::size_t>(downs)));
  if (byMouse) {
    RECT rect{};
    ::GetWindowRect(Control(ControlId::lblColor), &rect);
    program_->Focus(Control(ControlId::txtC0));
    e2e::RightClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  } else {
    PointerAside();
    program_->Focus(Control(ControlId::cmdGetPaint));
    program_->PressKey(VK_APPS);
  }
  HWND menu = nullptr;
  if (!e2e::WaitUntil(
          [&] {
            menu = e2e::FindVisibleWindow(program_->ProcessId(), L"#32768");
            return menu != nullptr;
          },
          5s)) {
    throw Failure("the Options menu did not open");
  }
  ++menus_;
  // A menu item is chosen with the arrow keys from no item, and any move of
  // the mouse over the menu, even onto its border, takes the highlight
  // away: a menu opened under the pointer gets such a move from the display
  // whenever it comes. So the pointer goes aside first, the program handles
  // what came before, and the keys follow as input, behind any move.
  PointerAside();
  Answering();
  Answering();
  std::vector<WORD> keys(static_cast<std::size_t>(downs), VK_DOWN);
  keys.push_back(downs == 0 ? VK_ESCAPE : VK_RETURN);
  PressKeysAsInput(keys);
  if (!e2e::WaitUntil([&] { return ::IsWindowVisible(menu) == FALSE; }, 5s)) {
    throw Failure("the Options menu did not close");
  }
  Answering();
  if (downs == 1) {
    topMost_ = !topMost_;
  } else if (downs > 1) {
    layout_ = downs - 1;
  }
}

}  // namespace pigmentry::soak
