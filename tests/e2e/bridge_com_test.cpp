// The COM binding of the host, run directly against the stand-in host
// server (registered in the Wine prefix), without the window.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "bridge/com/com_host.h"
#include "bridge/host.h"
#include "support/standin.h"

namespace pigmentry::bridge {
namespace {

// A drawing file for the stand-in, named under its registry key, and the
// COM apartment the program runs in.
class ComBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    host_ = MakeComHost();
  }
  void TearDown() override {
    host_.reset();
    CoUninitialize();
  }
  void WriteDrawing(const std::string& text) const { EXPECT_TRUE(standIn_.WriteDrawing(text)); }
  [[nodiscard]] std::string ReadDrawing() const { return standIn_.ReadDrawing(); }
  [[nodiscard]] std::string Log() const {
    std::string all;
    for (const std::string& line : e2e::LogLines(ReadDrawing())) {
      all += line + "\n";
    }
    return all;
  }

  // Stopped, its drawing's setting and file gone, after the test.
  e2e::StandInHost standIn_{L"pigmentry_bridge_com_test.txt"};
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
       {"Application vtable put_Switch true", "Application vtable get_Selection",
        "Shapes vtable get_Count", "Shapes vtable Item vt 2", "Shape vtable get_Fill",
        "Shape vtable get_Outline", "Fill vtable get_Type", "Fill vtable get_UniformColor",
        "Outline vtable get_Type", "Outline vtable get_Color", "Color vtable get_Type",
        "Color vtable CopyFrom", "Color vtable get_RGBRed", "Color vtable get_RGBGreen",
        "Color vtable get_RGBBlue", "Color vtable ConvertToRGB"}) {
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
        "Outline Invoke Color", "Color vtable ConvertToCMYK"}) {
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

// --- Malformed answers ----------------------------------------------------------

// The first calls of a click once every name is known, numbered from the
// loading of the drawing: 1 the switch, 2 the selection; a Get then takes
// 3 Item(1) and 4 its Fill by slot, a Set 3 the enumerator, 4 its first
// Next, 5 the shape's Fill, 6 the fill's Type and 7 its UniformColor.
enum class Road : std::uint8_t { Get, Set };

struct MalformedCase {
  const char* name;
  const char* line;  // the drawing's malform line
  Road road;
  // The failure the binding reports; nothing where the answer is one it
  // takes: an enumeration that ends.
  std::optional<Operation> failed;
  std::uint32_t code;
};

constexpr std::uint32_t kNullObject = 0x80004003U;  // E_POINTER
constexpr std::uint32_t kWrongType = 0x80020005U;   // DISP_E_TYPEMISMATCH

std::string NameOf(const ::testing::TestParamInfo<MalformedCase>& info) { return info.param.name; }

class ComMalformedAnswer : public ComBindingTest,
                           public ::testing::WithParamInterface<MalformedCase> {
 protected:
  // The road of a click as far as its first fill colour; false when the
  // enumeration ended before a shape.
  bool Walk(Road road) {
    Application& application = host_->HeldApplication();
    application.SetSwitch(true);
    const auto selection = application.Selection();
    if (road == Road::Get) {
      (void)selection->Item(1)->Fill(Via::Slot)->Type(Via::Slot);
      return true;
    }
    const auto shapes = selection->Enumerate();
    const auto shape = shapes->Next();
    if (!shape) {
      return false;
    }
    const auto fill = shape->Fill(Via::Name);
    (void)fill->Type(Via::Name);
    (void)fill->UniformColor(Via::Name);
    return true;
  }
};

TEST_P(ComMalformedAnswer, IsReportedAsAFailureOfItsCall) {
  const MalformedCase& c = GetParam();
  // Both roads once on a sound drawing, so that no name lookup shifts the
  // numbers of the calls.
  WriteDrawing(kTwoShapes);
  ASSERT_TRUE(Walk(Road::Get));
  ASSERT_TRUE(Walk(Road::Set));
  host_->LetGoOfApplication();
  WriteDrawing(std::string(kTwoShapes) + c.line + "\n");

  try {
    const bool reachedAShape = Walk(c.road);
    EXPECT_FALSE(c.failed.has_value()) << "no failure was reported";
    EXPECT_FALSE(reachedAShape) << "the enumeration should have ended";
  } catch (const HostFailure& failure) {
    ASSERT_TRUE(c.failed.has_value()) << "failed: " << static_cast<int>(failure.FailedOperation());
    EXPECT_EQ(failure.FailedOperation(), *c.failed);
    EXPECT_EQ(static_cast<std::uint32_t>(failure.Code()), c.code);
    EXPECT_FALSE(failure.Text().empty());
    EXPECT_FALSE(IsHostGone(failure.Code()));
  }
  const std::string log = Log();
  EXPECT_NE(log.find("-> malformed"), std::string::npos) << "the answer was given\n" << log;
  // The binding still works for the next click.
  host_->LetGoOfApplication();
  WriteDrawing(kTwoShapes);
  EXPECT_EQ(host_->HeldApplication().Selection()->Count(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComMalformedAnswer,
    ::testing::Values(
        MalformedCase{"NullSelection", "malform 2 null", Road::Get, Operation::GetSelection,
                      kNullObject},
        MalformedCase{"NullItem", "malform 3 null", Road::Get, Operation::Item, kNullObject},
        MalformedCase{"NullFillBySlot", "malform 4 null", Road::Get, Operation::Fill, kNullObject},
        MalformedCase{"EmptyEnumerator", "malform 3 empty", Road::Set, Operation::Enumerate,
                      kWrongType},
        MalformedCase{"TextEnumerator", "malform 3 text", Road::Set, Operation::Enumerate,
                      kWrongType},
        MalformedCase{"NullEnumerator", "malform 3 null", Road::Set, Operation::Enumerate,
                      kWrongType},
        MalformedCase{"EnumeratorOfNothing", "malform 3 end", Road::Set, std::nullopt, 0},
        MalformedCase{"NextEndsAtOnce", "malform 4 end", Road::Set, std::nullopt, 0},
        MalformedCase{"NullShape", "malform 4 null", Road::Set, Operation::Enumerate, kWrongType},
        MalformedCase{"EmptyShape", "malform 4 empty", Road::Set, Operation::Enumerate, kWrongType},
        MalformedCase{"TextShape", "malform 4 text", Road::Set, Operation::Enumerate, kWrongType},
        MalformedCase{"NullFillByName", "malform 5 null", Road::Set, Operation::Fill, kWrongType},
        MalformedCase{"EmptyFillByName", "malform 5 empty", Road::Set, Operation::Fill, kWrongType},
        MalformedCase{"TextType", "malform 6 text", Road::Set, Operation::FillType, kWrongType},
        MalformedCase{"EmptyType", "malform 6 empty", Road::Set, Operation::FillType, kWrongType},
        MalformedCase{"NullType", "malform 6 null", Road::Set, Operation::FillType, kWrongType},
        MalformedCase{"NullUniformColor", "malform 7 null", Road::Set, Operation::FillColour,
                      kWrongType},
        MalformedCase{"TextUniformColor", "malform 7 text", Road::Set, Operation::FillColour,
                      kWrongType}),
    NameOf);

}  // namespace
}  // namespace pigmentry::bridge
