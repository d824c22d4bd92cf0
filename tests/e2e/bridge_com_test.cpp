// The COM binding of the host, run directly against the stand-in host
// server (registered in the Wine prefix), without the window.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/com/com_host.h"
#include "bridge/host.h"
#include "e2e/harness.h"

namespace pigmentry::bridge {
namespace {

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

// A drawing file for the stand-in, named under its registry key, and the
// COM apartment the program runs in.
class ComBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    path_ = TempFile(L"pigmentry_bridge_com_test.txt");
    e2e::UseStandInDrawing(path_);
    host_ = MakeComHost();
  }
  void TearDown() override {
    host_.reset();
    CoUninitialize();
    DeleteFileW(path_.c_str());
    e2e::UseStandInDrawing(L"");
    e2e::StopStandIn();
  }
  void WriteDrawing(const std::string& text) const {
    std::ofstream file(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
    file << text;
  }
  [[nodiscard]] std::string ReadDrawing() const {
    std::ifstream file(std::filesystem::path(path_), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  [[nodiscard]] std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadDrawing());
    for (std::string line; std::getline(text, line);) {
      if (line.rfind("log ", 0) == 0) {
        lines.push_back(line.substr(4));
      }
    }
    return lines;
  }
  [[nodiscard]] std::string Log() const {
    std::string all;
    for (const std::string& line : LogLines()) {
      all += line + "\n";
    }
    return all;
  }

  std::wstring path_;
  std::unique_ptr<Host> host_;
};

constexpr const char* kTwoShapes =
    "shape fill 1 RGB 255 0 128 outline 2 CMYK 0 0 0 100\n"
    "shape fill 1 CMYK 0 60 100 0 outline 0 RGB 0 0 0\n"
    "select 1 2\n";

TEST_F(ComBindingTest, GetReachesEveryOperationThroughItsSlot) {
  WriteDrawing(kTwoShapes);
  {
    Application& application = host_->HeldApplication();
    application.SetSwitch(true);
    const auto selection = application.Selection();
    ASSERT_EQ(selection->Count(), 2);
    EXPECT_EQ(selection->Item(1)->Fill(Via::Slot)->Type(Via::Slot), 1);
    EXPECT_EQ(selection->Item(1)->Outline(Via::Slot)->Type(Via::Slot), 2);
    const auto work = host_->NewColour();
    EXPECT_EQ(work->Model(), 5) << "a new colour is RGB black";
    work->CopyFrom(*selection->Item(1)->Fill(Via::Slot)->UniformColor(Via::Slot));
    EXPECT_EQ(work->Model(), 5);
    EXPECT_EQ(work->Red(), 255);
    EXPECT_EQ(work->Green(), 0);
    EXPECT_EQ(work->Blue(), 128);
    work->CopyFrom(*selection->Item(1)->Outline(Via::Slot)->Color(Via::Slot));
    EXPECT_EQ(work->Model(), 2);
    work->ToRGB();
    EXPECT_EQ(work->Model(), 5);
    EXPECT_EQ(work->Red() + work->Green() + work->Blue(), 0);
  }
  const std::string log = Log();
  for (const char* call :
       {"Application slot 10 true", "Application slot 55", "Shapes slot 11", "Shapes slot 9 vt 2",
        "Shape slot 29", "Shape slot 28", "Fill slot 7", "Fill slot 8", "Outline slot 12",
        "Outline slot 9", "Color slot 9", "Color slot 69", "Color slot 11", "Color slot 13",
        "Color slot 15", "Color slot 17"}) {
    EXPECT_NE(log.find(std::string(" ") + call + "\n"), std::string::npos) << call << "\n" << log;
  }
  EXPECT_EQ(log.find("E_NOTIMPL"), std::string::npos) << log;
  EXPECT_EQ(log.find("->"), std::string::npos) << "no call failed\n" << log;
}

TEST_F(ComBindingTest, SetGoesByNameAndLooksEachNameUpOnce) {
  WriteDrawing(kTwoShapes);
  const long lookupsBefore = ComNameLookups();
  for (int click = 0; click < 2; ++click) {
    Application& application = host_->HeldApplication();
    const auto selection = application.Selection();
    const auto work = host_->NewColour();
    const auto shapes = selection->Enumerate();
    int count = 0;
    while (const auto shape = shapes->Next()) {
      ++count;
      if (shape->Fill(Via::Name)->Type(Via::Name) == 1) {
        work->CopyFrom(*shape->Fill(Via::Name)->UniformColor(Via::Name));
      }
      const std::int32_t model = work->Model();
      work->ToRGB();
      work->AssignRGB(0, 255, 0);
      if (model == 2) {
        work->ConvertTo(ColourModel::CMYK);
      }
      shape->Fill(Via::Name)->UniformColor(Via::Name)->CopyAssign(*work);
      EXPECT_EQ(shape->Outline(Via::Name)->Type(Via::Name), count == 1 ? 2 : 0);
      (void)shape->Outline(Via::Name)->Color(Via::Name);
    }
    EXPECT_EQ(count, 2);
  }
  // Fill, Outline on the shape; Type and UniformColor on the fill; Type and
  // Color on the outline; CopyAssign on the colour.
  const long lookups = ComNameLookups() - lookupsBefore;
  EXPECT_LE(lookups, 7);
  const std::string drawing = ReadDrawing();
  EXPECT_NE(drawing.find("shape fill 1 RGB 0 255 0 outline 2 CMYK 0 0 0 100\n"), std::string::npos)
      << drawing;
  EXPECT_NE(drawing.find("shape fill 1 CMYK 100 0 100 0 outline 0 RGB 0 0 0\n"), std::string::npos)
      << drawing;
  const std::string log = Log();
  for (const char* call :
       {"Shapes Invoke _NewEnum", "Enum Next", "Shape Invoke Fill", "Fill Invoke Type",
        "Fill Invoke UniformColor", "Color Invoke CopyAssign", "Outline Invoke Type",
        "Outline Invoke Color", "Color slot 27"}) {
    EXPECT_NE(log.find(std::string(" ") + call + "\n"), std::string::npos) << call << "\n" << log;
  }
  EXPECT_EQ(log.find("E_NOTIMPL"), std::string::npos) << log;
}

TEST_F(ComBindingTest, EveryConversionSlotGivesItsModel) {
  WriteDrawing("");
  (void)host_->HeldApplication();
  const auto colour = host_->NewColour();
  for (const ColourModel model :
       {ColourModel::CMYK, ColourModel::CMY, ColourModel::HSB, ColourModel::HLS,
        ColourModel::BlackAndWhite, ColourModel::Grayscale, ColourModel::YIQ, ColourModel::Lab}) {
    colour->AssignRGB(255, 255, 255);
    colour->ConvertTo(model);
    EXPECT_EQ(colour->Model(), static_cast<std::int32_t>(model));
    colour->ToRGB();
    EXPECT_EQ(colour->Model(), 5);
    EXPECT_GE(colour->Red(), 250) << static_cast<int>(model);
  }
}

TEST_F(ComBindingTest, AnInjectedFailureComesBackWithItsCodeAndText) {
  // Calls count from the loading of the drawing: 1 the switch, 2 the selection.
  WriteDrawing(std::string(kTwoShapes) + "fail 2 0x80004005\n");
  Application& application = host_->HeldApplication();
  application.SetSwitch(true);
  try {
    (void)application.Selection();
    FAIL() << "the selection should have failed";
  } catch (const HostFailure& failure) {
    EXPECT_EQ(failure.FailedOperation(), Operation::GetSelection);
    EXPECT_EQ(static_cast<std::uint32_t>(failure.Code()), 0x80004005U);
    EXPECT_FALSE(failure.Text().empty());
    EXPECT_FALSE(IsHostGone(failure.Code()));
  }
  EXPECT_EQ(application.Selection()->Count(), 2) << "the failure is injected once";
}

TEST_F(ComBindingTest, AfterADisconnectANewApplicationWorks) {
  WriteDrawing(std::string(kTwoShapes) + "disconnect 1\n");
  host_->HeldApplication().SetSwitch(true);
  try {
    (void)host_->HeldApplication().Selection();
    FAIL() << "the host should have gone";
  } catch (const HostFailure& failure) {
    EXPECT_TRUE(IsHostGone(failure.Code()));
  }
  host_->LetGoOfApplication();
  EXPECT_EQ(host_->HeldApplication().Selection()->Count(), 2);
}

TEST_F(ComBindingTest, AMalformedDrawingFailsTheCreation) {
  for (const char* text :
       {"shape fill 1 RGB 256 0 0 outline 0 RGB 0 0 0\n", "select 1\n", "shape fill\n", "bogus\n",
        "shape fill 1 CMYK 1 2 3 outline 0 RGB 0 0 0\n", "fail x 0x1\n"}) {
    WriteDrawing(text);
    try {
      (void)host_->HeldApplication();
      ADD_FAILURE() << text;
    } catch (const HostFailure& failure) {
      EXPECT_EQ(failure.FailedOperation(), Operation::CreateApplication);
      EXPECT_EQ(static_cast<std::uint32_t>(failure.Code()), 0x8007000DU) << text;
    }
  }
}

}  // namespace
}  // namespace pigmentry::bridge
