// A window that owns its HWND. A window class of the program's own derives
// from BaseWindow<Derived> and gets its messages in Derived::HandleMessage.
#pragma once

#include <windows.h>

namespace pigmentry::platform::win32 {

// A window's place in pixels (CW_USEDEFAULT where the system chooses).
struct PixelPlace {
  int left;
  int top;
  int width;
  int height;
};

// What every BaseWindow shares, apart from its class: one window procedure
// that finds the object of a message's window and hands it the message.
class OwnedWindow {
 public:
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  // The window, or none before it is created and once it is destroyed.
  [[nodiscard]] HWND Hwnd() const { return window_; }
  // Destroys the window if it is still there.
  void Destroy();

 protected:
  // Hands a message to the object of the derived class.
  using Router = LRESULT (*)(OwnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam);
  // The class a window is created in, registered with its first window.
  struct WindowClass {
    const wchar_t* name;
    int backgroundColour;  // a system colour (COLOR_...)
    bool registered;
  };

  explicit OwnedWindow(Router router) : router_(router) {}
  // A derived window whose members its messages still reach while it is
  // being destroyed destroys it in its own destructor.
  ~OwnedWindow() { Destroy(); }

  // Registers `windowClass` if it is not yet, then creates the window, this
  // object given with it; false when either fails.
  bool Create(WindowClass& windowClass, HINSTANCE instance, DWORD exStyle, const wchar_t* caption,
              DWORD style, const PixelPlace& place, HWND parent, HMENU menu);
  [[nodiscard]] LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Router router_;
  HWND window_ = nullptr;
};

// Derived names its class and background (static constexpr const wchar_t*
// kClassName, static constexpr int kBackgroundColour, a COLOR_ value) and
// handles its messages in
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// passing those it leaves alone to DefaultHandling.
template <typename Derived>
class BaseWindow : public OwnedWindow {
 protected:
  BaseWindow() : OwnedWindow(&Route) {}
  ~BaseWindow() = default;

  bool Create(HINSTANCE instance, DWORD exStyle, const wchar_t* caption, DWORD style,
              const PixelPlace& place, HWND parent, HMENU menu) {
    return OwnedWindow::Create(windowClass_, instance, exStyle, caption, style, place, parent,
                               menu);
  }

 private:
  static LRESULT Route(OwnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<Derived&>(window).HandleMessage(message, wParam, lParam);
  }

  static inline WindowClass windowClass_{Derived::kClassName, Derived::kBackgroundColour, false};
};

}  // namespace pigmentry::platform::win32
