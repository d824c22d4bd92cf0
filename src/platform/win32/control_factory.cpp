// The window's child controls, created from the design in their stacking
// order, each wrapped in the control object the handlers see.
#include <windows.h>
// <windows.h> first: the other SDK headers build on it.
#include <commctrl.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "platform/win32/command_button.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/label.h"
#include "platform/win32/line_control.h"
#include "platform/win32/option_button.h"
#include "platform/win32/text_field.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/xline_window.h"

namespace pigmentry::platform::win32 {

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

struct ChildClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

ChildClass ClassOf(const ControlDesign& design, bool firstOfGroup) {
  switch (design.kind) {
    case ControlKind::OptionButton:
      // The two option buttons are one group: the arrow keys move between
      // them, and Space selects the one with the focus.
      return {WC_BUTTONW,
              static_cast<DWORD>(BS_RADIOBUTTON | WS_TABSTOP) |
                  (firstOfGroup ? static_cast<DWORD>(WS_GROUP) : 0U),
              0};
    case ControlKind::TextField:
      return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::CommandButton:
      return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::Label:
      return {WC_STATICW, SS_LEFT | SS_NOTIFY | WS_GROUP, 0};
    case ControlKind::Line:
      break;
  }
  return {kLineClassName, 0, 0};
}

}  // namespace

// Stacking order, top first. The text fields stand above the option buttons,
// whose captions run under the fields' left edges, and the separator above
// the swatch where the two touch. Tab follows the tab indices, not this
// order (see NextTabStop).
constexpr std::array kStacking = {ControlKind::TextField, ControlKind::CommandButton,
                                  ControlKind::Line, ControlKind::OptionButton, ControlKind::Label};

bool Win32Form::CreateControls() {
  const ControlDesign* firstOption = nullptr;
  for (const ControlDesign& design : design_.controls) {
    if (design.kind == ControlKind::OptionButton && firstOption == nullptr) {
      firstOption = &design;
    }
  }
  for (const ControlKind kind : kStacking) {
    for (const ControlDesign& design : design_.controls) {
      if (design.kind == kind && !CreateControl(design, &design == firstOption)) {
        return false;
      }
    }
  }
  for (const ControlDesign& design : design_.controls) {
    if (design.kind == ControlKind::OptionButton && design.selected) {
      static_cast<OptionButton&>(view_.ControlById(design.id)).SetValue(true);
    }
  }
  return true;
}

bool Win32Form::CreateControl(const ControlDesign& design, bool firstOfGroup) {
  const int left = dpi_.ToPixels(design.left);
  const int top = dpi_.ToPixels(design.top);
  const PixelPlace pixels{left, top, dpi_.ToPixels(design.left + design.width) - left,
                          dpi_.ToPixels(design.top + design.height) - top};
  const int id = DlgIdOf(design.id);
  HWND child = nullptr;
  std::unique_ptr<XLineWindow> line;
  if (design.kind == ControlKind::Line) {
    line = XLineWindow::Create(instance_, Hwnd(), id, pixels);
    child = line ? line->Hwnd() : nullptr;
  } else {
    const ChildClass cls = ClassOf(design, firstOfGroup);
    child =
        ::CreateWindowExW(cls.exStyle, cls.className, design.text, kChildStyle | cls.style,
                          pixels.left, pixels.top, pixels.width, pixels.height, Hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  }
  if (child == nullptr) {
    return false;
  }
  ChildWindow* childWindow = nullptr;
  std::unique_ptr<Control> control;
  const auto adopt = [&](auto wrapper) {
    childWindow = wrapper.get();
    control = std::move(wrapper);
  };
  switch (design.kind) {
    case ControlKind::TextField:
      // No length limit of the field's own: long pastes reach the handlers.
      ::SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
      adopt(std::make_unique<Win32TextField>(*this, design.id, child));
      break;
    case ControlKind::OptionButton:
      adopt(std::make_unique<Win32OptionButton>(*this, design.id, child));
      break;
    case ControlKind::CommandButton:
      adopt(std::make_unique<Win32CommandButton>(*this, design.id, child));
      break;
    case ControlKind::Label:
      adopt(std::make_unique<Win32Label>(*this, design.id, child, design.background));
      break;
    case ControlKind::Line:
      adopt(std::make_unique<Win32LineControl>(*this, design.id, std::move(line)));
      break;
  }
  if (design.kind != ControlKind::Line) {
    childWindow->Subclass();
  }
  children_.at(static_cast<std::size_t>(design.id)) = childWindow;
  view_.AttachControl(design.id, *control);
  controls_.push_back(std::move(control));
  return true;
}

}  // namespace pigmentry::platform::win32
