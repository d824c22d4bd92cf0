// What one keystroke costs: the real handlers on the in-memory platform, from
// the user's action to the moment every field and the swatch show the new
// colour (the chain runs inside the action). Counters: the handler runs and
// the text writes of one action, so that a change that adds a nested run
// shows up here before anyone feels it.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "app/form1.h"
#include "app/form1_design.h"
#include "bridge/memory/memory_host.h"
#include "platform/memory/memory_form.h"

namespace {

using pigmentry::platform::ControlId;
using pigmentry::platform::MenuId;

constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

// Between the platform and Form1: counts the handler runs.
class CountingEvents final : public pigmentry::platform::FormEvents {
 public:
  explicit CountingEvents(pigmentry::app::Form1& form1) : form1_(form1) {}
  void Load() override { form1_.Load(); }
  void Change(ControlId id) override {
    ++runs;
    form1_.Change(id);
  }
  void GotFocus(ControlId id) override {
    ++runs;
    form1_.GotFocus(id);
  }
  void LostFocus(ControlId id) override {
    ++runs;
    form1_.LostFocus(id);
  }
  void KeyDown(ControlId id, int& keyCode, int shift) override {
    ++runs;
    form1_.KeyDown(id, keyCode, shift);
  }
  void Click(ControlId id) override { form1_.Click(id); }
  void MouseUp(ControlId id, int button, int shift, float x, float y) override {
    form1_.MouseUp(id, button, shift, x, y);
  }
  void MenuClick(MenuId id) override { form1_.MenuClick(id); }

  long runs = 0;

 private:
  pigmentry::app::Form1& form1_;
};

// The window as the program starts it, the focus in `field`.
struct Window {
  explicit Window(ControlId field)
      : form(pigmentry::app::kForm1Design), form1(form.View(), host), events(form1) {
    form.Connect(events);
    form.Load();
    form.Focus(field);
  }
  pigmentry::platform::memory::MemoryForm form;
  pigmentry::bridge::memory::MemoryHost host;
  pigmentry::app::Form1 form1;
  CountingEvents events;
};

// Runs `action` (given the iteration's parity, so that every action changes
// the colour) and reports the counters of one action.
template <typename Action>
void MeasureActions(benchmark::State& state, ControlId field, Action action) {
  Window window(field);
  const long runsBefore = window.events.runs;
  const long writesBefore = window.form.textWrites;
  std::uint64_t colour = 0;
  bool odd = false;
  for (auto _ : state) {
    action(window.form, odd);
    colour += window.form.View().lblColor().BackColor();
    odd = !odd;
  }
  benchmark::DoNotOptimize(colour);
  const auto actions = static_cast<double>(state.iterations());
  state.counters["handler_runs"] = static_cast<double>(window.events.runs - runsBefore) / actions;
  state.counters["text_writes"] =
      static_cast<double>(window.form.textWrites - writesBefore) / actions;
}

void BM_TypedHexDigit(benchmark::State& state) {
  MeasureActions(state, ControlId::txtHex, [](auto& form, bool odd) {
    form.Select(5, 1);
    form.Type(odd ? L"1" : L"2");
  });
}

void BM_PastedHex(benchmark::State& state) {
  MeasureActions(state, ControlId::txtHex, [](auto& form, bool odd) {
    form.Select(0, 6);
    form.Paste(odd ? L"FF0080" : L"00FF80");
  });
}

void BM_TypedDecimalDigit(benchmark::State& state) {
  MeasureActions(state, ControlId::txtC0, [](auto& form, bool odd) {
    form.Select(2, 1);
    form.Type(odd ? L"1" : L"2");
  });
}

void BM_PastedDecimal(benchmark::State& state) {
  MeasureActions(state, ControlId::txtC0, [](auto& form, bool odd) {
    form.Select(0, 3);
    form.Paste(odd ? L"128" : L"064");
  });
}

void BM_ArrowStep(benchmark::State& state) {
  MeasureActions(state, ControlId::txtC1,
                 [](auto& form, bool odd) { form.PressKey(odd ? kKeyUp : kKeyDown); });
}

}  // namespace

BENCHMARK(BM_TypedHexDigit);
BENCHMARK(BM_PastedHex);
BENCHMARK(BM_TypedDecimalDigit);
BENCHMARK(BM_PastedDecimal);
BENCHMARK(BM_ArrowStep);
BENCHMARK_MAIN();
