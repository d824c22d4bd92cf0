// The program's icon: 16 x 16 pixels in 16 grey levels, no transparent
// pixels. A square with an outer band shading from light grey (top left) to
// black (bottom right), a two-pixel black ring, and an inner square shading
// the opposite way.
//
// The table below is the one source of the picture: the build turns it into
// the executable's icon resource (cmake/icon_rc.cmake reads this file), and
// BuildIconImage() gives the same bytes to the tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pigmentry::app {

inline constexpr int kIconSize = 16;

// The grey level of each palette index, the same value for red, green and
// blue.
inline constexpr std::array<std::uint8_t, 16> kIconGreys = {
    0x00, 0x0D, 0x1D, 0x2D, 0x3D, 0x4E, 0x5F, 0x6B, 0x78, 0x87, 0x95, 0xA0, 0xB0, 0xC1, 0xD1, 0xE6,
};

// The pixels, one row per string from the top, each digit a palette index
// from left to right.
inline constexpr std::array<std::string_view, kIconSize> kIconRows = {
    "FFFFEEDDCCBBA998",  //
    "FFFEEDDCCBBA9988",  //
    "FF00000000000087",  //
    "FE00000000000076",  //
    "EE00556678890066",  //
    "ED00566788990065",  //
    "DD006678899A0055",  //
    "DC00678899AB0054",  //
    "CC0078899ABB0044",  //
    "CB008899ABBC0043",  //
    "BB00899ABBCC0033",  //
    "BA0099ABBCCD0032",  //
    "A900000000000022",  //
    "9900000000000021",  //
    "9887665544332211",  //
    "8876655443322110",  //
};

// The palette index of the pixel in column x and row y, counted from the top
// left corner.
constexpr int IconPixel(int x, int y) {
  const char digit = kIconRows.at(static_cast<std::size_t>(y)).at(static_cast<std::size_t>(x));
  return digit <= '9' ? digit - '0' : digit - 'A' + 10;
}

// The icon image as it is stored in an RT_ICON resource and in an .ico file:
// a BITMAPINFOHEADER (twice the height, for the colour and the mask bitmaps),
// the palette as RGBQUADs, the 4-bit colour rows and the 1-bit transparency
// mask rows, both bottom row first and padded to four bytes.
inline constexpr std::size_t kIconHeaderBytes = 40;
inline constexpr std::size_t kIconPaletteBytes = std::size_t{16} * 4;
inline constexpr std::size_t kIconColourStride = kIconSize / 2;
inline constexpr std::size_t kIconMaskStride = 4;
inline constexpr std::size_t kIconColourBytes = kIconColourStride * kIconSize;
inline constexpr std::size_t kIconMaskBytes = kIconMaskStride * kIconSize;
inline constexpr std::size_t kIconImageBytes =
    kIconHeaderBytes + kIconPaletteBytes + kIconColourBytes + kIconMaskBytes;

using IconImage = std::array<std::uint8_t, kIconImageBytes>;

namespace icon_detail {

template <std::size_t N>
constexpr void PutLittleEndian(std::array<std::uint8_t, N>& bytes, std::size_t at,
                               std::size_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    bytes.at(at + i) = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFU);
  }
}

}  // namespace icon_detail

constexpr IconImage BuildIconImage() {
  using icon_detail::PutLittleEndian;
  IconImage image{};
  PutLittleEndian(image, 0, kIconHeaderBytes, 4);                         // biSize
  PutLittleEndian(image, 4, kIconSize, 4);                                // biWidth
  PutLittleEndian(image, 8, 2 * static_cast<std::size_t>(kIconSize), 4);  // biHeight: colour + mask
  PutLittleEndian(image, 12, 1, 2);                                       // biPlanes
  PutLittleEndian(image, 14, 4, 2);                                       // biBitCount
  PutLittleEndian(image, 20, kIconColourBytes + kIconMaskBytes, 4);       // biSizeImage
  std::size_t at = kIconHeaderBytes;
  for (const std::uint8_t grey : kIconGreys) {
    image.at(at++) = grey;  // blue
    image.at(at++) = grey;  // green
    image.at(at++) = grey;  // red
    image.at(at++) = 0;
  }
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int x = 0; x < kIconSize; x += 2) {
      image.at(at++) = static_cast<std::uint8_t>(IconPixel(x, y) * 16 + IconPixel(x + 1, y));
    }
  }
  // The mask stays all zero: every pixel is opaque.
  return image;
}

// The RT_GROUP_ICON directory: one 16 x 16, 16-colour image, stored as the
// RT_ICON resource with this id.
inline constexpr std::uint16_t kIconImageId = 1;
inline constexpr std::size_t kIconGroupBytes = 6 + 14;

constexpr std::array<std::uint8_t, kIconGroupBytes> BuildIconGroup() {
  using icon_detail::PutLittleEndian;
  std::array<std::uint8_t, kIconGroupBytes> group{};
  PutLittleEndian(group, 2, 1, 2);                     // idType: icon
  PutLittleEndian(group, 4, 1, 2);                     // idCount
  group.at(6) = static_cast<std::uint8_t>(kIconSize);  // bWidth
  group.at(7) = static_cast<std::uint8_t>(kIconSize);  // bHeight
  group.at(8) = 16;                                    // bColorCount
  PutLittleEndian(group, 10, 1, 2);                    // wPlanes
  PutLittleEndian(group, 12, 4, 2);                    // wBitCount
  PutLittleEndian(group, 14, kIconImageBytes, 4);      // dwBytesInRes
  PutLittleEndian(group, 18, kIconImageId, 2);         // nId
  return group;
}

}  // namespace pigmentry::app
