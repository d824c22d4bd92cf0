// Starts the real Pigmentry.exe and drives it from this process, as a user
// or an assistive tool would: window messages, focus, keys, clicks.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace pigmentry::e2e {

using namespace std::chrono_literals;

// The folder this test program runs from, with a trailing backslash.
std::wstring OwnFolder();

// What the harness does with something it was asked to do and could not (a
// program that does not start): by default it is printed on stderr; the
// end-to-end tests fail the running test with it, the soak its run.
using HarnessFailure = void (*)(const std::string& what);
void OnHarnessFailure(HarnessFailure report);

// Where a program is started from: its executable and the current directory
// it is given. Empty: Pigmentry.exe beside the tests, and this process's
// current directory.
struct StartPlace {
  std::wstring program;
  std::wstring currentDirectory;
};

class RunningProgram {
 public:
  // Starts Pigmentry.exe with the given arguments; a program that cannot be
  // started is reported as a harness failure, with the system's error. Environment entries
  // ("NAME=value") are added to this process's environment for the child.
  explicit RunningProgram(const std::wstring& arguments = L"",
                          const std::vector<std::wstring>& environment = {},
                          const StartPlace& place = {});
  // Starts another program of this folder whose main window has the class
  // `windowClass` (the benchmarks' reference programs).
  RunningProgram(const std::wstring& file, std::wstring windowClass, const std::wstring& arguments);
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  ~RunningProgram();

  // The main window, once it is visible; nullptr after the timeout.
  HWND WaitForWindow(std::chrono::milliseconds timeout = 20s);
  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] HWND Control(platform::ControlId id) const;
  [[nodiscard]] DWORD ProcessId() const { return process_.dwProcessId; }
  [[nodiscard]] DWORD ThreadId() const { return process_.dwThreadId; }

  // Waits until the program has handled everything sent or posted so far.
  void Sync() const;
  // Clicks one of the four host buttons and waits until the click is over:
  // the program answers messages while it waits on the host in its other
  // process, but the host buttons are greyed until the click ends. False
  // when it has not ended within the timeout.
  bool ClickHostButton(platform::ControlId button, std::chrono::milliseconds timeout = 60s) const;
  // Ends the program by closing its window; true when it exited by itself.
  bool Close(std::chrono::milliseconds timeout = 10s);
  // Waits for the process to end; its exit code, or nothing on timeout.
  bool WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode = nullptr) const;

  // The control that has the keyboard focus in the program.
  [[nodiscard]] HWND Focused() const;
  void Focus(HWND control) const;
  // Posts typed characters to the focused control.
  void Type(const std::wstring& text) const;
  // Posts a key press and release (Tab, arrows...) to the focused control.
  void PressKey(UINT virtualKey) const;
  // Selects all text of an edit field.
  void SelectAll(HWND edit) const;

 private:
  void Start(const std::wstring& program, const std::wstring& arguments,
             const std::wstring& currentDirectory);

  std::wstring windowClass_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// Text of any window, also another process's (WM_GETTEXT).
std::wstring TextOf(HWND window);
// A window's rectangle relative to its parent's client area, in pixels.
RECT RectInParent(HWND window);
SIZE ClientSize(HWND window);
bool IsChecked(HWND button);

// A visible top-level window of a process with the given class
// ("#32770" a dialog or message box, "#32768" a pop-up menu).
HWND FindVisibleWindow(DWORD processId, const wchar_t* className);
// Moves the pointer to a screen point and clicks the right mouse button.
void RightClickAt(POINT screen);

// A message box (#32770) of the given process with the given title.
HWND WaitForMessageBox(DWORD processId, const std::wstring& title,
                       std::chrono::milliseconds timeout = 10s);
// The message text of a message box.
std::wstring MessageBoxText(HWND box);
// Presses the message box's OK (or only) button.
void PressOk(HWND box);

// Polls `condition` until it holds or the timeout passes.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = 10s) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) {
      return true;
    }
    ::Sleep(20);
  }
  return condition();
}

// For expectations on the program's state after posted input: true as soon
// as `condition` holds, false if it still fails after a few seconds.
template <typename Condition>
bool Eventually(Condition condition) {
  return WaitUntil(condition, 3s);
}

}  // namespace pigmentry::e2e
