// The four CorelDRAW buttons on the in-memory window against a host whose
// every answer comes from the input: components out of range, model codes
// outside the table, fill and outline types of any value, a count that
// disagrees with what the enumeration yields, an enumeration that ends early
// or goes on for as long as it is asked, and a failure with any result code
// at any call. Between the clicks the input types colours into the decimal
// fields and switches between RGB and hex mode. After each step:
//  - each decimal field holds a canonical channel "0".."255";
//  - the hexadecimal field holds the six digits of the decimal fields and
//    the swatch is R + 256 G + 65536 B;
//  - a click shows at most one message box, the program's own, and none
//    when no call failed; a click that shows one leaves the fields as they
//    stood;
//  - a Set gives the colour to no more shapes than the host's count;
//  - the program holds no host object but the application object.
// A hang shows as the fuzzer's timeout.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "app/form1.h"
#include "app/form1_design.h"
#include "bridge/host.h"
#include "platform/memory/memory_form.h"
#include "support/hex_oracle.h"

namespace {

using pigmentry::testing_support::CanonicalChannels;
using pigmentry::testing_support::Channels;

using pigmentry::bridge::ColourModel;
using pigmentry::bridge::HostFailure;
using pigmentry::bridge::Operation;
using pigmentry::bridge::Via;
using pigmentry::platform::ControlId;
using pigmentry::platform::TxtCId;

constexpr int kMaxSteps = 64;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

// Result codes a host may fail with: busy, gone, refused, and the rest.
constexpr std::array<std::uint32_t, 10> kCodes = {
    0x80010001U,  // RPC_E_CALL_REJECTED (busy)
    0x8001010AU,  // RPC_E_SERVERCALL_RETRYLATER (busy)
    0x80010108U,  // RPC_E_DISCONNECTED (gone)
    0x800706BAU,  // RPC_S_SERVER_UNAVAILABLE (gone)
    0x80004005U,  // E_FAIL
    0x80020005U,  // DISP_E_TYPEMISMATCH
    0x80004002U,  // E_NOINTERFACE
    0x80040154U,  // REGDB_E_CLASSNOTREG
    0x80020009U,  // DISP_E_EXCEPTION
    0x8007000EU,  // E_OUTOFMEMORY
};

// The host: every object it hands out asks the input for each answer, and
// counts itself while the program holds it.
class HostileHost final : public pigmentry::bridge::Host {
 public:
  ~HostileHost() override { LetGoOfApplication(); }

  // The input of the next clicks; the host forgets everything else.
  void Begin(FuzzedDataProvider& in) {
    in_ = &in;
    failures = 0;
  }

  // One call: fails when the input says so (and always once it is spent,
  // so that nothing the host does can go on for ever).
  void Call(Operation operation) {
    if (in_->remaining_bytes() == 0 || in_->ConsumeIntegralInRange(0, 15) == 0) {
      ++failures;
      const std::uint32_t code =
          in_->ConsumeBool()
              ? in_->PickValueInArray(kCodes)
              : (in_->ConsumeIntegral<std::uint32_t>() | 0x80000000U);  // any failure code
      throw HostFailure(operation, static_cast<std::int32_t>(code),
                        in_->ConsumeBool() ? L"" : L"The host says no.");
    }
  }

  // A whole number: mostly a small one, sometimes any.
  std::int32_t Whole(std::int32_t low, std::int32_t high) {
    if (in_->ConsumeIntegralInRange(0, 7) == 0) {
      return in_->ConsumeIntegral<std::int32_t>();
    }
    return in_->ConsumeIntegralInRange(low, high);
  }
  std::int32_t ModelCode() {
    constexpr std::array<std::int32_t, 12> kModels = {2, 3, 4, 5, 5, 6, 7, 8, 9, 11, 12, 5};
    return in_->ConsumeBool() ? in_->PickValueInArray(kModels) : Whole(-2, 20);
  }
  bool Yes() { return in_->ConsumeBool(); }

  [[nodiscard]] std::unique_ptr<pigmentry::bridge::Colour> NewColour() override;

  int live = 0;  // host objects the program holds
  int failures = 0;
  std::int32_t lastCount = 0;
  int shapesAssigned = 0;  // CopyAssign calls in the current click

 protected:
  [[nodiscard]] std::unique_ptr<pigmentry::bridge::Application> CreateApplication() override;

