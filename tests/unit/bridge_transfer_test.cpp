// The four CorelDRAW buttons against the in-memory host.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "bridge/memory/memory_host.h"
#include "support/form_fixture.h"

namespace pigmentry::bridge {
namespace {

using colour_models::ColourValue;
using memory::ShapeData;
using platform::ControlId;

namespace cm = colour_models;

ColourValue Rgb(int r, int g, int b) { return cm::MakeRgb(r, g, b); }
ColourValue Cmyk(int c, int m, int y, int k) { return {cm::kCMYK, {c, m, y, k}}; }
ColourValue InModel(std::int32_t model, int r, int g, int b) {
  return cm::FromRgb(model, {r, g, b});
}
ShapeData UniformFill(const ColourValue& colour) { return {kUniformFill, colour, kNoOutline, {}}; }
ShapeData WithOutline(std::int32_t type, const ColourValue& colour) {
  return {kUniformFill, Rgb(1, 1, 1), type, colour};
}
ShapeData NoFill(const ColourValue& colour) { return {0, colour, kNoOutline, {}}; }

enum class Button : std::uint8_t { GetFill, GetOutline, SetFill, SetOutline };

ControlId ButtonId(Button button) {
  switch (button) {
    case Button::GetFill:
      return ControlId::cmdGetPaint;
    case Button::GetOutline:
      return ControlId::cmdGetPaper;
    case Button::SetFill:
      return ControlId::cmdSetPaint;
    case Button::SetOutline:
      return ControlId::cmdSetPaper;
  }
  return ControlId::cmdGetPaint;
}

using Fields = std::array<std::wstring, 3>;

class BridgeTest : public ::testing::Test {
 protected:
  void SetFields(const Fields& fields) {
    for (int i = 0; i < 3; ++i) {
      fx.form.txtC(i).SetText(fields[static_cast<std::size_t>(i)]);
    }
  }
  Fields ReadFields() {
    return {fx.form.txtC(0).Text(), fx.form.txtC(1).Text(), fx.form.txtC(2).Text()};
  }
  // Adds the shapes and selects them all, in the order given.
  void Draw(const std::vector<ShapeData>& shapes) {
    std::vector<std::size_t> all;
    all.reserve(shapes.size());
    for (const ShapeData& shape : shapes) {
      all.push_back(fx.host.AddShape(shape));
    }
    fx.host.Select(all);
  }
  std::vector<ShapeData> Drawing() {
    std::vector<ShapeData> shapes;
    for (std::size_t i = 0; i < fx.host.ShapeCount(); ++i) {
      shapes.push_back(fx.host.Shape(i));
    }
    return shapes;
  }
  void Press(Button button) { fx.form.Click(ButtonId(button)); }

