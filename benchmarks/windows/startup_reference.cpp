// The floor for the start-up benchmark: the least a themed, DPI-aware Win32
// window with Pigmentry's controls can do. The same manifest (visual styles,
// per-monitor DPI), one window with the same kinds and number of controls in
// the dialog font, shown, and a message loop; nothing else.
#include <windows.h>
// <windows.h> first: the other SDK headers build on it.
#include <commctrl.h>

// Its steps, timed as Pigmentry's are (startup_reference_steps.exe).
#include "app/win32/start_steps.h"

namespace {

struct Child {
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  int x, y, width, height;
  DWORD exStyle = 0;
};

// Pigmentry's controls, in its default layout at 96 DPI.
constexpr Child kChildren[] = {
    {L"BUTTON", L"RGB", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 8, 8, 48, 17},
    {L"EDIT", L"255", ES_AUTOHSCROLL | WS_TABSTOP, 8, 28, 36, 20, WS_EX_CLIENTEDGE},
    {L"EDIT", L"255", ES_AUTOHSCROLL | WS_TABSTOP, 48, 28, 36, 20, WS_EX_CLIENTEDGE},
    {L"EDIT", L"255", ES_AUTOHSCROLL | WS_TABSTOP, 88, 28, 36, 20, WS_EX_CLIENTEDGE},
    {L"BUTTON", L"Hex", BS_AUTORADIOBUTTON, 8, 52, 48, 17},
    {L"EDIT", L"FFFFFF", ES_AUTOHSCROLL | WS_TABSTOP, 8, 72, 56, 20, WS_EX_CLIENTEDGE},
    {L"BUTTON", L"Fill", BS_PUSHBUTTON | WS_TABSTOP, 8, 112, 56, 23},
    {L"BUTTON", L"Outline", BS_PUSHBUTTON | WS_TABSTOP, 68, 112, 56, 23},
    {L"BUTTON", L"Fill", BS_PUSHBUTTON | WS_TABSTOP, 8, 156, 56, 23},
    {L"BUTTON", L"Outline", BS_PUSHBUTTON | WS_TABSTOP, 68, 156, 56, 23},
    {L"STATIC", L"Get Color:", SS_LEFT, 8, 96, 116, 14},
    {L"STATIC", L"Set Color:", SS_LEFT, 8, 140, 116, 14},
    {L"STATIC", L"", SS_SUNKEN | SS_NOTIFY, 132, 8, 48, 84},
    {L"STATIC", L"", SS_ETCHEDHORZ, 8, 100, 172, 2},
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
  using pigmentry::app::StartSteps;
  StartSteps::Mark("entry");
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  StartSteps::Mark("common_controls");

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"PigmentryStartupReference";
  if (::RegisterClassExW(&windowClass) == 0) {
    return 1;
  }
  HWND window =
      ::CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"Reference",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                        CW_USEDEFAULT, 200, 230, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    return 1;
  }
  StartSteps::Mark("window");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
  for (const Child& child : kChildren) {
    HWND control = ::CreateWindowExW(child.exStyle, child.className, child.text,
                                     WS_CHILD | WS_VISIBLE | child.style, child.x, child.y,
                                     child.width, child.height, window, nullptr, instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  StartSteps::Mark("controls");
  ::ShowWindow(window, showCommand);
  ::UpdateWindow(window);
  StartSteps::Mark("show");
  StartSteps::Report();

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(window, &message) == FALSE) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  ::DeleteObject(font);
  return 0;
}
