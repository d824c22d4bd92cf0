#include "platform/memory/memory_form.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pigmentry::platform::memory {

namespace {

constexpr int kVkBack = 8;
constexpr int kVkEnd = 35;
constexpr int kVkHome = 36;
constexpr int kVkLeft = 37;
constexpr int kVkRight = 39;
constexpr int kVkDelete = 46;

// The key code a keystroke of `ch` raises KeyDown with.
int KeyCodeOf(wchar_t ch) {
  if (ch >= L'a' && ch <= L'z') {
    return ch - L'a' + L'A';
  }
  if ((ch >= L'0' && ch <= L'9') || (ch >= L'A' && ch <= L'Z') || ch == L' ') {
    return ch;
  }
  return 0xDE;  // any other character: a punctuation key
}

std::intptr_t NextHandle() {
  static std::intptr_t next = 0x10000;
  next += 0x10;
  return next;
}

}  // namespace

// --- MemoryControl ---------------------------------------------------------

MemoryControl::MemoryControl(MemoryForm& form, ControlId id) : form_(form), id_(id) {}

FormEvents& MemoryControl::Events() const { return form_.Events(); }

void MemoryControl::Restore(const ControlDesign& design) {
  extent_ = {design.left, design.top, design.width, design.height};
  visible_ = true;
}

// --- MemoryTextField ---------------------------------------------------------

MemoryTextField::MemoryTextField(MemoryForm& form, ControlId id, SizeRecord extent,
                                 std::wstring text)
    : MemoryControlOf(form, id, extent), text_(std::move(text)) {}

void MemoryTextField::Restore(const ControlDesign& design) {
  MemoryControl::Restore(design);
  std::wstring(design.text).swap(text_);
  selStart_ = 0;
  selLength_ = 0;
}

void MemoryTextField::SetText(const std::wstring& text) {
  ++Form().textWrites;
  if (text == text_) {
    return;
  }
  ChangeText(text, 0);
}

void MemoryTextField::ChangeText(std::wstring text, int caret) {
  text_ = std::move(text);
  selStart_ = std::clamp(caret, 0, static_cast<int>(text_.size()));
  selLength_ = 0;
  Events().Change(Id());
}

void MemoryTextField::SetSelStart(int start) {
  selStart_ = std::clamp(start, 0, static_cast<int>(text_.size()));
  selLength_ = 0;
}

void MemoryTextField::SetSelLength(int length) {
  selLength_ = std::clamp(length, 0, static_cast<int>(text_.size()) - selStart_);
}

void MemoryTextField::ReplaceSelection(const std::wstring& text) {
  std::wstring changed = text_;
  changed.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_), text);
  const int caret = selStart_ + static_cast<int>(text.size());
  if (changed == text_) {
    selStart_ = caret;
    selLength_ = 0;
    return;
  }
  ChangeText(std::move(changed), caret);
}

void MemoryTextField::DefaultKeyAction(int keyCode) {
  const int size = static_cast<int>(text_.size());
  switch (keyCode) {
    case kVkBack:
      if (selLength_ == 0 && selStart_ > 0) {
        selStart_ -= 1;
        selLength_ = 1;
      }
      ReplaceSelection(L"");
      break;
    case kVkDelete:
      if (selLength_ == 0 && selStart_ < size) {
        selLength_ = 1;
      }
      ReplaceSelection(L"");
      break;
    case kVkLeft:
      SetSelStart(selLength_ > 0 ? selStart_ : selStart_ - 1);
      break;
    case kVkRight:
      SetSelStart(selLength_ > 0 ? selStart_ + selLength_ : selStart_ + 1);
      break;
    case kVkHome:
      SetSelStart(0);
      break;
    case kVkEnd:
      SetSelStart(size);
      break;
    default:
      break;
  }
}

// --- MemoryOptionButton ------------------------------------------------------

MemoryOptionButton::MemoryOptionButton(MemoryForm& form, ControlId id, SizeRecord extent,
                                       std::wstring caption, bool value)
    : MemoryCaptioned(form, id, extent, std::move(caption)), value_(value) {}

void MemoryOptionButton::Restore(const ControlDesign& design) {
  MemoryCaptioned::Restore(design);
  value_ = design.selected;
}

void MemoryOptionButton::SetValue(bool selected) {
  value_ = selected;
  if (!selected) {
    return;
  }
  const ControlId other = Id() == ControlId::optRGB ? ControlId::optHex : ControlId::optRGB;
  auto& otherButton = static_cast<MemoryOptionButton&>(Form().View().ControlById(other));
  otherButton.value_ = false;
}

// --- MemoryLabel -------------------------------------------------------------

MemoryLabel::MemoryLabel(MemoryForm& form, ControlId id, SizeRecord extent, std::wstring caption,
                         std::uint32_t backColor)
    : MemoryCaptioned(form, id, extent, std::move(caption)), backColor_(backColor) {}