  testing_support::FormFixture fx;
};

// --- Get ---------------------------------------------------------------------

struct GetCase {
  const char* name;
  ShapeData shape;
  Button button;
  ColourValue newColour;
  Fields expected;
};

class BridgeGet : public BridgeTest, public ::testing::WithParamInterface<GetCase> {};

TEST_P(BridgeGet, PutsTheFirstShapesColourIntoTheFieldsAndLeavesTheShape) {
  const GetCase& c = GetParam();
  Draw({c.shape});
  fx.host.newColour = c.newColour;
  SetFields({L"7", L"8", L"9"});
  fx.form.Focus(ControlId::txtC1);

  Press(c.button);

  EXPECT_EQ(ReadFields(), c.expected);
  EXPECT_EQ(fx.host.Shape(0), c.shape) << "a Get never changes the shape";
  EXPECT_TRUE(fx.form.View().optRGB().Value()) << "the entry mode stays";
  EXPECT_EQ(fx.form.Focused(), ButtonId(c.button)) << "the focus stays on the button";
  EXPECT_TRUE(fx.form.MessageBoxes().empty());
  EXPECT_EQ(fx.host.LiveObjects(), 1) << "only the application object is held";
}

std::wstring Text(int value) { return std::to_wstring(value); }
Fields FieldsOf(cm::Rgb rgb) { return {Text(rgb.red), Text(rgb.green), Text(rgb.blue)}; }

const ColourValue kBlack = Rgb(0, 0, 0);
const ColourValue kUnconvertible = {99, {1, 2, 3, 4}};

INSTANTIATE_TEST_SUITE_P(
    Cases, BridgeGet,
    ::testing::Values(
        GetCase{"RgbFill",
                UniformFill(Rgb(255, 0, 128)),
                Button::GetFill,
                kBlack,
                {L"255", L"0", L"128"}},
        GetCase{"CmykFillShownAsTheHostsRgb", UniformFill(Cmyk(0, 100, 50, 20)), Button::GetFill,
                kBlack, FieldsOf(cm::ToRgb(Cmyk(0, 100, 50, 20)))},
        GetCase{"LabFill", UniformFill(InModel(cm::kLab, 10, 200, 30)), Button::GetFill, kBlack,
                FieldsOf(cm::ToRgb(InModel(cm::kLab, 10, 200, 30)))},
        GetCase{"NonUniformFillShowsANewColour",
                NoFill(Rgb(9, 9, 9)),
                Button::GetFill,
                Rgb(1, 2, 3),
                {L"1", L"2", L"3"}},
        GetCase{"NewColourInCmykIsConvertedToRgb", NoFill(Rgb(9, 9, 9)), Button::GetFill,
                Cmyk(10, 20, 30, 40), FieldsOf(cm::ToRgb(Cmyk(10, 20, 30, 40)))},
        GetCase{"NewColourThatStaysNonRgbGivesZero",
                NoFill(Rgb(9, 9, 9)),
                Button::GetFill,
                kUnconvertible,
                {L"0", L"0", L"0"}},
        GetCase{"FillColourThatStaysNonRgbGivesZero",
                UniformFill(kUnconvertible),
                Button::GetFill,
                kBlack,
                {L"0", L"0", L"0"}},
        GetCase{"OutlineType1",
                WithOutline(1, Rgb(0, 128, 255)),
                Button::GetOutline,
                kBlack,
                {L"0", L"128", L"255"}},
        GetCase{"OutlineType2IsReadToo",
                WithOutline(2, Rgb(10, 20, 30)),
                Button::GetOutline,
                kBlack,
                {L"10", L"20", L"30"}},
        GetCase{"NoOutlineShowsANewColour",
                WithOutline(0, Rgb(10, 20, 30)),
                Button::GetOutline,
                Rgb(4, 5, 6),
                {L"4", L"5", L"6"}},
        GetCase{"OutlineInHsb", WithOutline(1, InModel(cm::kHSB, 200, 100, 50)), Button::GetOutline,
                kBlack, FieldsOf(cm::ToRgb(InModel(cm::kHSB, 200, 100, 50)))},
        GetCase{"ComponentsOutsideTheRangeAreClamped",
                UniformFill({cm::kRGB, {300, -5, 128, 0}}),
                Button::GetFill,
                kBlack,
                {L"255", L"0", L"128"}}),
    [](const ::testing::TestParamInfo<GetCase>& info) { return info.param.name; });

TEST_F(BridgeTest, GetReadsOnlyTheShapeAtPositionOne) {
  fx.host.AddShape(UniformFill(Rgb(1, 1, 1)));
  fx.host.AddShape(UniformFill(Rgb(2, 2, 2)));
  fx.host.AddShape(UniformFill(Rgb(3, 3, 3)));
  fx.host.Select({2, 0, 1});

  Press(Button::GetFill);

  EXPECT_EQ(ReadFields(), (Fields{L"3", L"3", L"3"}));
  for (const std::string& entry : fx.host.Log()) {
    EXPECT_TRUE(entry.find("Selection.Item") == std::string::npos || entry == "Selection.Item(1)")
        << entry;
    EXPECT_EQ(entry.find("Enumerate"), std::string::npos) << entry;
  }
}

TEST_F(BridgeTest, GetBringsTheHexFieldAndSwatchAlongInEitherMode) {
  for (const bool hexMode : {false, true}) {
    testing_support::FormFixture f;
    f.host.AddShape(UniformFill(Rgb(255, 0, 128)));
    f.host.Select({0});
    if (hexMode) {
      f.form.Focus(ControlId::txtHex);
    }
    ASSERT_EQ(f.form.View().optHex().Value(), hexMode);

    f.form.Click(ControlId::cmdGetPaint);

    EXPECT_EQ(f.form.txtC(0).Text(), L"255");
    EXPECT_EQ(f.form.txtC(1).Text(), L"0");
    EXPECT_EQ(f.form.txtC(2).Text(), L"128");
    EXPECT_EQ(f.form.txtHex().Text(), L"FF0080") << hexMode;
    EXPECT_EQ(f.form.View().lblColor().BackColor(), 0x8000FFU) << hexMode;
    EXPECT_EQ(f.form.View().optHex().Value(), hexMode) << "the entry mode stays";
  }
}

// --- Set ---------------------------------------------------------------------

struct SetCase {
  const char* name;
  std::vector<ShapeData> shapes;
  Button button;
  ColourValue newColour;
  std::vector<ShapeData> expected;
};

class BridgeSet : public BridgeTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(BridgeSet, AppliesTheFieldsToEveryShapeInItsModel) {
  const SetCase& c = GetParam();
  Draw(c.shapes);
  fx.host.newColour = c.newColour;
  SetFields({L"255", L"0", L"0"});
  const std::wstring hex = fx.form.txtHex().Text();
  const std::uint32_t swatch = fx.form.View().lblColor().BackColor();

