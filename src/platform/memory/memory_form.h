// The in-memory side of the platform: Form1's window and controls as plain
// objects, with the same event rules as the Win32 side, and the user's
// actions (focus, typing, pasting, keys, clicks, menus) as calls. Message
// boxes and pop-up menus are recorded instead of shown.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/xline.h"
#include "platform/form_design.h"
#include "platform/twips.h"
#include "platform/ui.h"

namespace pigmentry::platform::memory {

class MemoryForm;

struct MessageBoxRecord {
  std::wstring prompt;
  int style;
  std::wstring title;
};

struct LineRecord {
  int x1;
  int y1;
  int x2;
  int y2;
  std::uint32_t colour;
};

struct SizeRecord {
  int left;
  int top;
  int width;
  int height;
};

class MemoryControl {
 public:
  MemoryControl(MemoryForm& form, ControlId id);
  [[nodiscard]] ControlId Id() const { return id_; }
  // Back to the state the design gives it, as a newly created control.
  virtual void Restore(const ControlDesign& design);

 protected:
  [[nodiscard]] MemoryForm& Form() const { return form_; }
  [[nodiscard]] FormEvents& Events() const;
  SizeRecord extent_{};
  bool visible_ = true;

 private:
  MemoryForm& form_;
  ControlId id_;
};

// The Control members shared by every in-memory control.
template <typename Base>
class MemoryControlOf : public Base, public MemoryControl {
 public:
  MemoryControlOf(MemoryForm& form, ControlId id, SizeRecord extent) : MemoryControl(form, id) {
    extent_ = extent;
  }
  [[nodiscard]] int Left() const override { return extent_.left; }
  [[nodiscard]] int Top() const override { return extent_.top; }
  [[nodiscard]] int Width() const override { return extent_.width; }
  [[nodiscard]] int Height() const override { return extent_.height; }
  void SetLeft(int twips) override { Move(twips, extent_.top, extent_.width, extent_.height); }
  void SetTop(int twips) override { Move(extent_.left, twips, extent_.width, extent_.height); }
  void SetWidth(int twips) override { Move(extent_.left, extent_.top, twips, extent_.height); }
  void SetHeight(int twips) override { Move(extent_.left, extent_.top, extent_.width, twips); }
  void Move(int left, int top, int width, int height) override {
    const bool resized = width != extent_.width || height != extent_.height;
    extent_ = {left, top, width, height};
    if (resized) {
      Resized();
    }
  }
  [[nodiscard]] bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }

 protected:
  virtual void Resized() {}
};

class MemoryTextField final : public MemoryControlOf<TextField> {
 public:
  MemoryTextField(MemoryForm& form, ControlId id, SizeRecord extent, std::wstring text);
  [[nodiscard]] std::wstring Text() const override { return text_; }
  void SetText(const std::wstring& text) override;
  [[nodiscard]] int SelStart() const override { return selStart_; }
  [[nodiscard]] int SelLength() const override { return selLength_; }
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;
  // The text as held, without the copy that Text() hands out.
  [[nodiscard]] const std::wstring& HeldText() const { return text_; }
  void Restore(const ControlDesign& design) override;

  // The user replaces the selection with `text` (a keystroke or a paste).
  void ReplaceSelection(const std::wstring& text);
  // The default action of an editing key the handlers left alone.
  void DefaultKeyAction(int keyCode);

 private:
  void ChangeText(std::wstring text, int caret);

  std::wstring text_;
  int selStart_ = 0;
  int selLength_ = 0;
};

template <typename Base>
class MemoryCaptioned : public MemoryControlOf<Base> {
 public:
  MemoryCaptioned(MemoryForm& form, ControlId id, SizeRecord extent, std::wstring caption)
      : MemoryControlOf<Base>(form, id, extent), caption_(std::move(caption)) {}
  [[nodiscard]] std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override { caption_ = caption; }
  void Restore(const ControlDesign& design) override {
    MemoryControl::Restore(design);
    std::wstring(design.text).swap(caption_);
  }

 private:
  std::wstring caption_;
};

class MemoryOptionButton final : public MemoryCaptioned<OptionButton> {
 public:
  MemoryOptionButton(MemoryForm& form, ControlId id, SizeRecord extent, std::wstring caption,
                     bool value);
  [[nodiscard]] bool Value() const override { return value_; }
  void SetValue(bool selected) override;
  void Restore(const ControlDesign& design) override;

