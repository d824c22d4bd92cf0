// The four CorelDRAW buttons and the routine behind them.
#include <array>
#include <cstdint>
#include <cwchar>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/form1.h"
#include "app/form1_design.h"
#include "bridge/host.h"
#include "colour/colour_value.h"

namespace pigmentry::app {

namespace {

using bridge::Colour;
using bridge::ColourModel;
using bridge::Host;
using bridge::Via;

using Channels = std::array<std::int32_t, 3>;

inline constexpr int kMbExclamation = 48;

// A component the host gave back, as a channel: the fields hold 0 to 255
// only, so a value outside that range is clamped to it.
std::int32_t ChannelFromHost(std::int32_t component) {
  if (component < 0) {
    return 0;
  }
  return component > 255 ? 255 : component;
}

// Step 5 of a Set: the colour goes back to the model it had before it was
// assigned as RGB. RGB itself and the host's other models stay RGB.
void ConvertBackToModel(Colour& colour, std::int32_t model) {
  switch (static_cast<ColourModel>(model)) {
    case ColourModel::CMYK:
    case ColourModel::CMY:
    case ColourModel::HSB:
    case ColourModel::HLS:
    case ColourModel::BlackAndWhite:
    case ColourModel::Grayscale:
    case ColourModel::YIQ:
    case ColourModel::Lab:
      colour.ConvertTo(static_cast<ColourModel>(model));
      break;
    case ColourModel::RGB:
    default:
      break;
  }
}

// The colour of the fill or outline of `shape` that a click is about.
std::unique_ptr<Colour> ShapeColour(bridge::Shape& shape, bool IsFill, Via via) {
  if (IsFill) {
    return shape.Fill(via)->UniformColor(via);
  }
  return shape.Outline(via)->Color(via);
}

// A Set that a failing host call stopped after `shapesSet` of the
// `selected` shapes had been given the colour.
struct SetStopped : std::exception {
  SetStopped(bridge::HostFailure failure, std::int32_t shapesSet, std::int32_t selected)
      // The failure is kept to be reported, not thrown again.
      // NOLINTNEXTLINE(bugprone-throw-keyword-missing)
      : failure(std::move(failure)), shapesSet(shapesSet), selected(selected) {}
  [[nodiscard]] const char* what() const noexcept override {
    return "Set stopped by a failing CorelDRAW call";
  }

