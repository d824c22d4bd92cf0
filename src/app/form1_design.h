// Form1 as it is created, before its Load handler runs: every control with
// its kind, caption or text, place and tab order, and the Options menu.
#pragma once

#include <array>
#include <cstdint>

#include "platform/form_design.h"
#include "platform/ui.h"

namespace pigmentry::app {

using platform::ControlId;
using platform::ControlKind;
using platform::MenuId;

inline constexpr const wchar_t* kDesignCaption = L"Pigmentry";
inline constexpr const wchar_t* kAppTitle = L"Draw Pigmentry 11";

// Outer size (design frame: 45 twips left, right and bottom, 285 at the top)
// and the client area the controls were placed in.
inline constexpr int kFrameWidth = 90;
inline constexpr int kFrameHeight = 330;
inline constexpr int kFrameLeft = 45;
inline constexpr int kFrameTop = 285;
inline constexpr int kDesignWidth = 3780;
inline constexpr int kDesignHeight = 2040;

inline constexpr std::uint32_t kWhite = 16777215;

using platform::ControlDesign;
using platform::kNoTabStop;
using platform::MenuDesign;
using platform::TakesFocus;

// In tab order; the controls that never take the focus come last.
inline constexpr std::array<ControlDesign, platform::kControlCount> kForm1Controls = {{
    {ControlId::optRGB, ControlKind::OptionButton, L"optRGB", L"RGB", 960, 120, 1095, 255, 0, true},
    {ControlId::txtC0, ControlKind::TextField, L"txtC(0)", L"255", 1800, 120, 495, 285, 1},
    {ControlId::txtC1, ControlKind::TextField, L"txtC(1)", L"255", 2400, 120, 495, 285, 2},
    {ControlId::txtC2, ControlKind::TextField, L"txtC(2)", L"255", 3000, 120, 495, 285, 3},
    {ControlId::optHex, ControlKind::OptionButton, L"optHex", L"Hex", 960, 480, 975, 255, 4},
    {ControlId::txtHex, ControlKind::TextField, L"txtHex", L"FFFFFF", 1800, 480, 735, 285, 5},
    {ControlId::cmdGetPaint, ControlKind::CommandButton, L"cmdGetPaint", L"Fill", 1800, 960, 805,
     285, 6},
    {ControlId::cmdGetPaper, ControlKind::CommandButton, L"cmdGetPaper", L"Outline", 2760, 960, 805,
     285, 7},
    {ControlId::cmdSetPaint, ControlKind::CommandButton, L"cmdSetPaint", L"Fill", 1800, 1320, 805,
     285, 8},
    {ControlId::cmdSetPaper, ControlKind::CommandButton, L"cmdSetPaper", L"Outline", 2760, 1320,
     805, 285, 9},
    {ControlId::Label1, ControlKind::Label, L"Label1", L"Set Color:", 960, 1320, 855, 255, 10},
    {ControlId::Label2, ControlKind::Label, L"Label2", L"Get Color:", 960, 960, 855, 255, 11},
    {ControlId::lblColor, ControlKind::Label, L"lblColor", L"", 0, 0, 855, 1695, 12, false, kWhite},
    {ControlId::xLine1, ControlKind::Line, L"xLine1", L"", 840, 840, 2895, 30, kNoTabStop},
}};

// mnuOpt is the hidden top-level item; the others are its items, in order.
inline constexpr std::array<MenuDesign, platform::kMenuCount> kForm1Menus = {{
    {MenuId::mnuOpt, L"mnuOpt", L"Options", false, false},
    {MenuId::mnuOptTop, L"mnuOptTop", L"Always on Top", true, true},
    {MenuId::mnuOptBar1, L"mnuOptBar1", L"-", false, true},
    {MenuId::mnuOptView1, L"mnuOptView(1)", L"Default Layout", true, true},
    {MenuId::mnuOptView2, L"mnuOptView(2)", L"Wide Layout 1", false, true},
    {MenuId::mnuOptView3, L"mnuOptView(3)", L"Wide Layout 2", false, true},
}};

inline constexpr platform::FormDesign kForm1Design{kDesignCaption, kDesignWidth, kDesignHeight,
                                                   kFrameWidth,    kFrameHeight, kForm1Controls,
                                                   kForm1Menus};

[[nodiscard]] constexpr const ControlDesign& DesignOf(ControlId id) {
  return kForm1Design.Control(id);
}

}  // namespace pigmentry::app
