#include "platform/win32/xline_window.h"

#include "platform/ui.h"
#include "platform/win32/colours.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_class.h"

namespace pigmentry::platform::win32 {

namespace {

// Points on the line's surface: twips to pixels, rounding down so that a
// line to the far edge stays on the surface.
int TwipsToPixelOffset(int twips, float twipsPerPixel) {
  return static_cast<int>(static_cast<float>(twips) / twipsPerPixel);
}

}  // namespace

void XLineWindow::Register(HINSTANCE instance) {
  RegisterWindowClass(instance, kLineClassName, &XLineWindow::WindowProc, COLOR_BTNHIGHLIGHT);
}

HWND XLineWindow::Create(HWND parent, int id, const RECT& pixels) {
  return ::CreateWindowExW(
      0, kLineClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, pixels.left, pixels.top,
      pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

LRESULT CALLBACK XLineWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<XLineWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = new XLineWindow(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) {
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete self;
  }
  return result;
}

LRESULT XLineWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the line takes no mouse input
    default:
      return ::DefWindowProcW(window_, message, wParam, lParam);
  }
}

void XLineWindow::OnPaint() {
  const PaintDc paint(window_);
  DrawingOn(paint.Get(), [this] { line_.Paint(); });
}

void XLineWindow::OnSize() {
  const WindowDc window(window_);
  DrawingOn(window.Get(), [this] { line_.Resize(); });
}

SIZE XLineWindow::ClientSize() const {
  RECT client{};
  ::GetClientRect(window_, &client);
  return {client.right - client.left, client.bottom - client.top};
}

int XLineWindow::Width() const { return CurrentDpi().ToTwips(ClientSize().cx); }
int XLineWindow::Height() const { return CurrentDpi().ToTwips(ClientSize().cy); }

void XLineWindow::SetWidth(int twips) { Resize(CurrentDpi().ToPixels(twips), ClientSize().cy); }
void XLineWindow::SetHeight(int twips) { Resize(ClientSize().cx, CurrentDpi().ToPixels(twips)); }

void XLineWindow::Resize(int widthPixels, int heightPixels) {
  const SIZE current = ClientSize();
  if (current.cx == widthPixels && current.cy == heightPixels) {
    return;  // the same size raises no Resize
  }
  ::SetWindowPos(window_, nullptr, 0, 0, widthPixels, heightPixels,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

float XLineWindow::TwipsPerPixelX() const { return CurrentDpi().TwipsPerPixel(); }
float XLineWindow::TwipsPerPixelY() const { return CurrentDpi().TwipsPerPixel(); }

void XLineWindow::DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  if (dc_ == nullptr) {
    return;
  }
  const float twipsPerPixel = CurrentDpi().TwipsPerPixel();
  const Pen pen(::CreatePen(PS_SOLID, 1, ToColorRef(colour)));
  const SelectedObject selected(dc_, pen.get());
  ::MoveToEx(dc_, TwipsToPixelOffset(x1, twipsPerPixel), TwipsToPixelOffset(y1, twipsPerPixel),
             nullptr);
  ::LineTo(dc_, TwipsToPixelOffset(x2, twipsPerPixel), TwipsToPixelOffset(y2, twipsPerPixel));
}

}  // namespace pigmentry::platform::win32
