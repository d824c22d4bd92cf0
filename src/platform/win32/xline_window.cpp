#include "platform/win32/xline_window.h"

#include "platform/ui.h"
#include "platform/win32/colours.h"
#include "platform/win32/handles.h"

namespace pigmentry::platform::win32 {

namespace {

// Points on the line's surface: twips to pixels, rounding down so that a
// line to the far edge stays on the surface.
int TwipsToPixelOffset(int twips, float twipsPerPixel) {
  return static_cast<int>(static_cast<float>(twips) / twipsPerPixel);
}

}  // namespace

std::unique_ptr<XLineWindow> XLineWindow::Create(HINSTANCE instance, HWND parent, int id,
                                                 const PixelPlace& place) {
  std::unique_ptr<XLineWindow> line(new XLineWindow());
  if (!line->BaseWindow::Create(instance, 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return nullptr;
  }
  return line;
}

XLineWindow::~XLineWindow() = default;

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
      return DefaultHandling(message, wParam, lParam);
  }
}

void XLineWindow::OnPaint() {
  const PaintDc paint(Hwnd());
  DrawingOn(paint.Get(), [this] { line_.Paint(); });
}

void XLineWindow::OnSize() {
  const WindowDc window(Hwnd());
  DrawingOn(window.Get(), [this] { line_.Resize(); });
}

SIZE XLineWindow::ClientSize() const {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
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
  ::SetWindowPos(Hwnd(), nullptr, 0, 0, widthPixels, heightPixels,
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
