#include "standin/view.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "standin/host_state.h"

namespace pigmentry::standin {

namespace {

namespace cm = colour_models;

extern "C" IMAGE_DOS_HEADER __ImageBase;

void (*g_closed)() = nullptr;

constexpr const wchar_t* kClassName = L"PigmentryStandInDrawing";
constexpr int kCell = 64;
constexpr int kGap = 12;
constexpr int kColumns = 8;

// Owns a GDI object.
template <typename Handle>
class Gdi {
 public:
  explicit Gdi(Handle handle) : handle_(handle) {}
  Gdi(const Gdi&) = delete;
  Gdi& operator=(const Gdi&) = delete;
  ~Gdi() {
    if (handle_ != nullptr) {
      DeleteObject(handle_);
    }
  }
  [[nodiscard]] Handle Get() const { return handle_; }

 private:
  Handle handle_;
};

// Selects a GDI object into a device context for a scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  ~Selected() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

COLORREF ColourRef(const cm::ColourValue& value) {
  if (!cm::IsKnownModel(value.model)) {
    return RGB(160, 160, 160);
  }
  const cm::Rgb rgb = cm::ToRgb(value);
  const auto byte = [](std::int32_t channel) {
    return static_cast<BYTE>(std::clamp(channel, 0, 255));
  };
  return RGB(byte(rgb.red), byte(rgb.green), byte(rgb.blue));
}

RECT CellRect(std::size_t index) {
  const int column = static_cast<int>(index % kColumns);
  const int row = static_cast<int>(index / kColumns);
  const int left = kGap + column * (kCell + kGap);
  const int top = kGap + row * (kCell + kGap);
  return {left, top, left + kCell, top + kCell};
}

class DrawingWindow {
 public:
  void Show() {
    if (hwnd_ != nullptr) {
      Redraw();
      return;
    }
    const auto instance = reinterpret_cast<HINSTANCE>(&__ImageBase);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DrawingWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);  // fails harmlessly when already registered
    const int width = kGap + kColumns * (kCell + kGap) + 16;
    hwnd_ =
        CreateWindowExW(0, kClassName, L"Stand-in host drawing", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        420, 40, width, 420, nullptr, nullptr, instance, this);
  }
  // Asks for one repaint, however many changes come before it: a Set on
  // many shapes changes the drawing thousands of times before the window
  // gets to paint.
  void Redraw() {
    if (hwnd_ != nullptr && !redrawPending_) {
      redrawPending_ = true;
      InvalidateRect(hwnd_, nullptr, TRUE);
    }
  }
  void Close() {
    if (hwnd_ != nullptr) {
      DestroyWindow(hwnd_);
      hwnd_ = nullptr;
      redrawPending_ = false;
    }
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<DrawingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr) {
      switch (message) {
        case WM_PAINT:
          self->OnPaint(hwnd);
          return 0;
        case WM_LBUTTONUP:
          self->OnClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                        (wParam & MK_CONTROL) != 0);
          return 0;
        case WM_CLOSE:
          if (g_closed != nullptr) {
            g_closed();
            return 0;
          }
          // The window goes with the application object, not before.
          ShowWindow(hwnd, SW_MINIMIZE);
          return 0;
        case WM_NCDESTROY:
          SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
          break;
        default:
          break;
      }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void OnPaint(HWND hwnd) {
    redrawPending_ = false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    const Drawing& drawing = State().Current();
    std::vector<bool> selected(drawing.shapes.size());
    for (const std::size_t index : drawing.selection) {
      selected[index] = true;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    for (std::size_t i = 0; i < drawing.shapes.size(); ++i) {
      const RECT cell = CellRect(i);
      if (cell.top > client.bottom) {
        break;
      }
      PaintShape(dc, *drawing.shapes[i], cell, selected[i]);
    }
    EndPaint(hwnd, &paint);
  }

  static void PaintShape(HDC dc, const Shape& shape, const RECT& cell, bool selected) {
    const Gdi<HBRUSH> fill(shape.fillType == 1
                               ? CreateSolidBrush(ColourRef(shape.fill))
                               : CreateHatchBrush(HS_DIAGCROSS, ColourRef(shape.fill)));
    const Gdi<HPEN> outline(shape.outlineType != 0
                                ? CreatePen(PS_SOLID, 5, ColourRef(shape.outline))
                                : CreatePen(PS_NULL, 0, 0));
    {
      const Selected brush(dc, fill.Get());
      const Selected pen(dc, outline.Get());
      Rectangle(dc, cell.left + 4, cell.top + 4, cell.right - 4, cell.bottom - 4);
    }
    if (selected) {
      const Gdi<HPEN> mark(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
      const Selected pen(dc, mark.Get());
      const Selected brush(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
    }
  }

  void OnClick(int x, int y, bool adding) {
    Drawing& drawing = State().Current();
    for (std::size_t i = 0; i < drawing.shapes.size(); ++i) {
      const RECT cell = CellRect(i);
      if (x < cell.left || x >= cell.right || y < cell.top || y >= cell.bottom) {
        continue;
      }
      auto& selection = drawing.selection;
      const auto found = std::find(selection.begin(), selection.end(), i);
      if (!adding) {
        selection.assign(1, i);
      } else if (found != selection.end()) {
        selection.erase(found);
      } else {
        selection.push_back(i);
      }
      State().SelectionChanged();
      Redraw();
      return;
    }
  }

  HWND hwnd_ = nullptr;
  bool redrawPending_ = false;
};

DrawingWindow& Window() {
  static DrawingWindow window;
  return window;
}

}  // namespace

void ShowDrawingWindow() { Window().Show(); }
void RedrawDrawingWindow() { Window().Redraw(); }
void CloseDrawingWindow() { Window().Close(); }
void OnDrawingWindowClosed(void (*handler)()) { g_closed = handler; }

}  // namespace pigmentry::standin