void MemoryLabel::Restore(const ControlDesign& design) {
  MemoryCaptioned::Restore(design);
  backColor_ = design.background;
}

// --- MemoryLine --------------------------------------------------------------

MemoryLine::MemoryLine(MemoryForm& form, ControlId id, SizeRecord extent)
    : MemoryControlOf(form, id, extent), line_(*this) {}

float MemoryLine::TwipsPerPixelX() const { return Form().Me().TwipsPerPixelX(); }
float MemoryLine::TwipsPerPixelY() const { return Form().Me().TwipsPerPixelY(); }

void MemoryLine::DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  lines_.push_back({x1, y1, x2, y2, colour});
}

void MemoryLine::Restore(const ControlDesign& design) {
  MemoryControl::Restore(design);
  std::vector<LineRecord>().swap(lines_);
  resizeCount_ = 0;
}

void MemoryLine::Resized() {
  ++resizeCount_;
  line_.Resize();
}

// --- MemoryWindow ------------------------------------------------------------

MemoryWindow::MemoryWindow(MemoryForm& form)
    : form_(form),
      caption_(form.Design().caption),
      handle_(NextHandle()),
      width_(form.Design().width),
      height_(form.Design().height) {}

void MemoryWindow::Restore() {
  std::wstring(form_.Design().caption).swap(caption_);
  handle_ = NextHandle();
  left_ = 0;
  top_ = 0;
  width_ = form_.Design().width;
  height_ = form_.Design().height;
  unloaded_ = false;
  std::wstring().swap(commandArgs_);
  std::wstring(L"Pigmentry").swap(exeName_);
}

float MemoryWindow::TwipsPerPixelX() const { return 1440.0F / static_cast<float>(form_.Dpi()); }
float MemoryWindow::TwipsPerPixelY() const { return 1440.0F / static_cast<float>(form_.Dpi()); }

int MemoryWindow::MsgBox(const std::wstring& prompt, int style, const std::wstring& title) {
  return form_.RecordMessageBox({prompt, style, title});
}

void MemoryWindow::PopupMenu(MenuId menu) { form_.RecordPopup(menu); }

// --- MemoryForm --------------------------------------------------------------

MemoryForm::MemoryForm(const FormDesign& design, int dpi)
    : design_(design), dpi_(dpi), window_(*this) {
  view_.AttachWindow(window_);
  for (const auto& design : design_.controls) {
    const SizeRecord extent{design.left, design.top, design.width, design.height};
    std::unique_ptr<Control> control;
    const auto adopt = [&](auto created) {
      memoryControls_.push_back(created.get());
      control = std::move(created);
    };
    switch (design.kind) {
      case ControlKind::TextField:
        adopt(std::make_unique<MemoryTextField>(*this, design.id, extent, design.text));
        break;
      case ControlKind::OptionButton:
        adopt(std::make_unique<MemoryOptionButton>(*this, design.id, extent, design.text,
                                                   design.selected));
        break;
      case ControlKind::CommandButton:
        adopt(std::make_unique<MemoryCommandButton>(*this, design.id, extent, design.text));
        break;
      case ControlKind::Label: {
        adopt(std::make_unique<MemoryLabel>(*this, design.id, extent, design.text,
                                            design.background));
        break;
      }
      case ControlKind::Line: {
        auto line = std::make_unique<MemoryLine>(*this, design.id, extent);
        line_ = line.get();
        adopt(std::move(line));
        break;
      }
    }
    view_.AttachControl(design.id, *control);
    controls_.push_back(std::move(control));
  }
  for (const auto& design : design_.menus) {
    menus_.push_back(
        std::make_unique<MemoryMenuItem>(design.caption, design.checked, design.visible));
    view_.AttachMenu(design.id, *menus_.back());
  }
}

MemoryForm::~MemoryForm() = default;

// Every buffer a long text or record took is given back rather than kept
// for later: a form reset after each input then holds the same memory as
// before it, and the fuzzer's check for leaks stays quiet.
void MemoryForm::Reset() {
  window_.Restore();
  for (std::size_t i = 0; i < memoryControls_.size(); ++i) {
    memoryControls_[i]->Restore(design_.controls[i]);
  }
  for (const auto& design : design_.menus) {
    Menu(design.id).Restore(design);
  }
  focused_.reset();
  std::vector<MessageBoxRecord>().swap(messageBoxes_);
  std::vector<MenuId>().swap(popups_);
  textWrites = 0;
}

FormEvents& MemoryForm::Events() const {
  if (events_ == nullptr) {
    throw std::logic_error("MemoryForm: no handlers connected");
  }
  return *events_;
}

MemoryTextField& MemoryForm::Field(ControlId id) {
  return static_cast<MemoryTextField&>(view_.ControlById(id));
}

