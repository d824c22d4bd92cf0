// The host's automation binding as the program calls it: the C++ interfaces
// generated from host_interfaces.idl (classes CLSID_..., interfaces IID_...,
// members in their slots, host_member:: names for calls by name), and which
// conversion each colour model goes back to.
#pragma once

#include <host_interfaces.h>

#include "bridge/host.h"

namespace pigmentry::bridge::com::binding {

// Converts `colour` to `model` with the host's conversion for it; to RGB for
// RGB.
inline HRESULT ConvertTo(IColor& colour, ColourModel model) {
  switch (model) {
    case ColourModel::CMYK:
      return colour.ConvertToCMYK();
    case ColourModel::CMY:
      return colour.ConvertToCMY();
    case ColourModel::HSB:
      return colour.ConvertToHSB();
    case ColourModel::HLS:
      return colour.ConvertToHLS();
    case ColourModel::BlackAndWhite:
      return colour.ConvertToBW();
    case ColourModel::Grayscale:
      return colour.ConvertToGray();
    case ColourModel::YIQ:
      return colour.ConvertToYIQ();
    case ColourModel::Lab:
      return colour.ConvertToLab();
    case ColourModel::RGB:
      break;
  }
  return colour.ConvertToRGB();
}

}  // namespace pigmentry::bridge::com::binding
