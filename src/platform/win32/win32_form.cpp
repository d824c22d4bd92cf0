#include "platform/win32/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <string_view>
#include <utility>

#include "platform/win32/command_button.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/label.h"
#include "platform/win32/line_control.h"
#include "platform/win32/option_button.h"
#include "platform/win32/text_field.h"
#include "platform/win32/xline_window.h"

namespace pigmentry::platform::win32 {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = 0;
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr int kIconResourceId = 1;
constexpr int kFontPoints = 8;

// A screen coordinate from twips, kept where a window position can go.
int ScreenPixels(float twips, float twipsPerPixel) {
  const double pixels = static_cast<double>(twips) / static_cast<double>(twipsPerPixel);
  if (!std::isfinite(pixels)) {
    return pixels > 0 ? SHRT_MAX : (pixels < 0 ? SHRT_MIN : 0);
  }
  return static_cast<int>(std::lround(std::clamp(pixels, double{SHRT_MIN}, double{SHRT_MAX})));
}

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

Win32Form::Win32Form(HINSTANCE instance, const FormDesign& design, StepDone stepDone)
    : instance_(instance),
      design_(design),
      dpi_(DpiOfWindow(nullptr)),
      widthTwips_(design.width),
      heightTwips_(design.height) {
  const auto done = [stepDone](const char* step) {
    if (stepDone != nullptr) {
      stepDone(step);
    }
  };
  view_.AttachWindow(*this);
  constexpr PixelPlace kSystemChooses{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  if (!Create(instance, kFormExStyle, design_.caption, kFormStyle, kSystemChooses, nullptr,
              nullptr)) {
    return;
  }
  done("window");
  dpi_ = DpiOfWindow(Hwnd());
  PlaceOuterSize(widthTwips_, heightTwips_);
  done("outer_size");
  CreateMenu();
  done("menu");
  CreateControls();
  done("controls");
  ApplyFont();
  done("font");
  LoadIcons();
  done("icons");
}

// Destroyed here, not by the base: the controls' objects, which get their
// windows' last messages, go with the members.
Win32Form::~Win32Form() { Destroy(); }

void Win32Form::CreateMenu() {
  menuBar_.reset(::CreateMenu());
  options_ = ::CreatePopupMenu();
  const auto& top = design_.menus.front();
  ::AppendMenuW(menuBar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(options_), top.caption);
  menuItems_.push_back(std::make_unique<Win32MenuItem>(
      menuBar_.get(), static_cast<UINT>(reinterpret_cast<UINT_PTR>(options_)), top.caption,
      top.visible));
  view_.AttachMenu(top.id, *menuItems_.back());
  for (const MenuDesign& design : design_.menus.subspan(1)) {
    const UINT commandId = static_cast<UINT>(CommandIdOf(design.id));
    if (std::wstring_view(design.caption) == L"-") {
      ::AppendMenuW(options_, MF_SEPARATOR, commandId, nullptr);
    } else {
      ::AppendMenuW(options_, MF_STRING | (design.checked ? MF_CHECKED : MF_UNCHECKED), commandId,
                    design.caption);
    }
    menuItems_.push_back(
        std::make_unique<Win32MenuItem>(options_, commandId, design.caption, design.visible));
    view_.AttachMenu(design.id, *menuItems_.back());
  }
}

// Stacking order, top first. The text fields stand above the option buttons,
// whose captions run under the fields' left edges, and the separator above
// the swatch where the two touch. Tab follows the tab indices, not this
// order (see NextTabStop).
constexpr std::array kStacking = {ControlKind::TextField, ControlKind::CommandButton,
                                  ControlKind::Line, ControlKind::OptionButton, ControlKind::Label};

void Win32Form::CreateControls() {
  std::vector<const ControlDesign*> order;
  for (const ControlKind kind : kStacking) {
    for (const auto& design : design_.controls) {
      if (design.kind == kind) {
        order.push_back(&design);
      }
    }
  }
  const ControlDesign* firstOption = nullptr;
  for (const ControlDesign& design : design_.controls) {
    if (design.kind == ControlKind::OptionButton && firstOption == nullptr) {
      firstOption = &design;
    }
  }
  for (const ControlDesign* design : order) {
    const int left = dpi_.ToPixels(design->left);
    const int top = dpi_.ToPixels(design->top);
    const PixelPlace pixels{left, top, dpi_.ToPixels(design->left + design->width) - left,
                            dpi_.ToPixels(design->top + design->height) - top};
    const int id = DlgIdOf(design->id);
    HWND child = nullptr;
    std::unique_ptr<XLineWindow> line;
    if (design->kind == ControlKind::Line) {
      line = XLineWindow::Create(instance_, Hwnd(), id, pixels);
      child = line->Hwnd();
    } else {
      const ChildClass cls = ClassOf(*design, design == firstOption);
      child =
          ::CreateWindowExW(cls.exStyle, cls.className, design->text, kChildStyle | cls.style,
                            pixels.left, pixels.top, pixels.width, pixels.height, Hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    }
    ChildWindow* childWindow = nullptr;
    std::unique_ptr<Control> control;
    const auto adopt = [&](auto wrapper) {
      childWindow = wrapper.get();
      control = std::move(wrapper);
    };
    switch (design->kind) {
      case ControlKind::TextField:
        // No length limit of the field's own: long pastes reach the handlers.
        ::SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
        adopt(std::make_unique<Win32TextField>(*this, design->id, child));
        break;
      case ControlKind::OptionButton:
        adopt(std::make_unique<Win32OptionButton>(*this, design->id, child));
        break;
      case ControlKind::CommandButton:
        adopt(std::make_unique<Win32CommandButton>(*this, design->id, child));
        break;
      case ControlKind::Label:
        adopt(std::make_unique<Win32Label>(*this, design->id, child, design->background));
        break;
      case ControlKind::Line:
        adopt(std::make_unique<Win32LineControl>(*this, design->id, std::move(line)));
        break;
    }
    if (design->kind != ControlKind::Line) {
      childWindow->Subclass();
    }
    children_.at(static_cast<std::size_t>(design->id)) = childWindow;
    view_.AttachControl(design->id, *control);
    controls_.push_back(std::move(control));
  }
  for (const ControlDesign& design : design_.controls) {
    if (design.kind == ControlKind::OptionButton && design.selected) {
      static_cast<OptionButton&>(view_.ControlById(design.id)).SetValue(true);
    }
  }
}

namespace {

constexpr int kFieldMargin = 1;   // pixels left and right of a field's text
constexpr int kSmallestFont = 6;  // pixels: a field's font gets no smaller

LOGFONTW DialogFont(int dpi) {
  LOGFONTW logFont{};
  logFont.lfHeight = -::MulDiv(kFontPoints, dpi, 72);
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfQuality = CLEARTYPE_QUALITY;
  // Copied by hand: wcscpy_s is not in the C runtime of Windows XP.
  constexpr std::wstring_view kFaceName = L"MS Shell Dlg 2";
  static_assert(kFaceName.size() < LF_FACESIZE);
  std::copy(kFaceName.begin(), kFaceName.end(), logFont.lfFaceName);
  logFont.lfFaceName[kFaceName.size()] = L'\0';
  return logFont;
}

// The width of `characters` of the widest hexadecimal digit in `font`.
int WidestDigitRun(HDC dc, HFONT font, int characters) {
  const HGDIOBJ old = ::SelectObject(dc, font);
  int widest = 0;
  for (const wchar_t digit : std::wstring_view(L"0123456789ABCDEF")) {
    const std::wstring run(static_cast<std::size_t>(characters), digit);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, run.c_str(), static_cast<int>(run.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  ::SelectObject(dc, old);
  return widest;
}

// The room for text of a field, in pixels.
int TextRoom(HWND field) {
  RECT text{};
  ::SendMessageW(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  return text.right - text.left;
}

// A smaller font of the same face for a field with `room` pixels, too
// narrow to show `characters` digits in the dialog font `dialogFont` (made
// from `logFont`), or none when that one fits.
Font FontThatFits(HWND field, int room, LOGFONTW logFont, HFONT dialogFont, int characters) {
  HDC dc = ::GetDC(field);
  if (dc == nullptr) {
    return nullptr;
  }
  Font fitted;
  if (logFont.lfHeight < -kSmallestFont && WidestDigitRun(dc, dialogFont, characters) > room) {
    fitted.reset(::CreateFontIndirectW(&logFont));  // the smallest tried so far
    for (++logFont.lfHeight; fitted && logFont.lfHeight < -kSmallestFont; ++logFont.lfHeight) {
      Font font(::CreateFontIndirectW(&logFont));
      const bool last = !font || WidestDigitRun(dc, font.get(), characters) <= room;
      fitted = std::move(font);
      if (last) {
        break;
      }
    }
  }
  ::ReleaseDC(field, dc);
  return fitted;
}

void SetFieldFont(HWND control, HFONT font, ControlKind kind) {
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (kind == ControlKind::TextField) {
    // An edit takes its margins anew from every font it is given.
    ::SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                   MAKELPARAM(kFieldMargin, kFieldMargin));
  }
}

}  // namespace

// Every control gets the dialog font at the window's resolution; a text
// field too narrow for its digits in that font gets a smaller one.
void Win32Form::ApplyFont() {
  const LOGFONTW logFont = DialogFont(dpi_.value);
  Font font(::CreateFontIndirectW(&logFont));
  if (!font) {
    return;
  }
  std::vector<Font> fieldFonts;
  // Fields of the same room for the same number of digits share one choice
  // (the three decimal fields): the font of the choice, or none for the
  // dialog font.
  struct Choice {
    int room;
    int characters;
    HFONT font;
  };
  std::vector<Choice> choices;
  for (ChildWindow* child : children_) {
    const ControlDesign& design = design_.Control(child->Id());
    SetFieldFont(child->Hwnd(), font.get(), design.kind);
    if (design.kind != ControlKind::TextField) {
      continue;
    }
    const auto characters = static_cast<int>(std::wstring_view(design.text).size());
    const int room = TextRoom(child->Hwnd());
    auto choice = std::find_if(choices.begin(), choices.end(), [&](const Choice& made) {
      return made.room == room && made.characters == characters;
    });
    if (choice == choices.end()) {
      Font fitted = FontThatFits(child->Hwnd(), room, logFont, font.get(), characters);
      choice = choices.insert(choices.end(), {room, characters, fitted.get()});
      if (fitted) {
        fieldFonts.push_back(std::move(fitted));
      }
    }
    if (choice->font != nullptr) {
      SetFieldFont(child->Hwnd(), choice->font, design.kind);
    }
  }
  font_ = std::move(font);
  fieldFonts_ = std::move(fieldFonts);
}

void Win32Form::LoadIcons() {
  const auto load = [this](int metricX, int metricY) {
    return Icon(static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(kIconResourceId),
                                                IMAGE_ICON, ::GetSystemMetrics(metricX),
                                                ::GetSystemMetrics(metricY), LR_DEFAULTCOLOR)));
  };
  smallIcon_ = load(SM_CXSMICON, SM_CYSMICON);
  bigIcon_ = load(SM_CXICON, SM_CYICON);
  if (smallIcon_) {
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
  if (bigIcon_) {
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  }
}

// The outer size follows the design frame's client area (width - 90 by
// height - 330 twips), measured in the frame the window really has.
void Win32Form::PlaceOuterSize(int widthTwips, int heightTwips) {
  RECT outer{};
  RECT client{};
  ::GetWindowRect(Hwnd(), &outer);
  ::GetClientRect(Hwnd(), &client);
  const int frameWidth = (outer.right - outer.left) - client.right;
  const int frameHeight = (outer.bottom - outer.top) - client.bottom;
  ::SetWindowPos(Hwnd(), nullptr, 0, 0,
                 frameWidth + std::max(0, dpi_.ToPixels(widthTwips - design_.frameWidth)),
                 frameHeight + std::max(0, dpi_.ToPixels(heightTwips - design_.frameHeight)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

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

// Tab and Shift+Tab move the focus in the order of the tab indices. The
// dialog manager would follow the stacking order instead.
bool Win32Form::HandleTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      ChildOf(message.hwnd) == nullptr || ::GetKeyState(VK_CONTROL) < 0 ||
      ::GetKeyState(VK_MENU) < 0) {
    return false;
  }
  if (HWND next = NextTabStop(message.hwnd, ::GetKeyState(VK_SHIFT) < 0); next != nullptr) {
    ::SetFocus(next);
  }
  return true;
}

std::wstring Win32Form::Caption() const {
  const int length = ::GetWindowTextLengthW(Hwnd());
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(Hwnd(), text.data(), length + 1)));
  return text;
}

void Win32Form::SetCaption(const std::wstring& caption) {
  ::SetWindowTextW(Hwnd(), caption.c_str());
}

std::intptr_t Win32Form::Handle() const { return reinterpret_cast<std::intptr_t>(Hwnd()); }

RECT Win32Form::WindowRect() const {
  RECT rect{};
  ::GetWindowRect(Hwnd(), &rect);
  return rect;
}

float Win32Form::Left() const {
  return static_cast<float>(WindowRect().left) * dpi_.TwipsPerPixel();
}

float Win32Form::Top() const { return static_cast<float>(WindowRect().top) * dpi_.TwipsPerPixel(); }

void Win32Form::SetLeft(float twips) {
  ::SetWindowPos(Hwnd(), nullptr, ScreenPixels(twips, dpi_.TwipsPerPixel()), WindowRect().top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::SetTop(float twips) {
  ::SetWindowPos(Hwnd(), nullptr, WindowRect().left, ScreenPixels(twips, dpi_.TwipsPerPixel()), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::SetWidth(int twips) {
  widthTwips_ = twips;
  PlaceOuterSize(widthTwips_, heightTwips_);
}

void Win32Form::SetHeight(int twips) {
  heightTwips_ = twips;
  PlaceOuterSize(widthTwips_, heightTwips_);
}

int Win32Form::MsgBox(const std::wstring& prompt, int style, const std::wstring& title) {
  return ::MessageBoxW(Hwnd(), prompt.c_str(), title.c_str(), static_cast<UINT>(style));
}

void Win32Form::PopupMenu(MenuId menu) {
  if (menu != MenuId::mnuOpt) {
    return;
  }
  POINT pointer{};
  ::GetCursorPos(&pointer);
  TrackOptionsMenu(pointer);
}

void Win32Form::OpenOptionsMenuFromKeyboard() {
  RECT swatch{};
  ::GetWindowRect(children_.at(static_cast<std::size_t>(ControlId::lblColor))->Hwnd(), &swatch);
  TrackOptionsMenu({swatch.left + (swatch.right - swatch.left) / 2, swatch.top + 8});
}

void Win32Form::TrackOptionsMenu(POINT at) {
  // The owner must be in the foreground, or the menu does not close when
  // the user clicks elsewhere.
  ::SetForegroundWindow(Hwnd());
  const auto command =
      static_cast<UINT>(::TrackPopupMenu(options_, TPM_RETURNCMD, at.x, at.y, 0, Hwnd(), nullptr));
  ::PostMessageW(Hwnd(), WM_NULL, 0, 0);
  for (const auto& design : design_.menus) {
    if (command != 0 && command == static_cast<UINT>(CommandIdOf(design.id))) {
      Events().MenuClick(design.id);
    }
  }
}

void Win32Form::Unload() { Destroy(); }

std::wstring Win32Form::ExeName() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring Win32Form::CommandArgs() const {
  // The command line without the program's own path: a quoted path ends at
  // the closing quote, an unquoted one at the first blank or tab.
  const std::wstring_view line = ::GetCommandLineW();
  std::size_t at = 0;
  if (!line.empty() && line[0] == L'"') {
    const std::size_t close = line.find(L'"', 1);
    at = close == std::wstring_view::npos ? line.size() : close + 1;
  }
  while (at < line.size() && line[at] != L' ' && line[at] != L'\t') {
    ++at;
  }
  while (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) {
    ++at;
  }
  return std::wstring(line.substr(at));
}

HWND Win32Form::NextTabStop(HWND from, bool backwards) const {
  // The controls that can take the focus now, in tab order. Of the option
  // buttons only the selected one is a Tab stop, as in any group of them.
  std::vector<HWND> stops;
  for (const auto& design : design_.controls) {
    const Control& control = view_.ControlById(design.id);
    const bool unselectedOption = design.kind == ControlKind::OptionButton &&
                                  !static_cast<const OptionButton&>(control).Value();
    HWND window = children_.at(static_cast<std::size_t>(design.id))->Hwnd();
    if (TakesFocus(design) && !unselectedOption && ::IsWindowVisible(window) != FALSE &&
        ::IsWindowEnabled(window) != FALSE) {
      stops.push_back(window);
    }
  }
  if (stops.empty()) {
    return nullptr;
  }
  const auto at = std::find(stops.begin(), stops.end(), from);
  if (at == stops.end()) {
    return backwards ? stops.back() : stops.front();
  }
  const auto index = static_cast<std::size_t>(at - stops.begin());
  return stops[backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size()];
}

// The context-menu key and Shift+F10 open the Options menu from any control
// but the text fields, which have an editing menu of their own.
bool Win32Form::HandleMenuKey(const MSG& message) {
  const bool appsKey =
      (message.message == WM_KEYDOWN || message.message == WM_KEYUP) && message.wParam == VK_APPS;
  const bool shiftF10 = (message.message == WM_SYSKEYDOWN || message.message == WM_KEYDOWN) &&
                        message.wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0;
  const ChildWindow* child = ChildOf(message.hwnd);
  if ((!appsKey && !shiftF10) || child == nullptr ||
      design_.Control(child->Id()).kind == ControlKind::TextField) {
    return false;
  }
  if (shiftF10 || message.message == WM_KEYUP) {
    OpenOptionsMenuFromKeyboard();
  }
  return true;
}

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

void Win32Form::OnDpiChanged(WPARAM wParam, const RECT& suggested) {
  std::vector<Extent> extents;
  for (ChildWindow* child : children_) {
    const Control& control = view_.ControlById(child->Id());
    extents.push_back({control.Left(), control.Top(), control.Width(), control.Height()});
  }
  dpi_ = {static_cast<int>(LOWORD(wParam))};
  ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceOuterSize(widthTwips_, heightTwips_);
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const Extent& extent = extents[i];
    view_.ControlById(children_[i]->Id())
        .Move(extent.left, extent.top, extent.width, extent.height);
  }
  ApplyFont();
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
