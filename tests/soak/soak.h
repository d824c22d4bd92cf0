// The soak: a long random session with the real Pigmentry.exe, driven from
// outside as its users drive it, checked after every step (main.cpp has the
// command line). Its parts: the session with the program and the stand-in
// host (soak.cpp), the steps and how often each comes (steps.cpp), the
// checks after every step (checks.cpp), the soak's own model of the host's
// drawing (host_model.h) and the process's resource counts with the watch
// for a count that keeps growing (resources.h).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ui.h"
#include "soak/host_model.h"
#include "soak/resources.h"
#include "support/harness.h"
#include "support/hex_oracle.h"
#include "support/standin.h"

namespace pigmentry::soak {

using platform::ControlId;
using testing_support::Channels;

struct Options {
  std::uint64_t seed = 0;
  long long steps = 0;   // 0: run for `seconds`
  double seconds = 600;  // about ten minutes
  long long sample = 10000;
};

class Failure {
 public:
  explicit Failure(std::string what) : what_(std::move(what)) {}
  [[nodiscard]] const std::string& What() const { return what_; }

 private:
  std::string what_;
};

// A text for a message: its characters beyond printable ASCII escaped, cut
// after `limit` characters.
std::string Narrow(std::wstring_view text, std::size_t limit = 40);

class Soak {
 public:
  explicit Soak(const Options& options);

  // The whole session; the process's exit code.
  int Run();

 private:
  // --- The program (soak.cpp) ----------------------------------------------

  void MeasureWineCost();

  [[nodiscard]] Resources Sample() const;

  void Start();

  void Release();

  // Sends WM_NULL and waits for the answer: the program is alive and its
  // thread has handled what came before.
  void Answering() const;

  [[nodiscard]] HWND OpenMessageBox() const;
  [[nodiscard]] HWND Control(ControlId id) const { return program_->Control(id); }
  [[nodiscard]] std::wstring Text(ControlId id) const { return e2e::TextOf(Control(id)); }
  [[nodiscard]] bool IsChecked(ControlId id) const { return e2e::IsChecked(Control(id)); }

  // Which edit field has the focus, if any.
  [[nodiscard]] std::optional<ControlId> FocusedField() const;

  // The decimal fields' channels, -1 for a field that holds no channel.
  [[nodiscard]] Channels FieldChannels() const;

  // The colour once a click has taken the focus: leaving the hexadecimal
  // field fills a short entry with zeros on the right, which changes it.
  [[nodiscard]] Channels ChannelsOnceTheFocusLeaves() const;

  // Keeps a line about the step under way, for the report of a failure.
  void Log(const std::string& line);

  // --- Steps (steps.cpp) ---------------------------------------------------

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  wchar_t RandomChar();

  std::wstring RandomText(int maxLength);

  // One step, drawn from the table of steps by their weights.
  void DoStep(long long step);

  void FocusStep();
  void TabStep();

  void KeyStep(UINT key, const char* name);

  void ArrowStep();

  // The text the focused field will hold once `inserted` replaces its
  // selection.
  [[nodiscard]] std::wstring AfterReplacing(HWND edit, const std::wstring& inserted) const;

  // Whether the change leaves text that the hexadecimal field refuses.
  [[nodiscard]] bool RefusedInHexField(const std::wstring& after) const;

  // One change of the focused field, typed (a character) or pasted; checks
  // that the message box comes exactly when the field refuses the text.
  void EnterText(const std::wstring& text, bool paste);

  void Dismiss(HWND box);

  void TypeStep();

  // A whole number, sometimes beyond a channel or with a sign, typed over a
  // decimal field's text.
  void TypeChannelStep();

  void PasteStep();

  // Selects part of the focused field's text, as with the mouse.
  void SelectStep();

  void ModeStep();

  void HostButtonStep();

  // The host's window opens with its first object, wherever Wine puts it.
  void KeepDrawingAside();

  void SelectionStep();

  // The Options menu, opened with a right click on the swatch or with the
  // context-menu key on a button; an item is chosen or the menu dismissed.
  void MenuStep();

  // --- Checks after every step (checks.cpp) --------------------------------

  void Check(long long step);

  void CheckColour();

  void CheckWindow();

  void CheckSwatch();

  Options options_;
  std::mt19937_64 random_;
  e2e::StandInHost host_;
  std::unique_ptr<e2e::RunningProgram> program_;
  HANDLE process_ = nullptr;
  HWND drawingWindow_ = nullptr;
  DrawingModel drawing_;
  int layout_ = 1;
  bool topMost_ = true;
  LeakWatch leaks_;
  // Of what Wine keeps per host object in a client with nothing else, a
  // quarter more is allowed. The program's own handles are what is left
  // when its host objects are counted out that way: a program that kept a
  // handle more than that for each would leave more and more.
  static constexpr double kAllowance = 1.25;
  double handlesPerHostObject_ = 0;
  std::deque<std::string> lastSteps_;
  long long stepNumber_ = 0;
  long long hostClicks_ = 0;
  long long hostChecked_ = 0;
  long long messageBoxes_ = 0;
  long long menus_ = 0;
};

}  // namespace pigmentry::soak
