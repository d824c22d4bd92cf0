// The Options menu: built from the design, and shown as a pop-up menu at
// the pointer or, from the keyboard, over the swatch.
#include <memory>
#include <string_view>

#include "platform/win32/control_ids.h"
#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

bool Win32Form::CreateMenu() {
  menuBar_.reset(::CreateMenu());
  options_ = ::CreatePopupMenu();  // destroyed with the bar that holds it
  const auto& top = design_.menus.front();
  // The append fails as well when the bar was not created.
  if (options_ == nullptr ||
      ::AppendMenuW(menuBar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(options_), top.caption) ==
          FALSE) {
    ::DestroyMenu(options_);  // not yet held by the bar
    options_ = nullptr;
    return false;
  }
  menuItems_.push_back(std::make_unique<Win32MenuItem>(
      menuBar_.get(), static_cast<UINT>(reinterpret_cast<UINT_PTR>(options_)), top.caption,
      top.visible));
  view_.AttachMenu(top.id, *menuItems_.back());
  for (const MenuDesign& design : design_.menus.subspan(1)) {
    const UINT commandId = static_cast<UINT>(CommandIdOf(design.id));
    if (std::wstring_view(design.caption) == L"-") {
      ::AppendMenuW(options_, MF_SEPARATOR, commandId, nullptr);
    } else {
      ::AppendMenuW(options_, MF_STRING | (design.checked ? MF_CHECKED : MF_UNCHECKED), commandId,
                    design.caption);
    }
    menuItems_.push_back(
        std::make_unique<Win32MenuItem>(options_, commandId, design.caption, design.visible));
    view_.AttachMenu(design.id, *menuItems_.back());
  }
  return true;
}

void Win32Form::PopupMenu(MenuId menu) {
  if (menu != MenuId::mnuOpt) {
    return;
  }
  POINT pointer{};
  ::GetCursorPos(&pointer);
  TrackOptionsMenu(pointer);
}

void Win32Form::OpenOptionsMenuFromKeyboard() {
  RECT swatch{};
  ::GetWindowRect(children_.at(static_cast<std::size_t>(ControlId::lblColor))->Hwnd(), &swatch);
  TrackOptionsMenu({swatch.left + (swatch.right - swatch.left) / 2, swatch.top + 8});
}

void Win32Form::TrackOptionsMenu(POINT at) {
  // The owner must be in the foreground, or the menu does not close when
  // the user clicks elsewhere.
  ::SetForegroundWindow(Hwnd());
  const auto command =
      static_cast<UINT>(::TrackPopupMenu(options_, TPM_RETURNCMD, at.x, at.y, 0, Hwnd(), nullptr));
  ::PostMessageW(Hwnd(), WM_NULL, 0, 0);
  for (const auto& design : design_.menus) {
    if (command != 0 && command == static_cast<UINT>(CommandIdOf(design.id))) {
      Events().MenuClick(design.id);
    }
  }
}

}  // namespace pigmentry::platform::win32