const MemoryTextField& MemoryForm::Field(ControlId id) const {
  return static_cast<const MemoryTextField&>(view_.ControlById(id));
}

MemoryMenuItem& MemoryForm::Menu(MenuId id) { return static_cast<MemoryMenuItem&>(view_.Menu(id)); }

PixelRect MemoryForm::PixelsOf(ControlId id) const {
  const Control& control = view_.ControlById(id);
  return {TwipsToPixels(control.Left(), dpi_), TwipsToPixels(control.Top(), dpi_),
          TwipsToPixels(control.Width(), dpi_), TwipsToPixels(control.Height(), dpi_)};
}

PixelRect MemoryForm::ClientPixels() const {
  return {0, 0, TwipsToPixels(window_.Width() - design_.frameWidth, dpi_),
          TwipsToPixels(window_.Height() - design_.frameHeight, dpi_)};
}

void MemoryForm::Load() { Events().Load(); }

void MemoryForm::Focus(ControlId id) {
  if (focused_ == id) {
    return;
  }
  const auto old = focused_;
  focused_ = id;
  if (old) {
    Events().LostFocus(*old);
  }
  // A LostFocus handler may have moved the focus elsewhere already.
  if (focused_ == id) {
    Events().GotFocus(id);
  }
}

void MemoryForm::Tab(bool backwards) {
  std::vector<ControlId> order;
  for (const auto& design : design_.controls) {
    const Control& control = view_.ControlById(design.id);
    // Of a group of option buttons only the selected one is a Tab stop.
    const bool unselectedOption = design.kind == ControlKind::OptionButton &&
                                  !static_cast<const OptionButton&>(control).Value();
    if (TakesFocus(design) && control.Visible() && !unselectedOption) {
      order.push_back(design.id);
    }
  }
  if (order.empty()) {
    return;
  }
  auto at = focused_ ? std::find(order.begin(), order.end(), *focused_) : order.end();
  std::size_t next = 0;
  if (at != order.end()) {
    const auto index = static_cast<std::size_t>(at - order.begin());
    next = backwards ? (index + order.size() - 1) % order.size() : (index + 1) % order.size();
  }
  Focus(order[next]);
}

MemoryTextField* MemoryForm::FocusedField() {
  if (!focused_) {
    return nullptr;
  }
  const auto kind = design_.Control(*focused_).kind;
  return kind == ControlKind::TextField ? &Field(*focused_) : nullptr;
}

void MemoryForm::Type(const std::wstring& text) {
  for (const wchar_t ch : text) {
    MemoryTextField* field = FocusedField();
    if (field == nullptr) {
      return;
    }
    int keyCode = KeyCodeOf(ch);
    Events().KeyDown(field->Id(), keyCode, 0);
    if (keyCode != 0 && FocusedField() == field) {
      field->ReplaceSelection(std::wstring(1, ch));
    }
  }
}

void MemoryForm::Paste(const std::wstring& text) {
  if (MemoryTextField* field = FocusedField()) {
    field->ReplaceSelection(text);
  }
}

void MemoryForm::PressKey(int keyCode, int shift) {
  if (!focused_) {
    return;
  }
  Events().KeyDown(*focused_, keyCode, shift);
  if (keyCode == 0) {
    return;
  }
  if (MemoryTextField* field = FocusedField()) {
    field->DefaultKeyAction(keyCode);
  }
}

void MemoryForm::Select(int start, int length) {
  if (MemoryTextField* field = FocusedField()) {
    field->SetSelStart(start);
    field->SetSelLength(length);
  }
}

void MemoryForm::Click(ControlId id) {
  const auto& design = design_.Control(id);
  if (TakesFocus(design)) {
    Focus(id);
  }
  switch (design.kind) {
    case ControlKind::OptionButton:
      static_cast<OptionButton&>(view_.ControlById(id)).SetValue(true);
      break;
    case ControlKind::CommandButton:
      Events().Click(id);
      break;
    case ControlKind::Label:
      Events().MouseUp(id, kLeftButton, 0, 0, 0);
      break;
    default:
      break;
  }
}

void MemoryForm::MouseUp(ControlId id, int button, float x, float y) {
  Events().MouseUp(id, button, 0, x, y);
}

void MemoryForm::ChooseMenuItem(MenuId id) { Events().MenuClick(id); }

int MemoryForm::RecordMessageBox(const MessageBoxRecord& record) {
  messageBoxes_.push_back(record);
  if (onMessageBox) {
    onMessageBox(record);
  }
  return kMbResultOk;
}

void MemoryForm::RecordPopup(MenuId menu) {
  popups_.push_back(menu);
  if (onPopup) {
    onPopup(*this);
  }
}

}  // namespace pigmentry::platform::memory
