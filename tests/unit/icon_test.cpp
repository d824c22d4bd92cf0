// The program's icon as it ships: the bytes of the RT_ICON image and the
// RT_GROUP_ICON directory built from the pixel table, and the resource script
// that the build generates from the same table.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/icon_data.h"

namespace pigmentry::app {
namespace {

template <std::size_t N>
std::uint32_t ReadLittleEndian(const std::array<std::uint8_t, N>& bytes, std::size_t at,
                               std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    value |= static_cast<std::uint32_t>(bytes.at(at + i)) << (8 * i);
  }
  return value;
}

// Reads the image the way Windows does: the 4-bit colour rows stand bottom
// row first after the header and the palette, the left pixel in the high
// nibble. Returns the pixel's colour as 0xRRGGBB.
std::uint32_t ColourAt(const IconImage& image, int x, int y) {
  const auto row = static_cast<std::size_t>(kIconSize - 1 - y);
  const std::size_t at = kIconHeaderBytes + kIconPaletteBytes + row * kIconColourStride +
                         static_cast<std::size_t>(x / 2);
  const int index = x % 2 == 0 ? image.at(at) >> 4 : image.at(at) & 0x0F;
  const std::size_t entry = kIconHeaderBytes + 4 * static_cast<std::size_t>(index);
  return (static_cast<std::uint32_t>(image.at(entry + 2)) << 16) |
         (static_cast<std::uint32_t>(image.at(entry + 1)) << 8) | image.at(entry);
}

struct PixelCase {
  const char* where;
  int x;
  int y;
  std::uint32_t colour;
};

void PrintTo(const PixelCase& c, std::ostream* os) { *os << c.where; }

class IconPixels : public testing::TestWithParam<PixelCase> {};

TEST_P(IconPixels, ShowTheGreyOfTheTable) {
  const PixelCase& c = GetParam();
  EXPECT_EQ(ColourAt(BuildIconImage(), c.x, c.y), c.colour)
      << "pixel (" << c.x << ", " << c.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Icon, IconPixels,
                         testing::Values(PixelCase{"top left, light grey", 0, 0, 0xE6E6E6},
                                         PixelCase{"second of the top row", 4, 0, 0xD1D1D1},
                                         PixelCase{"top right", 15, 0, 0x787878},
                                         PixelCase{"bottom left", 0, 15, 0x787878},
                                         PixelCase{"bottom right, black", 15, 15, 0x000000},
                                         PixelCase{"left of the bottom right", 14, 15, 0x0D0D0D},
                                         PixelCase{"outer band, right", 14, 2, 0x787878},
                                         PixelCase{"outer band, left", 1, 3, 0xD1D1D1},
                                         PixelCase{"ring, top left", 2, 2, 0x000000},
                                         PixelCase{"ring, bottom right", 13, 13, 0x000000},
                                         PixelCase{"inner square, top left", 4, 4, 0x4E4E4E},
                                         PixelCase{"inner square, top right", 11, 4, 0x878787},
                                         PixelCase{"inner square, bottom left", 4, 11, 0x878787},
                                         PixelCase{"inner square, bottom right", 11, 11,
                                                   0xC1C1C1}));

TEST(IconImage, HeaderDescribesA16By16FourBitIconWithAnOpaqueMask) {
  const IconImage image = BuildIconImage();
  EXPECT_EQ(ReadLittleEndian(image, 0, 4), 40U);    // biSize
  EXPECT_EQ(ReadLittleEndian(image, 4, 4), 16U);    // biWidth
  EXPECT_EQ(ReadLittleEndian(image, 8, 4), 32U);    // biHeight: colour and mask
  EXPECT_EQ(ReadLittleEndian(image, 12, 2), 1U);    // biPlanes
  EXPECT_EQ(ReadLittleEndian(image, 14, 2), 4U);    // biBitCount
  EXPECT_EQ(ReadLittleEndian(image, 16, 4), 0U);    // biCompression: BI_RGB
  EXPECT_EQ(ReadLittleEndian(image, 20, 4), 192U);  // biSizeImage
  EXPECT_EQ(image.size(), 296U);

  // No transparent pixel: the mask after the colour rows is all zero.
  const std::size_t mask = kIconHeaderBytes + kIconPaletteBytes + kIconColourBytes;
  for (std::size_t at = mask; at < image.size(); ++at) {
    EXPECT_EQ(image.at(at), 0) << "mask byte " << at - mask;
  }
}

TEST(IconImage, PaletteHoldsTheSixteenGreysInOrder) {
  const IconImage image = BuildIconImage();
  const std::array<std::uint8_t, 16> greys = {0x00, 0x0D, 0x1D, 0x2D, 0x3D, 0x4E, 0x5F, 0x6B,
                                              0x78, 0x87, 0x95, 0xA0, 0xB0, 0xC1, 0xD1, 0xE6};
  for (std::size_t k = 0; k < 16; ++k) {
    const std::size_t entry = kIconHeaderBytes + 4 * k;
    EXPECT_EQ(image.at(entry), greys.at(k)) << "blue of index " << k;
    EXPECT_EQ(image.at(entry + 1), greys.at(k)) << "green of index " << k;
    EXPECT_EQ(image.at(entry + 2), greys.at(k)) << "red of index " << k;
    EXPECT_EQ(image.at(entry + 3), 0) << "reserved of index " << k;
  }
}

TEST(IconGroup, PointsAtTheOneImage) {
  const auto group = BuildIconGroup();
  EXPECT_EQ(ReadLittleEndian(group, 0, 2), 0U);   // idReserved
  EXPECT_EQ(ReadLittleEndian(group, 2, 2), 1U);   // idType: icon
  EXPECT_EQ(ReadLittleEndian(group, 4, 2), 1U);   // idCount
  EXPECT_EQ(group.at(6), 16);                     // bWidth
  EXPECT_EQ(group.at(7), 16);                     // bHeight
  EXPECT_EQ(group.at(8), 16);                     // bColorCount
  EXPECT_EQ(ReadLittleEndian(group, 10, 2), 1U);  // wPlanes
  EXPECT_EQ(ReadLittleEndian(group, 12, 2), 4U);  // wBitCount
  EXPECT_EQ(ReadLittleEndian(group, 14, 4), kIconImageBytes);
  EXPECT_EQ(ReadLittleEndian(group, 18, 2), 1U);  // nId: RT_ICON 1
}

// The raw-data block `<id> <type> { words }` of a resource script, as bytes.
std::vector<std::uint8_t> RawDataBlock(const std::string& script, const std::string& header) {
  const std::regex block(R"((^|\n))" + header + R"(\s*\n\{([^}]*)\})");
  std::smatch match;
  if (!std::regex_search(script, match, block)) {
    ADD_FAILURE() << R"(no block ")" << header << R"(" in the resource script)";
    return {};
  }
  std::vector<std::uint8_t> bytes;
  const std::string words = match[2].str();
  const std::regex word(R"(0x[0-9A-Fa-f]+)");
  for (auto it = std::sregex_iterator(words.begin(), words.end(), word);
       it != std::sregex_iterator(); ++it) {
    const unsigned long value = std::stoul(it->str(), nullptr, 16);
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFFU));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFU));
  }
  return bytes;
}

TEST(IconResourceScript, CarriesExactlyTheBytesBuiltFromTheTable) {
  std::ifstream file(PIGMENTRY_ICON_RC);
  ASSERT_TRUE(file) << "cannot read " << PIGMENTRY_ICON_RC;
  std::stringstream text;
  text << file.rdbuf();
  const std::string script = text.str();

  const IconImage image = BuildIconImage();
  const auto group = BuildIconGroup();
  EXPECT_EQ(RawDataBlock(script, "1 3"), std::vector<std::uint8_t>(image.begin(), image.end()));
  EXPECT_EQ(RawDataBlock(script, "1 14"), std::vector<std::uint8_t>(group.begin(), group.end()));
}

}  // namespace
}  // namespace pigmentry::app