  Press(c.button);

  EXPECT_EQ(Drawing(), c.expected);
  EXPECT_EQ(ReadFields(), (Fields{L"255", L"0", L"0"})) << "a Set leaves the fields";
  EXPECT_EQ(fx.form.txtHex().Text(), hex);
  EXPECT_EQ(fx.form.View().lblColor().BackColor(), swatch);
  EXPECT_TRUE(fx.form.View().optRGB().Value());
  EXPECT_EQ(fx.form.Focused(), ButtonId(c.button));
  EXPECT_TRUE(fx.form.MessageBoxes().empty());
  EXPECT_EQ(fx.host.LiveObjects(), 1);
}

ShapeData OutlineOf(ShapeData shape, const ColourValue& colour) {
  shape.outlineColour = colour;
  return shape;
}

const ColourValue kRed = Rgb(255, 0, 0);

std::vector<SetCase> SetCases() {
  std::vector<SetCase> cases = {
      {"CmykThenRgb",
       {UniformFill(Cmyk(10, 20, 30, 40)), UniformFill(Rgb(1, 2, 3))},
       Button::SetFill,
       kBlack,
       {UniformFill(Cmyk(0, 100, 100, 0)), UniformFill(kRed)}},
      {"OtherModelCodeEndsRgb",
       {UniformFill({cm::kCMYK255, {1, 2, 3, 4}})},
       Button::SetFill,
       kBlack,
       {UniformFill(kRed)}},
      // The working colour keeps the model of the shape before.
      {"NonUniformFillTakesThePreviousShapesModel",
       {UniformFill(Cmyk(0, 0, 0, 100)), NoFill(Rgb(1, 2, 3))},
       Button::SetFill,
       kBlack,
       {UniformFill(Cmyk(0, 100, 100, 0)), UniformFill(Cmyk(0, 100, 100, 0))}},
      {"NonUniformFirstShapeTakesTheNewColoursModel",
       {NoFill(Rgb(1, 2, 3)), UniformFill(Rgb(4, 5, 6))},
       Button::SetFill,
       InModel(cm::kHSB, 0, 0, 0),
       {UniformFill(InModel(cm::kHSB, 255, 0, 0)), UniformFill(kRed)}},
      {"OutlineType1KeepsItsModel",
       {WithOutline(1, Cmyk(5, 5, 5, 5))},
       Button::SetOutline,
       kBlack,
       {OutlineOf(WithOutline(1, {}), Cmyk(0, 100, 100, 0))}},
      {"OutlineType2IsAppliedInTheWorkingModel",
       {WithOutline(2, Cmyk(5, 5, 5, 5))},
       Button::SetOutline,
       kBlack,
       {OutlineOf(WithOutline(2, {}), kRed)}},
      {"OutlineType0IsAppliedToo",
       {WithOutline(0, Rgb(9, 9, 9))},
       Button::SetOutline,
       InModel(cm::kGrayscale, 0, 0, 0),
       {OutlineOf(WithOutline(0, {}), InModel(cm::kGrayscale, 255, 0, 0))}},
  };
  // Every model of the table goes back to its model.
  for (const std::int32_t model : {cm::kCMYK, cm::kCMY, cm::kRGB, cm::kHSB, cm::kHLS,
                                   cm::kBlackAndWhite, cm::kGrayscale, cm::kYIQ, cm::kLab}) {
    cases.push_back({"Model",
                     {UniformFill(InModel(model, 0, 0, 255))},
                     Button::SetFill,
                     kBlack,
                     {UniformFill(InModel(model, 255, 0, 0))}});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, BridgeSet, ::testing::ValuesIn(SetCases()),
                         [](const ::testing::TestParamInfo<SetCase>& info) {
                           return std::string(info.param.name) + std::to_string(info.index);
                         });

TEST_F(BridgeTest, SetLeavesShapesOutsideTheSelection) {
  fx.host.AddShape(UniformFill(Rgb(1, 1, 1)));
  fx.host.AddShape(UniformFill(Rgb(2, 2, 2)));
  fx.host.Select({1});
  SetFields({L"10", L"20", L"30"});

  Press(Button::SetFill);

  EXPECT_EQ(fx.host.Shape(0), UniformFill(Rgb(1, 1, 1)));
  EXPECT_EQ(fx.host.Shape(1), UniformFill(Rgb(10, 20, 30)));
}

// --- A count that disagrees with the enumeration ------------------------------

struct CountCase {
  const char* name;
  std::int32_t count;  // what the host says; three shapes are selected
  Button button;
  int shapesSet;
  Fields expected;
};

class BridgeCount : public BridgeTest, public ::testing::WithParamInterface<CountCase> {};

// A Set gives the colour to no more shapes than the host counted, so that an
// enumeration that goes on past it cannot keep the window waiting; a count
// below zero is no shape at all.
TEST_P(BridgeCount, SetsNoMoreShapesThanTheCount) {
  const CountCase& c = GetParam();
  Draw({UniformFill(Rgb(1, 1, 1)), UniformFill(Rgb(2, 2, 2)), UniformFill(Rgb(3, 3, 3))});
  fx.host.reportedCount = c.count;
  SetFields({L"10", L"20", L"30"});

  Press(c.button);

  const std::vector<ColourValue> before = {Rgb(1, 1, 1), Rgb(2, 2, 2), Rgb(3, 3, 3)};
  for (std::size_t i = 0; i < before.size(); ++i) {
    const bool set = static_cast<int>(i) < c.shapesSet;
    EXPECT_EQ(fx.host.Shape(i).fillColour, set ? Rgb(10, 20, 30) : before[i]) << "shape " << i;
  }
  EXPECT_EQ(ReadFields(), c.expected);
  EXPECT_TRUE(fx.form.MessageBoxes().empty());
  EXPECT_EQ(fx.host.LiveObjects(), 1);
}

const Fields kTyped = {L"10", L"20", L"30"};
const Fields kZeroFields = {L"0", L"0", L"0"};

INSTANTIATE_TEST_SUITE_P(
    Cases, BridgeCount,
    ::testing::Values(CountCase{"FewerThanEnumerated", 2, Button::SetFill, 2, kTyped},
                      CountCase{"One", 1, Button::SetFill, 1, kTyped},
                      CountCase{"MoreThanEnumerated", 7, Button::SetFill, 3, kTyped},
                      CountCase{"Negative", -1, Button::SetFill, 0, kZeroFields},
                      CountCase{"NegativeGet", -5, Button::GetFill, 0, kZeroFields},
                      CountCase{"Lowest", std::numeric_limits<std::int32_t>::min(), Button::SetFill,
                                0, kZeroFields}),
    [](const ::testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

// --- Nothing selected ----------------------------------------------------------

TEST_F(BridgeTest, NothingSelectedZeroesTheFieldsForEveryButton) {
  for (const Button button :
       {Button::GetFill, Button::GetOutline, Button::SetFill, Button::SetOutline}) {
    testing_support::FormFixture f;
    f.host.AddShape(UniformFill(Rgb(1, 2, 3)));
    for (int i = 0; i < 3; ++i) {
      f.form.txtC(i).SetText(L"200");
    }

    f.form.Click(ButtonId(button));

    EXPECT_EQ(f.form.txtC(0).Text(), L"0");
    EXPECT_EQ(f.form.txtC(1).Text(), L"0");
    EXPECT_EQ(f.form.txtC(2).Text(), L"0");
    EXPECT_EQ(f.form.txtHex().Text(), L"000000");
    EXPECT_EQ(f.form.View().lblColor().BackColor(), 0U);
    EXPECT_EQ(f.host.Shape(0), UniformFill(Rgb(1, 2, 3)));
    EXPECT_EQ(f.host.Log(),
              (std::vector<std::string>{"CreateApplication", "Application.Switch(true)",
                                        "Application.Selection", "Selection.Count"}));
    EXPECT_EQ(f.host.LiveObjects(), 1);
  }
}

// --- The exact calls -----------------------------------------------------------

struct SequenceCase {
  const char* name;
  Button button;
  ShapeData shape;
  std::vector<std::string> calls;
};

class BridgeSequence : public BridgeTest, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(BridgeSequence, MakesExactlyTheseHostCalls) {
  const SequenceCase& c = GetParam();
  Draw({c.shape});
  SetFields({L"1", L"2", L"3"});

  Press(c.button);

  EXPECT_EQ(fx.host.Log(), c.calls);
}

const std::vector<std::string> kStart = {"CreateApplication", "Application.Switch(true)",
                                         "Application.Selection", "Selection.Count", "NewColour"};

std::vector<std::string> After(std::vector<std::string> tail) {
  std::vector<std::string> calls = kStart;
  calls.insert(calls.end(), tail.begin(), tail.end());
  return calls;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BridgeSequence,
    ::testing::Values(
        SequenceCase{
            "GetFill", Button::GetFill, UniformFill(Cmyk(0, 0, 0, 0)),
            After({"Selection.Item(1)", "Shape.Fill[slot]", "Fill.Type[slot]", "Selection.Item(1)",
                   "Shape.Fill[slot]", "Fill.UniformColor[slot]", "Colour.CopyFrom", "Colour.Model",
                   "Colour.ToRGB", "Colour.Model", "Colour.Red", "Colour.Green", "Colour.Blue"})},
        SequenceCase{"GetOutline", Button::GetOutline, WithOutline(1, Rgb(0, 0, 0)),
                     After({"NewColour", "Selection.Item(1)", "Shape.Outline[slot]",
                            "Outline.Type[slot]", "Selection.Item(1)", "Shape.Outline[slot]",
                            "Outline.Color[slot]", "Colour.CopyFrom", "Colour.Model",
                            "Colour.Model", "Colour.Red", "Colour.Green", "Colour.Blue"})},
        SequenceCase{"SetFill", Button::SetFill, UniformFill(Cmyk(0, 0, 0, 0)),
                     After({"Selection.Enumerate", "Enumerator.Next", "Shape.Fill[name]",
                            "Fill.Type[name]", "Shape.Fill[name]", "Fill.UniformColor[name]",
                            "Colour.CopyFrom", "Colour.Model", "Colour.ToRGB",
                            "Colour.AssignRGB(1,2,3)", "Colour.ConvertTo(2)", "Shape.Fill[name]",
                            "Fill.UniformColor[name]", "Colour.CopyAssign", "Enumerator.Next"})},
        SequenceCase{"SetOutlineWithoutOutline", Button::SetOutline, WithOutline(0, Rgb(0, 0, 0)),
                     After({"Selection.Enumerate", "Enumerator.Next", "Shape.Outline[name]",
                            "Outline.Type[name]", "Colour.Model", "Colour.AssignRGB(1,2,3)",
                            "Shape.Outline[name]", "Outline.Color[name]", "Colour.CopyAssign",
                            "Enumerator.Next"})}),
    [](const ::testing::TestParamInfo<SequenceCase>& info) { return info.param.name; });

TEST_F(BridgeTest, CreatesTheApplicationOnTheFirstClickAndKeepsIt) {
  Draw({UniformFill(Rgb(1, 2, 3))});
  EXPECT_EQ(fx.host.ApplicationsCreated(), 0) << "not at start-up";

  Press(Button::GetFill);
  Press(Button::SetOutline);
  Press(Button::GetOutline);

  EXPECT_EQ(fx.host.ApplicationsCreated(), 1);
  EXPECT_EQ(fx.host.LiveObjects(), 1);
}

// --- Failures ------------------------------------------------------------------

// Fails each call of one click in turn: every failure ends the click with one
// message, leaves the fields and releases every object but the application.
TEST(BridgeFailure, EveryFailingCallIsReportedAndLeavesTheFields) {
  for (const Button button :
       {Button::GetFill, Button::GetOutline, Button::SetFill, Button::SetOutline}) {
    long callsOfAClick = 0;
    {
      testing_support::FormFixture probe;
      probe.host.AddShape(WithOutline(1, Cmyk(1, 2, 3, 4)));
      probe.host.AddShape(UniformFill(Cmyk(1, 2, 3, 4)));
      probe.host.Select({0, 1});
      probe.form.Click(ButtonId(button));
      callsOfAClick = probe.host.Calls();
    }
    for (int n = 1; n <= callsOfAClick; ++n) {
      testing_support::FormFixture f;
      f.host.AddShape(WithOutline(1, Cmyk(1, 2, 3, 4)));
      f.host.AddShape(UniformFill(Cmyk(1, 2, 3, 4)));
      f.host.Select({0, 1});
      f.form.txtC(0).SetText(L"12");
      f.form.txtC(1).SetText(L"34");
      f.form.txtC(2).SetText(L"56");
      f.host.FailCall(n, memory::kFailed);

      f.form.Click(ButtonId(button));

      SCOPED_TRACE("button " + std::to_string(static_cast<int>(button)) + ", call " +
                   std::to_string(n) + ": " + f.host.Log().back());
      ASSERT_EQ(f.form.MessageBoxes().size(), 1U);
      const auto& box = f.form.MessageBoxes()[0];
      EXPECT_EQ(box.title, L"Draw Pigmentry 11");
      EXPECT_NE(box.prompt.find(L"Unspecified error."), std::wstring::npos) << box.prompt.size();
      EXPECT_NE(box.prompt.find(L"0x80004005"), std::wstring::npos);
      EXPECT_EQ(f.form.txtC(0).Text(), L"12");
      EXPECT_EQ(f.form.txtC(1).Text(), L"34");
      EXPECT_EQ(f.form.txtC(2).Text(), L"56");
      // A refused call is no reason to give up the application object.
      EXPECT_EQ(f.host.LiveObjects(), n == 1 ? 0 : 1);
      EXPECT_EQ(f.host.HoldsApplication(), n != 1);
    }
  }
}

TEST_F(BridgeTest, TheMessageNamesTheFailedOperation) {
  struct Case {
    int call;
    const wchar_t* operation;
  };
  for (const Case& c : {Case{1, L"create the application object"}, Case{2, L"application switch"},
                        Case{3, L"get the selection"}, Case{8, L"Fill.Type"},
                        Case{15, L"read the red component"}}) {
    testing_support::FormFixture f;
    f.host.AddShape(UniformFill(Rgb(1, 2, 3)));
    f.host.Select({0});
    f.host.FailCall(c.call, memory::kFailed);

    f.form.Click(ControlId::cmdGetPaint);

    ASSERT_EQ(f.form.MessageBoxes().size(), 1U);
    EXPECT_NE(f.form.MessageBoxes()[0].prompt.find(c.operation), std::wstring::npos) << c.call;
  }
}

TEST_F(BridgeTest, AHostThatIsNotRegisteredIsReportedAndTriedAgainNextClick) {
  Draw({UniformFill(Rgb(1, 2, 3))});
  SetFields({L"12", L"34", L"56"});
  fx.host.FailCall(1, memory::kClassNotRegistered);

  Press(Button::GetFill);

  ASSERT_EQ(fx.form.MessageBoxes().size(), 1U);
  EXPECT_NE(fx.form.MessageBoxes()[0].prompt.find(L"Class not registered."), std::wstring::npos);
  EXPECT_EQ(ReadFields(), (Fields{L"12", L"34", L"56"}));
  EXPECT_FALSE(fx.host.HoldsApplication());

  Press(Button::GetFill);

  EXPECT_EQ(ReadFields(), (Fields{L"1", L"2", L"3"}));
  EXPECT_EQ(fx.form.MessageBoxes().size(), 1U);
}

TEST_F(BridgeTest, AHostClosedSinceTheLastClickIsReachedAgainWithoutAMessage) {
  Draw({UniformFill(Rgb(1, 2, 3))});
  Press(Button::GetFill);
  ASSERT_EQ(fx.host.ApplicationsCreated(), 1);
  fx.host.Shape(0).fillColour = Rgb(7, 8, 9);
  fx.host.DisconnectAfter(0);

  Press(Button::GetFill);

  EXPECT_TRUE(fx.form.MessageBoxes().empty());
  EXPECT_EQ(fx.host.ApplicationsCreated(), 2);
  EXPECT_EQ(ReadFields(), (Fields{L"7", L"8", L"9"}));
  EXPECT_EQ(fx.host.LiveObjects(), 1) << "only the new application object is held";
}

TEST_F(BridgeTest, AHostThatGoesDuringAClickIsReportedAndReachedAgainByTheNext) {
  Draw({UniformFill(Rgb(1, 2, 3))});
  Press(Button::GetFill);
  SetFields({L"12", L"34", L"56"});
  fx.host.Shape(0).fillColour = Rgb(7, 8, 9);
  // The switch and the selection answer; the count finds the host gone.
  fx.host.DisconnectAfter(2);

  Press(Button::GetFill);

  ASSERT_EQ(fx.form.MessageBoxes().size(), 1U);
  EXPECT_NE(fx.form.MessageBoxes()[0].prompt.find(L"disconnected"), std::wstring::npos);
  EXPECT_NE(fx.form.MessageBoxes()[0].prompt.find(L"0x80010108"), std::wstring::npos);
  EXPECT_EQ(ReadFields(), (Fields{L"12", L"34", L"56"}));
  EXPECT_FALSE(fx.host.HoldsApplication());
  EXPECT_EQ(fx.host.LiveObjects(), 0);
  EXPECT_EQ(fx.host.ApplicationsCreated(), 1) << "no second try within the click";

  Press(Button::GetFill);

  EXPECT_EQ(fx.form.MessageBoxes().size(), 1U);
  EXPECT_EQ(fx.host.ApplicationsCreated(), 2);
  EXPECT_EQ(ReadFields(), (Fields{L"7", L"8", L"9"}));
}

TEST_F(BridgeTest, AFailureInTheMiddleOfASetStopsAtThatShape) {
  Draw({UniformFill(Rgb(1, 1, 1)), UniformFill(Rgb(2, 2, 2)), UniformFill(Rgb(3, 3, 3))});
  SetFields({L"9", L"9", L"9"});
  // The start (5 calls), Enumerate, and 11 calls per RGB shape: fail the
  // second shape's CopyAssign.
  fx.host.FailCall(5 + 1 + 11 + 11, memory::kFailed);

  Press(Button::SetFill);

  ASSERT_EQ(fx.host.Log().back(), "Colour.CopyAssign");
  EXPECT_EQ(fx.form.MessageBoxes().size(), 1U);
  EXPECT_EQ(fx.host.Shape(0), UniformFill(Rgb(9, 9, 9)));
  EXPECT_EQ(fx.host.Shape(1), UniformFill(Rgb(2, 2, 2)));
  EXPECT_EQ(fx.host.Shape(2), UniformFill(Rgb(3, 3, 3)));
  EXPECT_EQ(ReadFields(), (Fields{L"9", L"9", L"9"}));
  EXPECT_EQ(fx.host.LiveObjects(), 1);
}

}  // namespace
}  // namespace pigmentry::bridge
