// The controls as the window's handlers see them.
//
// Every handler of Form1 is written once against these interfaces and runs
// unchanged on the Win32 side and on the in-memory side used by unit tests.
// Both sides keep the same event rules:
//  - a program write of a text field's text raises the field's Change at
//    once, nested inside the write, and only when the text differs;
//  - when the focus moves between two controls of the window, the old
//    control's LostFocus runs before the new control's GotFocus;
//  - KeyDown passes the key code by reference, and setting it to 0 consumes
//    the key;
//  - changing the separator line's size raises its Resize at once.
//
// Positions and sizes are in twips (1/1440 inch); a control's Left and Top
// are measured from the top-left corner of the window's client area.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace pigmentry::platform {

enum class ControlId : std::uint8_t {
  optRGB,
  txtC0,
  txtC1,
  txtC2,
  optHex,
  txtHex,
  cmdGetPaint,
  cmdGetPaper,
  cmdSetPaint,
  cmdSetPaper,
  Label1,
  Label2,
  lblColor,
  xLine1,
};
inline constexpr std::size_t kControlCount = 14;

enum class ControlKind : std::uint8_t { OptionButton, TextField, CommandButton, Label, Line };

enum class MenuId : std::uint8_t {
  mnuOpt,
  mnuOptTop,
  mnuOptBar1,
  mnuOptView1,
  mnuOptView2,
  mnuOptView3,
};
inline constexpr std::size_t kMenuCount = 6;

// Index of txtC(i) in ControlId, for i = 0, 1, 2.
constexpr ControlId TxtCId(int index) {
  return static_cast<ControlId>(static_cast<int>(ControlId::txtC0) + index);
}
// Index of mnuOptView(i) in MenuId, for i = 1, 2, 3.
constexpr MenuId MnuOptViewId(int index) {
  return static_cast<MenuId>(static_cast<int>(MenuId::mnuOptView1) + index - 1);
}

// Mouse button codes passed to MouseUp.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Message box styles and results used by the program.
inline constexpr int kMbOkOnly = 0;
inline constexpr int kMbInformation = 64;
inline constexpr int kMbResultOk = 1;

// A system colour in the encoding of a control's colour property: the top
// bit set and the Windows system colour index in the low byte.
constexpr std::uint32_t SystemColour(int index) {
  return 0x80000000U | static_cast<std::uint32_t>(index);
}
inline constexpr std::uint32_t kButtonShadow = SystemColour(16);  // COLOR_BTNSHADOW
inline constexpr std::uint32_t kHighlight3D = SystemColour(20);   // COLOR_BTNHIGHLIGHT

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  [[nodiscard]] virtual int Left() const = 0;
  [[nodiscard]] virtual int Top() const = 0;
  [[nodiscard]] virtual int Width() const = 0;
  [[nodiscard]] virtual int Height() const = 0;
  virtual void SetLeft(int twips) = 0;
  virtual void SetTop(int twips) = 0;
  virtual void SetWidth(int twips) = 0;
  virtual void SetHeight(int twips) = 0;
  // Sets the whole extent as one change: a control that reacts to its size
  // sees the new width and height together.
  virtual void Move(int left, int top, int width, int height) = 0;
  [[nodiscard]] virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
};

class TextField : public Control {
 public:
  [[nodiscard]] virtual std::wstring Text() const = 0;
  // Raises Change at once, nested, when `text` differs from the current text.
  virtual void SetText(const std::wstring& text) = 0;
  [[nodiscard]] virtual int SelStart() const = 0;
  [[nodiscard]] virtual int SelLength() const = 0;
  virtual void SetSelStart(int start) = 0;
  virtual void SetSelLength(int length) = 0;
};

class CaptionedControl : public Control {
 public:
  [[nodiscard]] virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
};

// The window's option buttons form one exclusive group: selecting one clears
// the other.
class OptionButton : public CaptionedControl {
 public:
  [[nodiscard]] virtual bool Value() const = 0;
  virtual void SetValue(bool selected) = 0;
};

class CommandButton : public CaptionedControl {};

class Label : public CaptionedControl {
 public:
  // Colour number R + 256 G + 65536 B, or a system colour (SystemColour).
  [[nodiscard]] virtual std::uint32_t BackColor() const = 0;
  virtual void SetBackColor(std::uint32_t colour) = 0;
};

class LineControl : public Control {};

class MenuItem {
 public:
  MenuItem() = default;
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;
  virtual ~MenuItem() = default;

  [[nodiscard]] virtual std::wstring Caption() const = 0;
  [[nodiscard]] virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  [[nodiscard]] virtual bool Visible() const = 0;
};

