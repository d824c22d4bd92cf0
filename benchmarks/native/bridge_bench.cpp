// Host calls of the CorelDRAW buttons, counted on the in-memory host: one
// Get, and a Set on 1, 100 and 10,000 shapes, with the time of the largest.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/form1.h"
#include "app/form1_design.h"
#include "bridge/memory/memory_host.h"
#include "figure_line.h"
#include "platform/memory/memory_form.h"

namespace {

using pigmentry::bridge::memory::MemoryHost;
using pigmentry::bridge::memory::ShapeData;
using pigmentry::platform::ControlId;

struct Counts {
  long calls;
  long byName;
  double milliseconds;
};

Counts Click(std::size_t shapes, ControlId button) {
  pigmentry::platform::memory::MemoryForm form(pigmentry::app::kForm1Design);
  MemoryHost host;
  pigmentry::app::Form1 form1(form.View(), host);
  form.Connect(form1);
  std::vector<std::size_t> all;
  for (std::size_t i = 0; i < shapes; ++i) {
    all.push_back(host.AddShape(ShapeData{1, {2, {0, 50, 100, 0}}, 1, {5, {1, 2, 3, 0}}}));
  }
  host.Select(all);
  const auto start = std::chrono::steady_clock::now();
  form.Click(button);
  const auto end = std::chrono::steady_clock::now();
  const long byName = std::count_if(host.Log().begin(), host.Log().end(), [](const std::string& e) {
    return e.find("[name]") != std::string::npos || e == "Colour.CopyAssign";
  });
  return {host.Calls(), byName, std::chrono::duration<double, std::milli>(end - start).count()};
}

}  // namespace

int main() {
  using pigmentry::bench::Figure;
  const Counts get = Click(3, ControlId::cmdGetPaint);
  std::printf("Get Fill (3 selected):    %6ld host calls, %6ld by name\n", get.calls, get.byName);
  Figure("bridge.memory.get_fill.host_calls", static_cast<double>(get.calls), "calls");
  Figure("bridge.memory.get_fill.by_name", static_cast<double>(get.byName), "calls");
  for (const std::size_t shapes : {1U, 100U, 10000U}) {
    const Counts set = Click(shapes, ControlId::cmdSetPaint);
    std::printf("Set Fill on %5zu shapes: %6ld host calls, %6ld by name, %.2f ms\n", shapes,
                set.calls, set.byName, set.milliseconds);
    const std::string name = "bridge.memory.set_fill_" + std::to_string(shapes);
    Figure((name + ".host_calls").c_str(), static_cast<double>(set.calls), "calls");
    Figure((name + ".by_name").c_str(), static_cast<double>(set.byName), "calls");
    Figure((name + ".time").c_str(), set.milliseconds, "ms");
  }
  std::printf(
      "(names are looked up through GetIDsOfNames only by the COM host: at most once per\n"
      " name and interface, 7 in all; see the Windows benchmark)\n");
  return 0;
}