 private:
  bool value_;
};

class MemoryCommandButton final : public MemoryCaptioned<CommandButton> {
 public:
  using MemoryCaptioned::MemoryCaptioned;
};

class MemoryLabel final : public MemoryCaptioned<Label> {
 public:
  MemoryLabel(MemoryForm& form, ControlId id, SizeRecord extent, std::wstring caption,
              std::uint32_t backColor);
  [[nodiscard]] std::uint32_t BackColor() const override { return backColor_; }
  void SetBackColor(std::uint32_t colour) override { backColor_ = colour; }
  void Restore(const ControlDesign& design) override;

 private:
  std::uint32_t backColor_;
};

// The separator line: its container's view and its own drawing surface.
class MemoryLine final : public MemoryControlOf<LineControl>, public controls::LineSurface {
 public:
  MemoryLine(MemoryForm& form, ControlId id, SizeRecord extent);
  [[nodiscard]] int Width() const override { return extent_.width; }
  [[nodiscard]] int Height() const override { return extent_.height; }
  void SetWidth(int twips) override { MemoryControlOf::SetWidth(twips); }
  void SetHeight(int twips) override { MemoryControlOf::SetHeight(twips); }
  [[nodiscard]] float TwipsPerPixelX() const override;
  [[nodiscard]] float TwipsPerPixelY() const override;
  void DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour) override;

  // The platform asks the control to paint its surface.
  void Paint() { line_.Paint(); }
  [[nodiscard]] const std::vector<LineRecord>& Lines() const { return lines_; }
  void ClearLines() { lines_.clear(); }
  [[nodiscard]] int ResizeCount() const { return resizeCount_; }
  void Restore(const ControlDesign& design) override;

 private:
  void Resized() override;

  controls::xLine line_;
  std::vector<LineRecord> lines_;
  int resizeCount_ = 0;
};

class MemoryMenuItem final : public MenuItem {
 public:
  MemoryMenuItem(std::wstring caption, bool checked, bool visible)
      : caption_(std::move(caption)), checked_(checked), visible_(visible) {}
  [[nodiscard]] std::wstring Caption() const override { return caption_; }
  [[nodiscard]] bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }
  [[nodiscard]] bool Visible() const override { return visible_; }
  void Restore(const MenuDesign& design) { checked_ = design.checked; }

 private:
  std::wstring caption_;
  bool checked_;
  bool visible_;
};

class MemoryWindow final : public Window {
 public:
  explicit MemoryWindow(MemoryForm& form);
  [[nodiscard]] std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override { caption_ = caption; }
  [[nodiscard]] std::intptr_t Handle() const override { return handle_; }
  [[nodiscard]] float Left() const override { return left_; }
  [[nodiscard]] float Top() const override { return top_; }
  void SetLeft(float twips) override { left_ = twips; }
  void SetTop(float twips) override { top_ = twips; }
  [[nodiscard]] int Width() const override { return width_; }
  [[nodiscard]] int Height() const override { return height_; }
  void SetWidth(int twips) override { width_ = twips; }
  void SetHeight(int twips) override { height_ = twips; }
  [[nodiscard]] float TwipsPerPixelX() const override;
  [[nodiscard]] float TwipsPerPixelY() const override;
  int MsgBox(const std::wstring& prompt, int style, const std::wstring& title) override;
  void PopupMenu(MenuId menu) override;
  void Unload() override { unloaded_ = true; }
  [[nodiscard]] bool Unloaded() const override { return unloaded_; }
  [[nodiscard]] std::wstring ExeName() const override { return exeName_; }
  [[nodiscard]] std::wstring CommandArgs() const override { return commandArgs_; }

  void SetHandle(std::intptr_t handle) { handle_ = handle; }
  void SetExeName(std::wstring name) { exeName_ = std::move(name); }
  void SetCommandArgs(std::wstring args) { commandArgs_ = std::move(args); }
  // The design-time window under a new handle, as a newly created one.
  void Restore();

 private:
  MemoryForm& form_;
  std::wstring caption_;
  std::intptr_t handle_;
  float left_ = 0;
  float top_ = 0;
  int width_;
  int height_;
  bool unloaded_ = false;
  std::wstring exeName_ = L"Pigmentry";
  std::wstring commandArgs_;
};

