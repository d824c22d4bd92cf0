// The controls' font: the dialog font at the window's resolution, and a
// smaller one of the same face for a text field too narrow for its digits.
#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

namespace {

constexpr int kFontPoints = 8;    // the dialog font's size
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
  std::array<Font, kControlCount> fieldFonts{};
  std::size_t fieldFontCount = 0;
  // Fields of the same room for the same number of digits share one choice
  // (the three decimal fields): the font of the choice, or none for the
  // dialog font.
  struct Choice {
    int room;
    int characters;
    HFONT font;
  };
  std::array<Choice, kControlCount> choices{};
  std::size_t choiceCount = 0;
  for (ChildWindow* child : children_) {
    const ControlDesign& design = design_.Control(child->Id());
    SetFieldFont(child->Hwnd(), font.get(), design.kind);
    if (design.kind != ControlKind::TextField) {
      continue;
    }
    const auto characters = static_cast<int>(std::wstring_view(design.text).size());
    const int room = TextRoom(child->Hwnd());
    Choice* const made = choices.data() + choiceCount;
    Choice* choice = std::find_if(choices.data(), made, [&](const Choice& earlier) {
      return earlier.room == room && earlier.characters == characters;
    });
    if (choice == made) {
      Font fitted = FontThatFits(child->Hwnd(), room, logFont, font.get(), characters);
      *choice = {room, characters, fitted.get()};
      ++choiceCount;
      if (fitted) {
        fieldFonts[fieldFontCount++] = std::move(fitted);
      }
    }
    if (choice->font != nullptr) {
      SetFieldFont(child->Hwnd(), choice->font, design.kind);
    }
  }
  font_ = std::move(font);
  fieldFonts_ = std::move(fieldFonts);
}

}  // namespace pigmentry::platform::win32
