#include "platform/win32/option_button.h"

#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

bool Win32OptionButton::Value() const {
  return ::SendMessageW(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32OptionButton::SetValue(bool selected) {
  ::SendMessageW(Hwnd(), BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!selected) {
    return;
  }
  const ControlId other = Id() == ControlId::optRGB ? ControlId::optHex : ControlId::optRGB;
  auto& otherButton = static_cast<Win32OptionButton&>(Form().View().ControlById(other));
  ::SendMessageW(otherButton.Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
}

void Win32OptionButton::OnNotify(UINT code) {
  if (code == BN_CLICKED) {
    SetValue(true);
  }
}

}  // namespace pigmentry::platform::win32
