// The CorelDRAW buttons of the real program against the stand-in host, a
// local server in its own process as the real host is. For one Get and for
// a Set on 1, 100 and 10,000 shapes: the host calls (from the stand-in's
// call log), the GetIDsOfNames among them, the QueryInterface and Release
// calls that reached the host's objects, each per shape, and the wall time
// of the click. The reference, measured in the same run: the same Set made
// by a minimal client of this process, call for call, with nothing else.
//
//   bridge_bench_win.exe [largest]   (largest Set, 10000 unless given)
#include <objbase.h>
#include <windows.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bridge/com/binding.h"
#include "bridge/com/com_support.h"
#include "figure_line.h"
#include "support/harness.h"
#include "support/standin.h"

namespace {

using Microsoft::WRL::ComPtr;
using pigmentry::e2e::RunningProgram;
using pigmentry::e2e::StandInHost;
using pigmentry::platform::ControlId;
namespace binding = pigmentry::bridge::com::binding;
using Clock = std::chrono::steady_clock;

// A drawing of `shapes` shapes with CMYK fills, all selected.
void WriteDrawing(const StandInHost& host, std::size_t shapes) {
  std::string drawing;
  for (std::size_t i = 0; i < shapes; ++i) {
    drawing += "shape fill 1 CMYK 0 50 100 0 outline 1 RGB 1 2 3\n";
  }
  drawing += "select";
  for (std::size_t i = 0; i < shapes; ++i) {
    drawing += ' ' + std::to_string(i + 1);
  }
  drawing += '\n';
  if (!host.WriteDrawing(drawing)) {
    std::printf("cannot write the host's drawing\n");
  }
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// What the host saw of one click.
struct HostSide {
  long calls = 0;
  long lookups = 0;
  long notImplemented = 0;
  long queries = 0;
  long releases = 0;
  // The calls the host saw for the second shape of a Set, in order.
  std::vector<std::string> perShape;
};

// The call's name in a log entry "N <call>".
std::string CallOf(const std::string& entry) {
  const std::size_t space = entry.find(' ');
  return space == std::string::npos ? std::string() : entry.substr(space + 1);
}

HostSide ReadHostSide(const StandInHost& host) {
  HostSide side;
  const std::string drawing = host.ReadDrawing();
  const pigmentry::e2e::HostObjectCounts objects = pigmentry::e2e::ObjectCounts(drawing);
  side.queries = static_cast<long>(objects.queried);
  side.releases = static_cast<long>(objects.released);
  int enumNexts = 0;
  for (const std::string& entry : pigmentry::e2e::LogLines(drawing)) {
    if (entry.empty() || entry[0] < '0' || entry[0] > '9') {
      continue;
    }
    if (entry.find("E_NOTIMPL") != std::string::npos) {
      ++side.notImplemented;
      continue;
    }
    ++side.calls;
    const std::string call = CallOf(entry);
    if (call.find("GetIDsOfNames") != std::string::npos) {
      ++side.lookups;
    }
    if (call == "Enum Next") {
      ++enumNexts;
    }
    if (enumNexts == 2 && call != "Enum Next") {
      side.perShape.push_back(call);
    }
  }
  return side;
}

// Clicks `button` and waits until the click is over; its wall time in
// milliseconds.
double TimedClick(const RunningProgram& program, ControlId button) {
  const auto start = Clock::now();
  program.ClickHostButton(button, std::chrono::hours(1));
  return MillisecondsSince(start);
}

struct Click {
  HostSide host;
  double milliseconds = 0;
};

Click Measure(const StandInHost& host, std::size_t shapes, ControlId button) {
  WriteDrawing(host, shapes);
  Click click;
  {
    RunningProgram program;
    if (program.WaitForWindow() == nullptr) {
      std::printf("the program did not start\n");
      return click;
    }
    click.milliseconds = TimedClick(program, button);
    program.Close();
  }
  // The host writes its counts back when the last object goes.
  pigmentry::e2e::StopStandIn();
  click.host = ReadHostSide(host);
  return click;
}

// A property or method called by name, for the minimal client.
class ByName {
 public:
  explicit ByName(const wchar_t* name) : name_(name) {}
  HRESULT Call(IDispatch* object, WORD flags, VARIANT* result, VARIANTARG* argument = nullptr) {
    if (id_ == DISPID_UNKNOWN) {
      auto* names = const_cast<LPOLESTR>(name_);
      const HRESULT found = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id_);
      if (FAILED(found)) {
        return found;
      }
    }
    DISPPARAMS params{argument, nullptr, argument != nullptr ? 1U : 0U, 0};
    return object->Invoke(id_, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                          nullptr);
  }
  // A property that gives an object.
  ComPtr<IDispatch> Object(IDispatch* object) {
    VARIANT value;
    ::VariantInit(&value);
    ComPtr<IDispatch> result;
    if (SUCCEEDED(Call(object, DISPATCH_PROPERTYGET, &value)) && value.vt == VT_DISPATCH) {
      result.Attach(value.pdispVal);
    } else {
      ::VariantClear(&value);
    }
    return result;
  }

 private:
  const wchar_t* name_;
  DISPID id_ = DISPID_UNKNOWN;
};

// The reference: the same Set, the same host calls in the same order, made
// by a minimal client of this process with no window, no fields and no
// checks. Its wall time in milliseconds, or a negative number.
double MinimalSetMilliseconds(const StandInHost& host, std::size_t shapes) {
  WriteDrawing(host, shapes);
  double milliseconds = -1;
  {
    const auto start = Clock::now();
    ComPtr<IApplication> application;
    ComPtr<IShapes> selection;
    ComPtr<IShapes> shapesOf;
    ComPtr<IColor> work;
    if (FAILED(::CoCreateInstance(CLSID_ApplicationClass, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_IApplication,
                                  reinterpret_cast<void**>(application.GetAddressOf()))) ||
        FAILED(application->put_Switch(VARIANT_TRUE)) ||
        FAILED(application->get_Selection(selection.GetAddressOf())) || !selection ||
        FAILED(selection->QueryInterface(IID_IShapes,
                                         reinterpret_cast<void**>(shapesOf.GetAddressOf()))) ||
        FAILED(::CoCreateInstance(CLSID_ColorClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IColor,
                                  reinterpret_cast<void**>(work.GetAddressOf())))) {
      return -1;
    }
    LONG count = 0;
    shapesOf->get_Count(&count);
    VARIANT enumerator;
    ::VariantInit(&enumerator);
    DISPPARAMS none{};
    shapesOf->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                     DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &enumerator, nullptr, nullptr);
    ComPtr<IEnumVARIANT> each;
    if (enumerator.vt == VT_UNKNOWN || enumerator.vt == VT_DISPATCH) {
      enumerator.punkVal->QueryInterface(IID_IEnumVARIANT,
                                         reinterpret_cast<void**>(each.GetAddressOf()));
    }
    ::VariantClear(&enumerator);
    ByName fill(host_member::kFill);
    ByName type(host_member::kType);
    ByName uniformColor(host_member::kUniformColor);
    ByName copyAssign(host_member::kCopyAssign);
    VARIANT shape;
    ::VariantInit(&shape);
    ULONG fetched = 0;
    while (each && each->Next(1, &shape, &fetched) == S_OK && fetched == 1) {
      IDispatch* one = shape.pdispVal;
      VARIANT value;
      ::VariantInit(&value);
      type.Call(fill.Object(one).Get(), DISPATCH_PROPERTYGET, &value);
      if (value.vt == VT_I4 && value.lVal == 1) {
        work->CopyFrom(uniformColor.Object(fill.Object(one).Get()).Get());
      }
      LONG model = 0;
      work->get_Type(&model);
      if (model != pigmentry::bridge::kModelRGB) {
        work->ConvertToRGB();
      }
      work->RGBAssign(255, 255, 255);
      if (model != pigmentry::bridge::kModelRGB) {
        binding::ConvertTo(*work.Get(), static_cast<pigmentry::bridge::ColourModel>(model));
      }
      IDispatch* pointer = work.Get();
      VARIANTARG argument;
      ::VariantInit(&argument);
      argument.vt = VT_BYREF | VT_DISPATCH;
      argument.ppdispVal = &pointer;
      copyAssign.Call(uniformColor.Object(fill.Object(one).Get()).Get(), DISPATCH_METHOD, nullptr,
                      &argument);
      ::VariantClear(&shape);
    }
    milliseconds = MillisecondsSince(start);
  }
  pigmentry::e2e::StopStandIn();
  return milliseconds;
}

