// The host's automation binding as the program calls it: the class and
// interface identifiers, and the places in the method tables (counted from
// 0; IUnknown and IDispatch take 0 to 6) of the methods called directly.
// The stand-in's type library must put the same methods at the same places.
#pragma once

#include <objbase.h>

#include "bridge/host.h"

namespace pigmentry::bridge::com::binding {

// The host's classes and interfaces.
inline constexpr CLSID kClsidApplication = {
    0xADC60100, 0x88DF, 0x4F68, {0x9D, 0x4A, 0x71, 0x87, 0xB1, 0x6E, 0x86, 0xB8}};
inline constexpr CLSID kClsidColour = {
    0xADC60129, 0x88DF, 0x4F68, {0x9D, 0x4A, 0x71, 0x87, 0xB1, 0x6E, 0x86, 0xB8}};
inline constexpr IID kIidApplication = {
    0xF51A0000, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
inline constexpr IID kIidShapes = {
    0xF51A0083, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
inline constexpr IID kIidShape = {
    0xF51A000E, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
inline constexpr IID kIidFill = {
    0xF51A0051, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
inline constexpr IID kIidOutline = {
    0xF51A0050, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
inline constexpr IID kIidColour = {
    0xF51A0029, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
inline constexpr IID kIidEnumVariant = {
    0x00020404, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Slots of the methods called by their place in the method table.
namespace slot {
inline constexpr int kApplicationSwitch = 10;  // property put, VARIANT_BOOL
inline constexpr int kSelection = 55;          // property get
inline constexpr int kShapesItem = 9;          // (VARIANT position, out shape)
inline constexpr int kShapesCount = 11;        // property get
inline constexpr int kShapeOutline = 28;
inline constexpr int kShapeFill = 29;
inline constexpr int kFillType = 7;
inline constexpr int kFillUniformColor = 8;
inline constexpr int kOutlineColor = 9;
inline constexpr int kOutlineType = 12;
inline constexpr int kColourModel = 9;
inline constexpr int kColourAssignRGB = 10;
inline constexpr int kColourRed = 11;
inline constexpr int kColourGreen = 13;
inline constexpr int kColourBlue = 15;
inline constexpr int kColourToRGB = 17;
inline constexpr int kColourCopyFrom = 69;
}  // namespace slot

// The slot of the conversion to each model the bridge converts back to.
constexpr int ConvertSlot(ColourModel model) {
  switch (model) {
    case ColourModel::CMYK:
      return 27;
    case ColourModel::CMY:
      return 41;
    case ColourModel::HSB:
      return 49;
    case ColourModel::HLS:
      return 57;
    case ColourModel::BlackAndWhite:
      return 61;
    case ColourModel::Grayscale:
      return 65;
    case ColourModel::YIQ:
      return 78;
    case ColourModel::Lab:
      return 86;
    case ColourModel::RGB:
      break;
  }
  return slot::kColourToRGB;
}

}  // namespace pigmentry::bridge::com::binding
