// What every child control of the window shares: its window, its place in
// twips, its text, and the hooks through which the window hands it the
// messages that concern it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/ui.h"

namespace pigmentry::platform::win32 {

class Win32Form;

// A control's place in twips, relative to the window's client area.
struct Extent {
  int left;
  int top;
  int width;
  int height;
};

// Shift, Ctrl and Alt as the bits 1, 2 and 4.
[[nodiscard]] int ShiftState();

// The text of a window of this process (its caption, a field's contents).
[[nodiscard]] std::wstring TextOfWindow(HWND window);

class ChildWindow {
 public:
  ChildWindow(Win32Form& form, ControlId id, HWND window) : form_(form), id_(id), window_(window) {}
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;
  virtual ~ChildWindow() = default;

  [[nodiscard]] HWND Hwnd() const { return window_; }
  [[nodiscard]] ControlId Id() const { return id_; }

  // From now until the control is destroyed, its messages go to the window
  // (Win32Form::HandleChildMessage) before the control's own procedure. The
  // procedure is replaced rather than chained with SetWindowSubclass: that
  // looks its chain up in a window property on every message, and under
  // Wine each look-up is a round trip to the server, several for each
  // message the handlers send their fields.
  void Subclass();
  // Passes a message on to the control's own window procedure.
  [[nodiscard]] LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;

  // A notification (WM_COMMAND) the control sent its parent.
  virtual void OnNotify(UINT /*code*/) {}
  // A message of the control's own window; a result when it was handled.
  virtual std::optional<LRESULT> OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return std::nullopt;
  }
  // The brush to paint the control's background with (WM_CTLCOLOR...), or
  // none for the window's own.
  virtual HBRUSH OnColour(HDC /*dc*/) { return nullptr; }

 protected:
  [[nodiscard]] Win32Form& Form() const { return form_; }
  [[nodiscard]] Extent TwipsExtent() const;
  void PlaceTwips(int left, int top, int width, int height) const;
  [[nodiscard]] std::wstring WindowText() const { return TextOfWindow(window_); }
  void SetWindowText(const std::wstring& text) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Win32Form& form_;
  ControlId id_;
  HWND window_;
  WNDPROC original_ = nullptr;  // the control's own procedure
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

}  // namespace pigmentry::platform::win32