class MemoryForm {
 public:
  // A screen with the given resolution in dots per inch (twips per pixel =
  // 1440 / dpi).
  // Creates the form `design` describes; `design` must outlive the form.
  explicit MemoryForm(const FormDesign& design, int dpi = 96);
  MemoryForm(const MemoryForm&) = delete;
  MemoryForm& operator=(const MemoryForm&) = delete;
  ~MemoryForm();
  // Back to the state of a newly created form: the design-time window and
  // controls, no focus, nothing recorded. The handlers and the callbacks
  // stay connected. Far cheaper than creating the form again.
  void Reset();

  [[nodiscard]] const Form1View& View() const { return view_; }
  void Connect(FormEvents& events) { events_ = &events; }
  [[nodiscard]] FormEvents& Events() const;
  [[nodiscard]] int Dpi() const { return dpi_; }
  [[nodiscard]] const FormDesign& Design() const { return design_; }
  // Where the Win32 side would place a control, and the size it would give
  // the client area, in pixels at this form's resolution.
  [[nodiscard]] PixelRect PixelsOf(ControlId id) const;
  [[nodiscard]] PixelRect ClientPixels() const;

  [[nodiscard]] MemoryWindow& Me() { return window_; }
  [[nodiscard]] MemoryTextField& Field(ControlId id);
  [[nodiscard]] const MemoryTextField& Field(ControlId id) const;
  [[nodiscard]] MemoryTextField& txtC(int index) { return Field(TxtCId(index)); }
  [[nodiscard]] MemoryTextField& txtHex() { return Field(ControlId::txtHex); }
  [[nodiscard]] MemoryLine& xLine1() { return *line_; }
  [[nodiscard]] MemoryMenuItem& Menu(MenuId id);

  // --- What the user does -------------------------------------------------
  // Raises Load, as the platform does before the window is first shown.
  void Load();
  // Moves the focus: LostFocus of the old control, then GotFocus of the new.
  void Focus(ControlId id);
  [[nodiscard]] std::optional<ControlId> Focused() const { return focused_; }
  // Moves the focus to the next control in tab order (Shift+Tab: backwards).
  void Tab(bool backwards = false);
  // Types each character into the focused field (KeyDown, then the text).
  void Type(const std::wstring& text);
  // Pastes over the focused field's selection: one change.
  void Paste(const std::wstring& text);
  // Presses a key in the focused control: KeyDown, then the field's own
  // action unless the handler consumed the key.
  void PressKey(int keyCode, int shift = 0);
  // Selects text in the focused field with the mouse or Shift+arrows.
  void Select(int start, int length);
  // A left click: the control takes the focus, then acts (an option button
  // is selected, a command button raises Click).
  void Click(ControlId id);
  // A mouse button released over a control.
  void MouseUp(ControlId id, int button, float x = 0, float y = 0);

  // --- What the program showed --------------------------------------------
  // Every text a handler has written to a field, equal to the old one or
  // not: a figure of the benchmarks.
  long textWrites = 0;
  [[nodiscard]] const std::vector<MessageBoxRecord>& MessageBoxes() const { return messageBoxes_; }
  void ClearMessageBoxes() { messageBoxes_.clear(); }
  [[nodiscard]] const std::vector<MenuId>& Popups() const { return popups_; }
  // Called while a pop-up menu is open; it may choose an item with
  // ChooseMenuItem. Without one the menu is dismissed.
  std::function<void(MemoryForm&)> onPopup;
  // Called while a message box is open, before the user presses OK.
  std::function<void(const MessageBoxRecord&)> onMessageBox;
  // The user chooses an item of the open pop-up menu.
  void ChooseMenuItem(MenuId id);

  // Bookkeeping for the window's own calls.
  int RecordMessageBox(const MessageBoxRecord& record);
  void RecordPopup(MenuId menu);

 private:
  [[nodiscard]] MemoryTextField* FocusedField();

  const FormDesign& design_;
  int dpi_;
  FormEvents* events_ = nullptr;
  MemoryWindow window_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<MemoryControl*> memoryControls_;  // the same controls, in design order
  std::vector<std::unique_ptr<MemoryMenuItem>> menus_;
  MemoryLine* line_ = nullptr;
  Form1View view_;
  std::optional<ControlId> focused_;
  std::vector<MessageBoxRecord> messageBoxes_;
  std::vector<MenuId> popups_;
};

}  // namespace pigmentry::platform::memory
