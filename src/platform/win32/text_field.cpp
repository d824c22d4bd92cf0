#include "platform/win32/text_field.h"

#include <algorithm>

#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

void Win32TextField::SetText(const std::wstring& text) {
  if (text == Text()) {
    return;
  }
  const bool outer = writing_;
  writing_ = true;
  SetWindowText(text);
  writing_ = outer;
  Form().Events().Change(Id());
}

std::pair<int, int> Win32TextField::Selection() const {
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageW(Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

int Win32TextField::SelStart() const { return Selection().first; }

int Win32TextField::SelLength() const {
  const auto [start, end] = Selection();
  return end - start;
}

void Win32TextField::SetSelStart(int start) {
  ::SendMessageW(Hwnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
}

void Win32TextField::SetSelLength(int length) {
  const int start = SelStart();
  ::SendMessageW(Hwnd(), EM_SETSEL, static_cast<WPARAM>(start),
                 static_cast<LPARAM>(start) + std::max(length, 0));
}

void Win32TextField::OnNotify(UINT code) {
  if (code == EN_CHANGE && !writing_) {
    Form().Events().Change(Id());
  }
}

std::optional<LRESULT> Win32TextField::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_KEYDOWN) {
    return std::nullopt;
  }
  // The handler may consume the key by setting its code to 0.
  int keyCode = static_cast<int>(wParam);
  Form().Events().KeyDown(Id(), keyCode, ShiftState());
  if (keyCode == 0) {
    return 0;
  }
  return Default(message, static_cast<WPARAM>(keyCode), lParam);
}

}  // namespace pigmentry::platform::win32
