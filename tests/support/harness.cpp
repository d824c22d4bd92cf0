#include "support/harness.h"

#include <cstdio>
#include <string>
#include <utility>

#include "platform/win32/control_ids.h"

namespace pigmentry::e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;

void PrintFailure(const std::string& what) { std::fprintf(stderr, "%s\n", what.c_str()); }

HarnessFailure g_reportFailure = &PrintFailure;

// A path for a message: its characters beyond ASCII as "?".
std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (const wchar_t ch : text) {
    narrow += ch >= 0x20 && ch < 0x7F ? static_cast<char>(ch) : '?';
  }
  return narrow;
}

// The system's text for a Win32 error, without its line break.
std::string ErrorText(DWORD error) {
  char text[512] = {};
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  return message;
}

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* title;
  bool mustBeVisible;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<WindowSearch*>(param);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (processId != search.processId) {
    return TRUE;
  }
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  if (std::wstring_view(className) != search.className) {
    return TRUE;
  }
  if (search.mustBeVisible && ::IsWindowVisible(window) == FALSE) {
    return TRUE;
  }
  if (search.title != nullptr && TextOf(window) != search.title) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

HWND FindTopWindow(DWORD processId, const wchar_t* className, const wchar_t* title,
                   bool mustBeVisible) {
  WindowSearch search{processId, className, title, mustBeVisible, nullptr};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Runs `action` with this thread's input attached to the program's, so that
// focus calls reach its windows.
template <typename Action>
void WithAttachedInput(DWORD threadId, Action action) {
  const DWORD own = ::GetCurrentThreadId();
  const bool attached = ::AttachThreadInput(own, threadId, TRUE) != FALSE;
  action();
  if (attached) {
    ::AttachThreadInput(own, threadId, FALSE);
  }
}

}  // namespace

HWND FindVisibleWindow(DWORD processId, const wchar_t* className) {
  return FindTopWindow(processId, className, nullptr, true);
}

void RightClickAt(POINT screen) {
  ::SetCursorPos(screen.x, screen.y);
  INPUT clicks[2] = {};
  clicks[0].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  clicks[1].type = INPUT_MOUSE;
  clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ::SendInput(2, clicks, sizeof(INPUT));
}

void OnHarnessFailure(HarnessFailure report) {
  g_reportFailure = report != nullptr ? report : &PrintFailure;
}

std::wstring OwnFolder() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
  path.resize(length);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

RunningProgram::RunningProgram(const std::wstring& arguments,
                               const std::vector<std::wstring>& environment,
                               const StartPlace& place)
    : windowClass_(platform::win32::kForm1ClassName) {
  for (const std::wstring& entry : environment) {
    const std::size_t equals = entry.find(L'=');
    ::SetEnvironmentVariableW(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str());
  }
  Start(place.program.empty() ? OwnFolder() + L"Pigmentry.exe" : place.program, arguments,
        place.currentDirectory);
}

RunningProgram::RunningProgram(const std::wstring& file, std::wstring windowClass,
                               const std::wstring& arguments)
    : windowClass_(std::move(windowClass)) {
  Start(OwnFolder() + file, arguments, L"");
}

void RunningProgram::Start(const std::wstring& program, const std::wstring& arguments,
                           const std::wstring& currentDirectory) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) {
    commandLine += L" " + arguments;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup,
                       &process_) == FALSE) {
    const DWORD error = ::GetLastError();
    process_ = {};
    g_reportFailure("cannot start \"" + Narrow(program) + "\": Win32 error " +
                    std::to_string(error) + " (" + ErrorText(error) + ")");
  }
}