  bridge::HostFailure failure;
  std::int32_t shapesSet;
  std::int32_t selected;
};

// One shape of a Set: the working colour takes over the shape's model, is
// assigned the colour as RGB, goes back to that model and is applied.
void SetShape(bridge::Shape& shape, Colour& work, bool IsFill, const Channels& colour) {
  if (IsFill) {
    if (shape.Fill(Via::Name)->Type(Via::Name) == bridge::kUniformFill) {
      work.CopyFrom(*ShapeColour(shape, IsFill, Via::Name));
    }
  } else if (shape.Outline(Via::Name)->Type(Via::Name) == bridge::kSolidOutline) {
    work.CopyFrom(*ShapeColour(shape, IsFill, Via::Name));
  }
  const std::int32_t model = work.Model();
  if (model != bridge::kModelRGB) {
    work.ToRGB();
  }
  work.AssignRGB(colour[0], colour[1], colour[2]);
  ConvertBackToModel(work, model);
  ShapeColour(shape, IsFill, Via::Name)->CopyAssign(work);
}

// Set: applies the fields' colour to every shape of the selection, each
// keeping the model that the working colour takes over from it.
//
// The fields are read once, before the first host call: one colour goes to
// every shape, and reading a window's text thousands of times costs
// seconds on a large selection.
//
// No more shapes are set than the host counted: an enumeration that went on
// past its own count would otherwise keep the window waiting for as long as
// the host kept yielding shapes.
void SetShapes(bridge::ShapeCollection& selection, std::int32_t selected, Colour& work, bool IsFill,
               const platform::Form1View& ui) {
  const Channels colour = {colour::ChannelOf(ui.txtC(0).Text()),
                           colour::ChannelOf(ui.txtC(1).Text()),
                           colour::ChannelOf(ui.txtC(2).Text())};
  std::int32_t shapesSet = 0;
  try {
    const auto shapes = selection.Enumerate();
    while (const auto shape = shapes->Next()) {
      if (shapesSet == selected) {
        break;  // a shape beyond the count
      }
      SetShape(*shape, work, IsFill, colour);
      ++shapesSet;
    }
  } catch (const bridge::HostFailure& failure) {
    throw SetStopped{failure, shapesSet, selected};
  }
}

// Get: the fill or outline colour of the first selected shape as RGB
// channels, or nothing when the host cannot give it as RGB. The working
// colour is a copy: the shape is never changed.
std::optional<Channels> GetFirstShape(Host& host, bridge::ShapeCollection& selection,
                                      std::unique_ptr<Colour> work, bool IsFill) {
  constexpr std::int16_t kFirst = 1;
  if (IsFill) {
    if (selection.Item(kFirst)->Fill(Via::Slot)->Type(Via::Slot) == bridge::kUniformFill) {
      work->CopyFrom(*ShapeColour(*selection.Item(kFirst), IsFill, Via::Slot));
    }
  } else {
    work = host.NewColour();
    if (selection.Item(kFirst)->Outline(Via::Slot)->Type(Via::Slot) != bridge::kNoOutline) {
      work->CopyFrom(*ShapeColour(*selection.Item(kFirst), IsFill, Via::Slot));
    }
  }
  if (work->Model() != bridge::kModelRGB) {
    work->ToRGB();
  }
  if (work->Model() != bridge::kModelRGB) {
    return std::nullopt;
  }
  // Every component is read before any field is written, so a failing read
  // leaves the fields as they stand.
  const std::int32_t red = work->Red();
  const std::int32_t green = work->Green();
  const std::int32_t blue = work->Blue();
  return Channels{ChannelFromHost(red), ChannelFromHost(green), ChannelFromHost(blue)};
}

// The application object, its first call made. One held from an earlier
// click may belong to a host that the user has closed since: that first
// call then fails as gone before anything is done, and a new application
// object (which starts or finds the host again) is asked once.
bridge::Application& ReachApplication(Host& host) {
  if (host.HoldsApplication()) {
    try {
      bridge::Application& held = host.HeldApplication();
      held.SetSwitch(true);
      return held;
    } catch (const bridge::HostFailure& failure) {
      if (!bridge::IsHostGone(failure.Code())) {
        throw;
      }
      host.LetGoOfApplication();
    }
  }
  bridge::Application& application = host.HeldApplication();
  application.SetSwitch(true);
  return application;
}

// The host side of one click. Gives back what the decimal fields are to
// show, or nothing when they stay as they are (a Set on selected shapes).
// Every host object but the application is released before it returns.
std::optional<Channels> TransferWithHost(Host& host, bool IsFill, bool IsSet,
                                         const platform::Form1View& ui) {
  constexpr Channels kZero = {0, 0, 0};
  bridge::Application& application = ReachApplication(host);
  const auto selection = application.Selection();
  // A count below zero is no shape at all, as a count of zero is.
  const std::int32_t selected = selection->Count();
  if (selected <= 0) {
    return kZero;
  }
  auto work = host.NewColour();
  if (IsSet) {
    SetShapes(*selection, selected, *work, IsFill, ui);
    return std::nullopt;
  }
  return GetFirstShape(host, *selection, std::move(work), IsFill).value_or(kZero);
}

std::wstring FailureMessage(const bridge::HostFailure& failure) {
  if (bridge::IsHostBusy(failure.Code())) {
    return L"CorelDRAW is busy and did not answer: " +
           std::wstring(bridge::OperationName(failure.FailedOperation())) +
           L".\n\nClose any dialog box that is open in CorelDRAW or let it finish what it is "
           L"doing, then click the button again.";
  }
  std::wstring message = L"The call to CorelDRAW failed: ";
  message += bridge::OperationName(failure.FailedOperation());
  message += L".\n\n";
  message += failure.Text();
  message += L" (";
  message += colour::ResultCodeText(static_cast<std::uint32_t>(failure.Code()));
  message += L")";
  if (bridge::IsHostGone(failure.Code())) {
    message += L"\n\nThe connection to CorelDRAW is closed; the next click opens a new one.";
  }
  return message;
}

std::wstring FailureMessage(const SetStopped& stopped) {
  return FailureMessage(stopped.failure) + L"\n\n" + colour::WholeNumberText(stopped.shapesSet) +
         L" of the " + colour::WholeNumberText(stopped.selected) +
         L" selected shapes had been set before it.";
}

// A host that has gone away leaves a dead application object behind;
// letting go of it lets the next click reach a running host again.
void LetGoOfAGoneHost(Host& host, const bridge::HostFailure& failure) {
  if (bridge::IsHostGone(failure.Code())) {
    host.LetGoOfApplication();
  }
}

}  // namespace

void Form1::cmdGetPaint_Click() { TransferShapeColor(true, false); }
void Form1::cmdGetPaper_Click() { TransferShapeColor(false, false); }
void Form1::cmdSetPaint_Click() { TransferShapeColor(true, true); }
void Form1::cmdSetPaper_Click() { TransferShapeColor(false, true); }

void Form1::TransferShapeColor(bool IsFill, bool IsSet) {
  // A click that arrives while the host works on the last one (a host in
  // another process is waited for in a loop that dispatches messages) is
  // refused: never nested inside it.
  if (host_.IsWorking()) {
    return;
  }
  std::optional<Channels> channels;
  std::optional<std::wstring> message;
  {
    const Host::Working working(host_);
    const auto hold = host_.HoldInput(ui_.Me().Handle());
    try {
      channels = TransferWithHost(host_, IsFill, IsSet, ui_);
    } catch (const SetStopped& stopped) {
      message = FailureMessage(stopped);
      LetGoOfAGoneHost(host_, stopped.failure);
    } catch (const bridge::HostFailure& failure) {
      message = FailureMessage(failure);
      LetGoOfAGoneHost(host_, failure);
    }
  }
  if (message) {
    ui_.Me().MsgBox(*message, platform::kMbOkOnly | kMbExclamation, kAppTitle);
    return;
  }
  if (!channels) {
    return;
  }
  for (int i = 0; i < 3; ++i) {
    ui_.txtC(i).SetText(colour::ChannelText((*channels)[static_cast<std::size_t>(i)]));
  }
  RGBToHex();
}

}  // namespace pigmentry::app
