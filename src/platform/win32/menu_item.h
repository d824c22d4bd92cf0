// An item of the window's menu tree, reached by its command identifier.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "platform/ui.h"

namespace pigmentry::platform::win32 {

class Win32MenuItem final : public MenuItem {
 public:
  Win32MenuItem(HMENU menu, UINT commandId, std::wstring caption, bool visible)
      : menu_(menu), commandId_(commandId), caption_(std::move(caption)), visible_(visible) {}
  [[nodiscard]] std::wstring Caption() const override { return caption_; }
  [[nodiscard]] bool Checked() const override {
    return (::GetMenuState(menu_, commandId_, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  void SetChecked(bool checked) override {
    ::CheckMenuItem(menu_, commandId_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
  [[nodiscard]] bool Visible() const override { return visible_; }

 private:
  HMENU menu_;
  UINT commandId_;
  std::wstring caption_;
  bool visible_;
};

}  // namespace pigmentry::platform::win32
