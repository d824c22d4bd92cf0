// The window itself: its creation in steps, its messages and those of its
// controls, and the message loop. The steps and the keys have files of
// their own (control_factory.cpp, form_menu.cpp, font_fitting.cpp,
// form_icons.cpp, form_placement.cpp, keyboard_navigation.cpp).
#include "platform/win32/win32_form.h"

#include <memory>
#include <string>

namespace pigmentry::platform::win32 {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = 0;

void IgnoreStep(const char* /*step*/) {}

}  // namespace

std::unique_ptr<Win32Form> Win32Form::Create(HINSTANCE instance, const FormDesign& design,
                                             StepDone stepDone) {
  std::unique_ptr<Win32Form> form(new Win32Form(instance, design));
  if (!form->Build(stepDone != nullptr ? stepDone : &IgnoreStep)) {
    return nullptr;  // what was built goes with the object
  }
  return form;
}

Win32Form::Win32Form(HINSTANCE instance, const FormDesign& design)
    : instance_(instance),
      design_(design),
      dpi_(DpiOfWindow(nullptr)),
      widthTwips_(design.width),
      heightTwips_(design.height) {
  view_.AttachWindow(*this);
}

bool Win32Form::Build(StepDone stepDone) {
  constexpr PixelPlace kSystemChooses{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  if (!BaseWindow::Create(instance_, kFormExStyle, design_.caption, kFormStyle, kSystemChooses,
                          nullptr, nullptr)) {
    return false;
  }
  stepDone("window");
  dpi_ = DpiOfWindow(Hwnd());
  PlaceOuterSize(widthTwips_, heightTwips_);
  stepDone("outer_size");
  if (!CreateMenu()) {
    return false;
  }
  stepDone("menu");
  if (!CreateControls()) {
    return false;
  }
  stepDone("controls");
  // The window works without its own font and icons: a failure there leaves
  // the system's.
  ApplyFont();
  stepDone("font");
  LoadIcons();
  stepDone("icons");
  return true;
}

// Destroyed here, not by the base: the controls' objects, which get their
// windows' last messages, go with the members.
Win32Form::~Win32Form() { Destroy(); }

void Win32Form::Show(int showCommand) {
  ::ShowWindow(Hwnd(), showCommand);
  ::UpdateWindow(Hwnd());
  if (ChildOf(::GetFocus()) == nullptr) {
    ::SetFocus(NextTabStop(nullptr, false));
  }
}

int Win32Form::RunMessageLoop() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (HandleTabKey(message) || HandleMenuKey(message)) {
      continue;
    }
    if (Hwnd() != nullptr && ::IsDialogMessageW(Hwnd(), &message) != FALSE) {
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

std::wstring Win32Form::Caption() const { return TextOfWindow(Hwnd()); }

void Win32Form::SetCaption(const std::wstring& caption) {
  ::SetWindowTextW(Hwnd(), caption.c_str());
}

std::intptr_t Win32Form::Handle() const { return reinterpret_cast<std::intptr_t>(Hwnd()); }

int Win32Form::MsgBox(const std::wstring& prompt, int style, const std::wstring& title) {
  return ::MessageBoxW(Hwnd(), prompt.c_str(), title.c_str(), static_cast<UINT>(style));
}

void Win32Form::Unload() { Destroy(); }

ChildWindow* Win32Form::ChildOf(HWND window) const {
  for (ChildWindow* child : children_) {
    if (child != nullptr && child->Hwnd() == window) {
      return child;
    }
  }
  return nullptr;
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        // Give the focus back to the control that had it.
        const ChildWindow* active =
            activeControl_ ? children_.at(static_cast<std::size_t>(*activeControl_)) : nullptr;
        ::SetFocus(active != nullptr ? active->Hwnd() : NextTabStop(nullptr, false));
        return 0;
      }
      break;
    case WM_DPICHANGED:
      OnDpiChanged(wParam, *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void Win32Form::OnCommand(WPARAM wParam, LPARAM lParam) {
  ChildWindow* child = ChildOf(reinterpret_cast<HWND>(lParam));
  if (child == nullptr || events_ == nullptr) {
    return;  // Enter and Esc from the dialog manager, and the like
  }
  child->OnNotify(HIWORD(wParam));
}

LRESULT Win32Form::OnColorStatic(HDC dc, HWND control) {
  ChildWindow* child = ChildOf(control);
  if (HBRUSH brush = child != nullptr ? child->OnColour(dc) : nullptr; brush != nullptr) {
    return reinterpret_cast<LRESULT>(brush);
  }
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

void Win32Form::OnChildFocus(ChildWindow& child) {
  const ControlId id = child.Id();
  if (activeControl_ == id) {
    return;  // back from a message box, a menu or another program
  }
  const auto old = activeControl_;
  activeControl_ = id;
  if (old) {
    Events().LostFocus(*old);
  }
  if (activeControl_ == id) {
    Events().GotFocus(id);
  }
}

LRESULT Win32Form::HandleChildMessage(ChildWindow& child, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
  if (message == WM_SETFOCUS) {
    const LRESULT result = child.Default(message, wParam, lParam);
    OnChildFocus(child);
    return result;
  }
  if (const auto handled = child.OnMessage(message, wParam, lParam)) {
    return *handled;
  }
  return child.Default(message, wParam, lParam);
}

}  // namespace pigmentry::platform::win32
