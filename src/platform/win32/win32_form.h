// The Win32 side of the platform: Form1 as a real top-level window with
// child controls, giving the handlers the same event rules as the in-memory
// side (see platform/ui.h).
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/form_design.h"
#include "platform/ui.h"
#include "platform/win32/base_window.h"
#include "platform/win32/child_window.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/menu_item.h"

namespace pigmentry::platform::win32 {

class Win32Form final : public Window, public BaseWindow<Win32Form> {
 public:
  static constexpr const wchar_t* kClassName = kForm1ClassName;
  static constexpr int kBackgroundColour = COLOR_BTNFACE;

  // Called with a step's name as each step of building the window ends (the
  // start-up benchmark times them).
  using StepDone = void (*)(const char* step);

  // Creates the window `design` describes, or none when the system refuses
  // the window, its menu or one of its controls; `design` must outlive it.
  [[nodiscard]] static std::unique_ptr<Win32Form> Create(HINSTANCE instance,
                                                         const FormDesign& design,
                                                         StepDone stepDone = nullptr);
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;
  ~Win32Form() override;

  [[nodiscard]] const Form1View& View() const { return view_; }
  void Connect(FormEvents& events) { events_ = &events; }
  [[nodiscard]] FormEvents& Events() const { return *events_; }

  // Raises Load; the window is still hidden.
  void Load() { Events().Load(); }
  void Show(int showCommand);
  // Runs until the window is closed; returns the exit code.
  int RunMessageLoop();
  [[nodiscard]] Dpi CurrentDpi() const { return dpi_; }
  // A message of one of the window's controls (see ChildWindow::Subclass).
  LRESULT HandleChildMessage(ChildWindow& child, UINT message, WPARAM wParam, LPARAM lParam);

  // Window
  [[nodiscard]] std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;
  [[nodiscard]] std::intptr_t Handle() const override;
  [[nodiscard]] float Left() const override;
  [[nodiscard]] float Top() const override;
  void SetLeft(float twips) override;
  void SetTop(float twips) override;
  [[nodiscard]] int Width() const override { return widthTwips_; }
  [[nodiscard]] int Height() const override { return heightTwips_; }
  void SetWidth(int twips) override;
  void SetHeight(int twips) override;
  [[nodiscard]] float TwipsPerPixelX() const override { return dpi_.TwipsPerPixel(); }
  [[nodiscard]] float TwipsPerPixelY() const override { return dpi_.TwipsPerPixel(); }
  int MsgBox(const std::wstring& prompt, int style, const std::wstring& title) override;
  void PopupMenu(MenuId menu) override;
  void Unload() override;
  [[nodiscard]] bool Unloaded() const override { return Hwnd() == nullptr; }
  // The executable's file name without its folder and extension.
  [[nodiscard]] std::wstring ExeName() const override;
  // The command line without the program's own path and the blanks after it.
  [[nodiscard]] std::wstring CommandArgs() const override;

 private:
  friend class BaseWindow<Win32Form>;

  Win32Form(HINSTANCE instance, const FormDesign& design);
  // Creates the window and what it holds, step by step; false when a step
  // that the window cannot do without fails.
  bool Build(StepDone stepDone);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool CreateControls();
  bool CreateControl(const ControlDesign& design, bool firstOfGroup);
  bool CreateMenu();
  void ApplyFont();
  void LoadIcons();
  void PlaceOuterSize(int widthTwips, int heightTwips);

  bool HandleTabKey(const MSG& message);
  bool HandleMenuKey(const MSG& message);
  void OpenOptionsMenuFromKeyboard();
  // Shows the Options menu at a screen point; a chosen item raises MenuClick.
  void TrackOptionsMenu(POINT at);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnChildFocus(ChildWindow& child);
  void OnDpiChanged(WPARAM wParam, const RECT& suggested);
  LRESULT OnColorStatic(HDC dc, HWND control);
  [[nodiscard]] ChildWindow* ChildOf(HWND window) const;
  // The next control in tab order after `from`; the first (or last) one when
  // `from` is none of the window's Tab stops.
  [[nodiscard]] HWND NextTabStop(HWND from, bool backwards) const;
  [[nodiscard]] RECT WindowRect() const;

  HINSTANCE instance_;
  const FormDesign& design_;
  Dpi dpi_;
  FormEvents* events_ = nullptr;
  Form1View view_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::array<ChildWindow*, kControlCount> children_{};
  std::vector<std::unique_ptr<Win32MenuItem>> menuItems_;
  Menu menuBar_;  // the hidden top-level item's owner; never shown as a bar
  HMENU options_ = nullptr;
  Font font_;
  std::array<Font, kControlCount> fieldFonts_;  // for fields too narrow for font_
  Icon smallIcon_;
  Icon bigIcon_;
  int widthTwips_;
  int heightTwips_;
  std::optional<ControlId> activeControl_;
};

}  // namespace pigmentry::platform::win32