 private:
  FuzzedDataProvider* in_ = nullptr;
};

class Counted {
 public:
  explicit Counted(HostileHost& host) : host_(host) { ++host_.live; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;
  ~Counted() { --host_.live; }

 protected:
  [[nodiscard]] HostileHost& Host() const { return host_; }

 private:
  HostileHost& host_;
};

class HostileColour final : public pigmentry::bridge::Colour, Counted {
 public:
  using Counted::Counted;
  std::int32_t Model() override {
    Host().Call(Operation::ModelCode);
    return Host().ModelCode();
  }
  void ToRGB() override { Host().Call(Operation::ToRGB); }
  void AssignRGB(std::int32_t red, std::int32_t green, std::int32_t blue) override {
    Check(red >= 0 && red <= 255 && green >= 0 && green <= 255 && blue >= 0 && blue <= 255,
          "a Set assigns a channel outside 0..255");
    Host().Call(Operation::AssignRGB);
  }
  std::int32_t Red() override { return Component(Operation::Red); }
  std::int32_t Green() override { return Component(Operation::Green); }
  std::int32_t Blue() override { return Component(Operation::Blue); }
  void CopyFrom(Colour& /*source*/) override { Host().Call(Operation::CopyFrom); }
  void ConvertTo(ColourModel /*model*/) override { Host().Call(Operation::ConvertToModel); }
  void CopyAssign(Colour& /*source*/) override {
    Host().Call(Operation::CopyAssign);
    ++Host().shapesAssigned;
  }

 private:
  std::int32_t Component(Operation operation) {
    Host().Call(operation);
    return Host().Whole(0, 255);
  }
};

class HostileFill final : public pigmentry::bridge::Fill, Counted {
 public:
  using Counted::Counted;
  std::int32_t Type(Via /*via*/) override {
    Host().Call(Operation::FillType);
    return Host().Whole(0, 3);
  }
  std::unique_ptr<pigmentry::bridge::Colour> UniformColor(Via /*via*/) override {
    Host().Call(Operation::FillColour);
    return std::make_unique<HostileColour>(Host());
  }
};

class HostileOutline final : public pigmentry::bridge::Outline, Counted {
 public:
  using Counted::Counted;
  std::int32_t Type(Via /*via*/) override {
    Host().Call(Operation::OutlineType);
    return Host().Whole(0, 3);
  }
  std::unique_ptr<pigmentry::bridge::Colour> Color(Via /*via*/) override {
    Host().Call(Operation::OutlineColour);
    return std::make_unique<HostileColour>(Host());
  }
};

class HostileShape final : public pigmentry::bridge::Shape, Counted {
 public:
  using Counted::Counted;
  std::unique_ptr<pigmentry::bridge::Fill> Fill(Via /*via*/) override {
    Host().Call(Operation::Fill);
    return std::make_unique<HostileFill>(Host());
  }
  std::unique_ptr<pigmentry::bridge::Outline> Outline(Via /*via*/) override {
    Host().Call(Operation::Outline);
    return std::make_unique<HostileOutline>(Host());
  }
};

// Yields shapes while the input says so; ends early, late or not at all
// whatever the count said.
class HostileEnumerator final : public pigmentry::bridge::ShapeEnumerator, Counted {
 public:
  using Counted::Counted;
  std::unique_ptr<pigmentry::bridge::Shape> Next() override {
    Host().Call(Operation::Enumerate);
    if (!Host().Yes()) {
      return nullptr;
    }
    return std::make_unique<HostileShape>(Host());
  }
};

class HostileCollection final : public pigmentry::bridge::ShapeCollection, Counted {
 public:
  using Counted::Counted;
  std::int32_t Count() override {
    Host().Call(Operation::Count);
    Host().lastCount = Host().Whole(-1, 4);
    return Host().lastCount;
  }
  std::unique_ptr<pigmentry::bridge::Shape> Item(std::int16_t position) override {
    Check(position == 1, "a Get takes a shape other than the first");
    Host().Call(Operation::Item);
    return std::make_unique<HostileShape>(Host());
  }
  std::unique_ptr<pigmentry::bridge::ShapeEnumerator> Enumerate() override {
    Host().Call(Operation::Enumerate);
    return std::make_unique<HostileEnumerator>(Host());
  }
};

class HostileApplication final : public pigmentry::bridge::Application, Counted {
 public:
  using Counted::Counted;
  void SetSwitch(bool on) override {
    Check(on, "the application switch written False");
    Host().Call(Operation::ApplicationSwitch);
  }
  std::unique_ptr<pigmentry::bridge::ShapeCollection> Selection() override {
    Host().Call(Operation::GetSelection);
    return std::make_unique<HostileCollection>(Host());
  }
};

std::unique_ptr<pigmentry::bridge::Colour> HostileHost::NewColour() {
  Call(Operation::NewColour);
  return std::make_unique<HostileColour>(*this);
}

std::unique_ptr<pigmentry::bridge::Application> HostileHost::CreateApplication() {
  Call(Operation::CreateApplication);
  return std::make_unique<HostileApplication>(*this);
}

struct Fixture {
  Fixture() : form1(form.View(), host) {
    form.Connect(form1);
    form.onMessageBox = [](const pigmentry::platform::memory::MessageBoxRecord& box) {
      Check(box.title == pigmentry::app::kAppTitle && box.style == 48, "message title and style");
      Check(!box.prompt.empty(), "an empty message");
    };
  }

