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

#include "platform/ui.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"

namespace pigmentry::platform::win32 {

class Win32Form;

// A control's place in twips, relative to the window's client area.
struct Extent {
  int left;
  int top;
  int width;
  int height;
};

// What every child control shares: its window, its place in twips.
class ChildWindow {
 public:
  ChildWindow(Win32Form& form, ControlId id, HWND window) : form_(form), id_(id), window_(window) {}
  [[nodiscard]] HWND Hwnd() const { return window_; }
  [[nodiscard]] ControlId Id() const { return id_; }

 protected:
  [[nodiscard]] Win32Form& Form() const { return form_; }
  [[nodiscard]] Extent TwipsExtent() const;
  void PlaceTwips(int left, int top, int width, int height) const;
  [[nodiscard]] std::wstring WindowText() const;
  void SetWindowText(const std::wstring& text) const;

 private:
  Win32Form& form_;
  ControlId id_;
  HWND window_;
};

template <typename Base>
class ChildControl : public Base, public ChildWindow {
 public:
  using ChildWindow::ChildWindow;
  [[nodiscard]] int Left() const override { return TwipsExtent().left; }
  [[nodiscard]] int Top() const override { return TwipsExtent().top; }
  [[nodiscard]] int Width() const override { return TwipsExtent().width; }
  [[nodiscard]] int Height() const override { return TwipsExtent().height; }
  void SetLeft(int twips) override { Move(twips, Top(), Width(), Height()); }
  void SetTop(int twips) override { Move(Left(), twips, Width(), Height()); }
  void SetWidth(int twips) override { Move(Left(), Top(), twips, Height()); }
  void SetHeight(int twips) override { Move(Left(), Top(), Width(), twips); }
  void Move(int left, int top, int width, int height) override {
    PlaceTwips(left, top, width, height);
  }
  [[nodiscard]] bool Visible() const override {
    return (::GetWindowLongPtrW(Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void SetVisible(bool visible) override { ::ShowWindow(Hwnd(), visible ? SW_SHOWNA : SW_HIDE); }
};

class Win32TextField final : public ChildControl<TextField> {
 public:
  using ChildControl::ChildControl;
  [[nodiscard]] std::wstring Text() const override { return WindowText(); }
  void SetText(const std::wstring& text) override;
  [[nodiscard]] int SelStart() const override;
  [[nodiscard]] int SelLength() const override;
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;

  // True while the program itself writes the text: the edit's own change
  // notification is then not a user's change.
  [[nodiscard]] bool Writing() const { return writing_; }

 private:
  // The selection's start and end.
  [[nodiscard]] std::pair<int, int> Selection() const;
  bool writing_ = false;
};

template <typename Base>
class CaptionedChild : public ChildControl<Base> {
 public:
  using ChildControl<Base>::ChildControl;
  [[nodiscard]] std::wstring Caption() const override { return this->WindowText(); }
  void SetCaption(const std::wstring& caption) override {
    if (caption != Caption()) {
      this->SetWindowText(caption);
    }
  }
};

class Win32OptionButton final : public CaptionedChild<OptionButton> {
 public:
  using CaptionedChild::CaptionedChild;
  [[nodiscard]] bool Value() const override;
  void SetValue(bool selected) override;
};

class Win32CommandButton final : public CaptionedChild<CommandButton> {
 public:
  using CaptionedChild::CaptionedChild;
};

class Win32Label final : public CaptionedChild<Label> {
 public:
  Win32Label(Win32Form& form, ControlId id, HWND window, std::uint32_t backColor);
  [[nodiscard]] std::uint32_t BackColor() const override { return backColor_; }
  void SetBackColor(std::uint32_t colour) override;
  // The brush WM_CTLCOLORSTATIC answers with.
  [[nodiscard]] HBRUSH Background() const { return brush_.get(); }
  [[nodiscard]] COLORREF BackgroundColorRef() const;

 private:
  std::uint32_t backColor_;
  Brush brush_;
};

class Win32LineControl final : public ChildControl<LineControl> {
 public:
  using ChildControl::ChildControl;
};

class Win32MenuItem final : public MenuItem {
 public:
  Win32MenuItem(HMENU menu, UINT commandId, std::wstring caption, bool visible)
      : menu_(menu), commandId_(commandId), caption_(std::move(caption)), visible_(visible) {}
  [[nodiscard]] std::wstring Caption() const override { return caption_; }
  [[nodiscard]] bool Checked() const override;
  void SetChecked(bool checked) override;
  [[nodiscard]] bool Visible() const override { return visible_; }

 private:
  HMENU menu_;
  UINT commandId_;
  std::wstring caption_;
  bool visible_;
};

class Win32Form final : public Window {
 public:
  explicit Win32Form(HINSTANCE instance);
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
  [[nodiscard]] HWND Hwnd() const { return window_; }
  [[nodiscard]] Dpi CurrentDpi() const { return dpi_; }

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
  [[nodiscard]] bool Unloaded() const override { return window_ == nullptr; }
  [[nodiscard]] std::wstring ExeName() const override;
  [[nodiscard]] std::wstring CommandArgs() const override;

 private:
  static void RegisterClass(HINSTANCE instance);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR subclassId, DWORD_PTR refData);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleChildMessage(ChildWindow& child, UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void CreateMenu();
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
  HWND window_ = nullptr;
  Dpi dpi_;
  FormEvents* events_ = nullptr;
  Form1View view_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::array<ChildWindow*, kControlCount> children_{};
  std::vector<std::unique_ptr<Win32MenuItem>> menuItems_;
  Menu menuBar_;  // the hidden top-level item's owner; never shown as a bar
  HMENU options_ = nullptr;
  Font font_;
  std::vector<Font> fieldFonts_;  // for fields too narrow for font_
  Icon smallIcon_;
  Icon bigIcon_;
  int widthTwips_;
  int heightTwips_;
  std::optional<ControlId> activeControl_;
};

}  // namespace pigmentry::platform::win32