// The click's figures as data, named `name`.
void PrintClickFigures(const std::string& name, const Click& click) {
  using pigmentry::bench::Figure;
  Figure((name + ".host_calls").c_str(), static_cast<double>(click.host.calls), "calls");
  Figure((name + ".get_ids_of_names").c_str(), static_cast<double>(click.host.lookups), "calls");
  Figure((name + ".query_interface").c_str(), static_cast<double>(click.host.queries), "calls");
  Figure((name + ".release").c_str(), static_cast<double>(click.host.releases), "calls");
  Figure((name + ".time").c_str(), click.milliseconds, "ms");
}

void PrintClick(const char* what, std::size_t shapes, const Click& click) {
  const auto per = [&](long value) { return static_cast<double>(value) / double(shapes); };
  std::printf(
      "%-26s %8ld host calls (%6.2f per shape), %4ld GetIDsOfNames, %6ld QueryInterface "
      "(%5.2f per shape), %6ld Release (%5.2f per shape), %ld E_NOTIMPL, %10.1f ms\n",
      what, click.host.calls, per(click.host.calls), click.host.lookups, click.host.queries,
      per(click.host.queries), click.host.releases, per(click.host.releases),
      click.host.notImplemented, click.milliseconds);
}

// Every figure, against a host whose drawing is a file of its own.
void Run(std::size_t largest) {
  const StandInHost host(L"pigmentry_bridge_bench.txt");
  std::printf("Pigmentry.exe against the stand-in host in its own process\n");
  const Click get = Measure(host, 3, ControlId::cmdGetPaint);
  PrintClick("Get Fill (3 selected)", 1, get);
  PrintClickFigures("bridge.wine.get_fill", get);
  const Click one = Measure(host, 1, ControlId::cmdSetPaint);
  PrintClick("Set Fill on 1 shape", 1, one);
  PrintClickFigures("bridge.wine.set_fill_1", one);
  const Click hundred = Measure(host, 100, ControlId::cmdSetPaint);
  PrintClick("Set Fill on 100 shapes", 100, hundred);
  PrintClickFigures("bridge.wine.set_fill_100", hundred);
  if (largest > 100) {
    const std::string what = "Set Fill on " + std::to_string(largest) + " shapes";
    const Click most = Measure(host, largest, ControlId::cmdSetPaint);
    PrintClick(what.c_str(), largest, most);
    PrintClickFigures("bridge.wine.set_fill_largest", most);
  }

  std::printf("\nHost calls for each further shape of a Set (each CMYK fill):\n");
  std::map<std::string, int> counted;
  for (const std::string& call : hundred.host.perShape) {
    ++counted[call];
  }
  for (const std::string& call : hundred.host.perShape) {
    if (counted[call] > 0) {
      std::printf("  %d x %s\n", counted[call], call.c_str());
      counted[call] = 0;
    }
  }

  const double floor = MinimalSetMilliseconds(host, 100);
  std::printf(
      "\nReference: the same Set on 100 shapes, the same host calls, from a minimal "
      "client without a window: %.1f ms\n",
      floor);
  if (floor > 0) {
    std::printf("Set Fill on 100 shapes: %.1f ms, %.2f times the reference (budget 1.2)\n",
                hundred.milliseconds, hundred.milliseconds / floor);
    pigmentry::bench::Figure("bridge.wine.set_fill_100.against_reference", hundred.milliseconds,
                             "ms")
        .Reference(floor)
        .RatioBudget(1.2);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t largest = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    return 1;
  }
  Run(largest);
  ::CoUninitialize();
  return 0;
}