  pigmentry::platform::memory::MemoryForm form{pigmentry::app::kForm1Design};
  HostileHost host;
  pigmentry::app::Form1 form1;
};

Channels CheckColour(const Fixture& fx) {
  const Channels channels =
      CanonicalChannels(fx.form.Field(TxtCId(0)).HeldText(), fx.form.Field(TxtCId(1)).HeldText(),
                        fx.form.Field(TxtCId(2)).HeldText());
  for (const int channel : channels) {
    Check(channel >= 0, "decimal field not a canonical channel");
  }
  const std::wstring& hex = fx.form.Field(ControlId::txtHex).HeldText();
  Check(hex.size() == 6, "hexadecimal field not six digits");
  for (std::size_t i = 0; i < 3; ++i) {
    const int pair = pigmentry::testing_support::HexValue(hex[2 * i]) * 16 +
                     pigmentry::testing_support::HexValue(hex[2 * i + 1]);
    Check(pair == channels[i] && hex[2 * i] < L'a' && hex[2 * i + 1] < L'a',
          "hexadecimal field differs from the decimal fields");
  }
  const auto swatch =
      static_cast<std::uint32_t>(channels[0] + 256 * channels[1] + 65536 * channels[2]);
  Check(fx.form.View().lblColor().BackColor() == swatch, "swatch differs from the decimal fields");
  Check(fx.host.live == (fx.host.HoldsApplication() ? 1 : 0),
        "a host object held but the application");
  return channels;
}

constexpr std::array kButtons = {ControlId::cmdGetPaint, ControlId::cmdGetPaper,
                                 ControlId::cmdSetPaint, ControlId::cmdSetPaper};

void ClickButton(FuzzedDataProvider& in, Fixture& fx) {
  const ControlId button = in.PickValueInArray(kButtons);
  const bool isSet = button == ControlId::cmdSetPaint || button == ControlId::cmdSetPaper;
  const auto before = CheckColour(fx);
  const std::size_t boxes = fx.form.MessageBoxes().size();
  fx.host.failures = 0;
  fx.host.lastCount = 0;
  fx.host.shapesAssigned = 0;

  fx.form.Click(button);

  const auto after = CheckColour(fx);
  const std::size_t shown = fx.form.MessageBoxes().size() - boxes;
  Check(shown <= 1, "more than one message box for a click");
  Check(shown == 0 || fx.host.failures > 0, "a message box with no failing call");
  Check(shown == 0 || after == before, "a failed click changed the fields");
  Check(fx.host.shapesAssigned <= (fx.host.lastCount > 0 ? fx.host.lastCount : 0),
        "a Set applied the colour to more shapes than the count");
  Check(isSet || fx.host.shapesAssigned == 0, "a Get changed a shape");
}

// Types a channel into one decimal field, as the user would.
void TypeChannel(FuzzedDataProvider& in, Fixture& fx) {
  const int index = in.ConsumeIntegralInRange(0, 2);
  fx.form.Click(TxtCId(index));
  fx.form.Paste(std::to_wstring(in.ConsumeIntegralInRange(0, 300)));
  fx.form.Click(ControlId::optRGB);  // the focus leaves the field
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fx;
  FuzzedDataProvider in(data, size);
  fx.host.Begin(in);
  for (int step = 0; step < kMaxSteps && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
      case 0:
        TypeChannel(in, fx);
        break;
      case 1:
        fx.form.Click(in.ConsumeBool() ? ControlId::optHex : ControlId::optRGB);
        break;
      default:
        ClickButton(in, fx);
        break;
    }
    CheckColour(fx);
  }
  // The next input begins with a new window and no application object.
  fx.host.LetGoOfApplication();
  Check(fx.host.live == 0, "host objects left after the application went");
  fx.form.Reset();
  return 0;
}
