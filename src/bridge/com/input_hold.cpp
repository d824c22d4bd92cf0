#include "bridge/com/input_hold.h"

#include <algorithm>
#include <vector>

#include "platform/win32/control_ids.h"

namespace pigmentry::bridge::com {

namespace {

// The one hold of the thread: clicks are not nested, so neither are holds.
InputHold* g_hold = nullptr;
HWND g_window = nullptr;

// What acts like the user's input when posted to a control or the window.
constexpr std::array<UINT, 8> kPostedInput = {BM_CLICK, WM_PASTE,       WM_CUT,     WM_CLEAR,
                                              WM_UNDO,  WM_CONTEXTMENU, WM_COMMAND, WM_SETTEXT};

bool IsInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         std::find(kPostedInput.begin(), kPostedInput.end(), message) != kPostedInput.end();
}

bool IsOurs(HWND target) {
  return target != nullptr && (target == g_window || IsChild(g_window, target) != FALSE);
}

void ShowWaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

// While COM waits on the host it leaves the thread's input in the queue
// (as the message filter asks); what was typed or clicked then goes now,
// before the window can see it.
void DiscardQueuedInput() {
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | PM_NOYIELD) !=
             FALSE ||
         PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE | PM_NOYIELD) !=
             FALSE) {
  }
  std::vector<MSG> others;
  for (const UINT posted : kPostedInput) {
    while (PeekMessageW(&message, nullptr, posted, posted, PM_REMOVE | PM_NOYIELD) != FALSE) {
      if (!IsOurs(message.hwnd)) {
        others.push_back(message);
      }
    }
  }
  for (const MSG& other : others) {
    PostMessageW(other.hwnd, other.message, other.wParam, other.lParam);
  }
}

}  // namespace

InputHold::InputHold(HWND window) : window_(window), focus_(GetFocus()) {
  using platform::ControlId;
  const std::array<ControlId, 4> buttons = {ControlId::cmdGetPaint, ControlId::cmdGetPaper,
                                            ControlId::cmdSetPaint, ControlId::cmdSetPaper};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons_[i] = GetDlgItem(window, platform::win32::DlgIdOf(buttons[i]));
    wereEnabled_[i] = buttons_[i] != nullptr && IsWindowEnabled(buttons_[i]) != FALSE;
    if (wereEnabled_[i]) {
      EnableWindow(buttons_[i], FALSE);
    }
  }
  g_hold = this;
  g_window = window;
  hook_ = SetWindowsHookExW(WH_GETMESSAGE, &InputHold::OnMessage, nullptr, GetCurrentThreadId());
  ShowWaitCursor();
}

InputHold::~InputHold() {
  if (hook_ != nullptr) {
    UnhookWindowsHookEx(hook_);
  }
  DiscardQueuedInput();
  g_hold = nullptr;
  g_window = nullptr;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (wereEnabled_[i]) {
      EnableWindow(buttons_[i], TRUE);
    }
  }
  // Greying the clicked button took the keyboard focus from it; a keyboard
  // user goes on from where they were.
  if (GetFocus() == nullptr && focus_ != nullptr && IsWindow(focus_) != FALSE &&
      GetActiveWindow() == window_) {
    SetFocus(focus_);
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

LRESULT CALLBACK InputHold::OnMessage(int code, WPARAM removing, LPARAM message) {
  if (code == HC_ACTION && removing == PM_REMOVE && g_hold != nullptr) {
    auto* msg = reinterpret_cast<MSG*>(message);
    if (IsInput(msg->message) && IsOurs(msg->hwnd)) {
      // Dropped: the message goes on as one that does nothing.
      msg->message = WM_NULL;
      ShowWaitCursor();
    }
  }
  return CallNextHookEx(nullptr, code, removing, message);
}

void WaitDispatching(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= milliseconds) {
      return;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - spent, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      if (message.message == WM_QUIT) {
        // For the program's own loop, after the click.
        PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace pigmentry::bridge::com