// The main window itself.
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  [[nodiscard]] virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  // The window handle as a number; 0 when the window has none.
  [[nodiscard]] virtual std::intptr_t Handle() const = 0;

  // Screen position of the window's outer top-left corner, in twips.
  [[nodiscard]] virtual float Left() const = 0;
  [[nodiscard]] virtual float Top() const = 0;
  virtual void SetLeft(float twips) = 0;
  virtual void SetTop(float twips) = 0;
  // Outer size in twips, frame and title bar included, measured with the
  // design frame (45 twips left, right and bottom, 285 at the top). The
  // platform keeps the client area at Width - 90 by Height - 330 twips
  // whatever frame the system really draws.
  [[nodiscard]] virtual int Width() const = 0;
  [[nodiscard]] virtual int Height() const = 0;
  virtual void SetWidth(int twips) = 0;
  virtual void SetHeight(int twips) = 0;

  [[nodiscard]] virtual float TwipsPerPixelX() const = 0;
  [[nodiscard]] virtual float TwipsPerPixelY() const = 0;

  // Modal message box; returns the button the user chose (kMbResultOk).
  virtual int MsgBox(const std::wstring& prompt, int style, const std::wstring& title) = 0;
  // Pops up a menu at the mouse pointer; a chosen item raises MenuClick
  // before this returns.
  virtual void PopupMenu(MenuId menu) = 0;
  // Closes the window; the program ends with it.
  virtual void Unload() = 0;
  [[nodiscard]] virtual bool Unloaded() const = 0;

  // The running program's executable name without directory and extension.
  [[nodiscard]] virtual std::wstring ExeName() const = 0;
  // The command line without the program's own path.
  [[nodiscard]] virtual std::wstring CommandArgs() const = 0;
};

// What the platform raises; Form1 routes each to its named handler.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Load() = 0;
  virtual void Change(ControlId id) = 0;
  virtual void GotFocus(ControlId id) = 0;
  virtual void LostFocus(ControlId id) = 0;
  virtual void KeyDown(ControlId id, int& keyCode, int shift) = 0;
  virtual void Click(ControlId id) = 0;
  virtual void MouseUp(ControlId id, int button, int shift, float x, float y) = 0;
  virtual void MenuClick(MenuId id) = 0;
};

// The window and its controls by name, filled in by a platform.
class Form1View {
 public:
  [[nodiscard]] Window& Me() const { return *window_; }
  [[nodiscard]] TextField& txtC(int Index) const { return As<TextField>(TxtCId(Index)); }
  [[nodiscard]] TextField& txtHex() const { return As<TextField>(ControlId::txtHex); }
  [[nodiscard]] OptionButton& optRGB() const { return As<OptionButton>(ControlId::optRGB); }
  [[nodiscard]] OptionButton& optHex() const { return As<OptionButton>(ControlId::optHex); }
  [[nodiscard]] CommandButton& cmdGetPaint() const {
    return As<CommandButton>(ControlId::cmdGetPaint);
  }
  [[nodiscard]] CommandButton& cmdGetPaper() const {
    return As<CommandButton>(ControlId::cmdGetPaper);
  }
  [[nodiscard]] CommandButton& cmdSetPaint() const {
    return As<CommandButton>(ControlId::cmdSetPaint);
  }
  [[nodiscard]] CommandButton& cmdSetPaper() const {
    return As<CommandButton>(ControlId::cmdSetPaper);
  }
  [[nodiscard]] Label& Label1() const { return As<Label>(ControlId::Label1); }
  [[nodiscard]] Label& Label2() const { return As<Label>(ControlId::Label2); }
  [[nodiscard]] Label& lblColor() const { return As<Label>(ControlId::lblColor); }
  [[nodiscard]] LineControl& xLine1() const { return As<LineControl>(ControlId::xLine1); }
  [[nodiscard]] MenuItem& mnuOptTop() const { return Menu(MenuId::mnuOptTop); }
  [[nodiscard]] MenuItem& mnuOptView(int Index) const { return Menu(MnuOptViewId(Index)); }

  [[nodiscard]] Control& ControlById(ControlId id) const {
    return *controls_.at(static_cast<std::size_t>(id));
  }
  [[nodiscard]] MenuItem& Menu(MenuId id) const { return *menus_.at(static_cast<std::size_t>(id)); }

  void AttachWindow(Window& window) { window_ = &window; }
  void AttachControl(ControlId id, Control& control) {
    controls_.at(static_cast<std::size_t>(id)) = &control;
  }
  void AttachMenu(MenuId id, MenuItem& item) { menus_.at(static_cast<std::size_t>(id)) = &item; }

 private:
  template <typename T>
  [[nodiscard]] T& As(ControlId id) const {
    return static_cast<T&>(ControlById(id));
  }

  Window* window_ = nullptr;
  std::array<Control*, kControlCount> controls_{};
  std::array<MenuItem*, kMenuCount> menus_{};
};

}  // namespace pigmentry::platform