RunningProgram::~RunningProgram() {
  if (process_.hProcess == nullptr) {
    return;
  }
  if (!WaitForExit(0ms)) {
    if (!Close(5s)) {
      ::TerminateProcess(process_.hProcess, 99);
      ::WaitForSingleObject(process_.hProcess, 5000);
    }
  }
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

HWND RunningProgram::WaitForWindow(std::chrono::milliseconds timeout) {
  if (process_.hProcess == nullptr) {
    return nullptr;
  }
  WaitUntil(
      [&] {
        window_ = FindTopWindow(process_.dwProcessId, windowClass_.c_str(), nullptr, true);
        return window_ != nullptr;
      },
      timeout);
  if (window_ != nullptr) {
    Sync();
  }
  return window_;
}

HWND RunningProgram::Control(platform::ControlId id) const {
  return ::GetDlgItem(window_, platform::win32::DlgIdOf(id));
}

void RunningProgram::Sync() const {
  // A sent message can overtake posted ones, so this narrows the wait but
  // does not close it: tests wait for the state they expect (Eventually).
  for (int i = 0; i < 3; ++i) {
    ::Sleep(5);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &result);
  }
}

bool RunningProgram::ClickHostButton(platform::ControlId button,
                                     std::chrono::milliseconds timeout) const {
  HWND control = Control(button);
  // Sent, not posted: sent messages are handled in the order they come, so
  // Sync's answer means the click has begun (the buttons are greyed from its
  // start) or has ended. A posted click could still be waiting behind Sync's
  // messages, and the greyed buttons, not yet greyed, would say it is over.
  ::SendNotifyMessageW(control, BM_CLICK, 0, 0);
  Sync();
  const bool over = WaitUntil([&] { return ::IsWindowEnabled(control) != FALSE; }, timeout);
  Sync();
  return over;
}

bool RunningProgram::Close(std::chrono::milliseconds timeout) {
  if (window_ != nullptr && ::IsWindow(window_) != FALSE) {
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
  }
  return WaitForExit(timeout);
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode) const {
  if (::WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) !=
      WAIT_OBJECT_0) {
    return false;
  }
  if (exitCode != nullptr) {
    ::GetExitCodeProcess(process_.hProcess, exitCode);
  }
  return true;
}

HWND RunningProgram::Focused() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (::GetGUIThreadInfo(process_.dwThreadId, &info) == FALSE) {
    return nullptr;
  }
  return info.hwndFocus;
}

void RunningProgram::Focus(HWND control) const {
  WithAttachedInput(process_.dwThreadId, [&] {
    ::SetForegroundWindow(window_);
    ::SetFocus(control);
  });
  Sync();
}

void RunningProgram::Type(const std::wstring& text) const {
  for (const wchar_t ch : text) {
    ::PostMessageW(Focused(), WM_CHAR, ch, 1);
    Sync();
  }
}

void RunningProgram::PressKey(UINT virtualKey) const {
  HWND target = Focused();
  const UINT scan = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  ::PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
  ::PostMessageW(target, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
  Sync();
}

void RunningProgram::SelectAll(HWND edit) const {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(edit, EM_SETSEL, 0, -1, SMTO_NORMAL, kSendTimeoutMs, &result);
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_NORMAL, kSendTimeoutMs, &copied);
  text.resize(copied);
  return text;
}

RECT RectInParent(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

bool IsChecked(HWND button) {
  DWORD_PTR state = 0;
  ::SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &state);
  return state == BST_CHECKED;
}

HWND WaitForMessageBox(DWORD processId, const std::wstring& title,
                       std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        box = FindTopWindow(processId, L"#32770", title.c_str(), false);
        return box != nullptr;
      },
      timeout);
  return box;
}

std::wstring MessageBoxText(HWND box) {
  // The message box's text is its static control 0xFFFF.
  return TextOf(::GetDlgItem(box, 0xFFFF));
}

void PressOk(HWND box) {
  HWND ok = ::GetDlgItem(box, IDOK);
  if (ok == nullptr) {
    ok = ::GetDlgItem(box, IDCANCEL);
  }
  ::PostMessageW(ok, BM_CLICK, 0, 0);
}

}  // namespace pigmentry::e2e
