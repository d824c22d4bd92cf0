// Start-up time and memory of Pigmentry.exe against two references: the
// floor (startup_reference.exe, a window with the same controls and manifest
// and nothing else) and the system's Notepad. Starts the three programs in
// turn, measures from CreateProcess until the program waits for input and
// its main window is visible, then closes it. Prints the median times, the
// ratio to each reference, and the memory of each program at that moment.
//
// Then where the time goes: Pigmentry_steps.exe and
// startup_reference_steps.exe, the same two programs built to write the
// moment each step of their start ends to their standard output, are
// started as often, and the median cost of each step is printed side by
// side, from CreateProcess to the program's entry point and on to its
// window shown.
//
//   startup_bench [path\to\Pigmentry.exe] [runs]
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "figure_line.h"

namespace {

using pigmentry::bench::Figure;

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kCloseTimeoutMs = 10000;
constexpr DWORD kSettleMs = 250;

struct Sample {
  double milliseconds;
  SIZE_T privateBytes;
  SIZE_T workingSet;
};

class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_ != nullptr) {
      ::CloseHandle(handle_);
    }
  }
  [[nodiscard]] HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

double Now() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER value{};
    ::QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency);
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchVisibleTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && ::IsWindowVisible(window) != FALSE &&
      ::GetWindow(window, GW_OWNER) == nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleMainWindow(DWORD processId) {
  WindowSearch search{processId, nullptr};
  ::EnumWindows(MatchVisibleTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Close(HANDLE process, DWORD processId, HWND window) {
  if (window != nullptr) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
  }
  if (::WaitForSingleObject(process, kCloseTimeoutMs) != WAIT_OBJECT_0) {
    std::fwprintf(stderr, L"process %lu did not close; terminating it\n", processId);
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, kCloseTimeoutMs);
  }
}

// The pipe a program started for its steps writes to.
class StepPipe {
 public:
  StepPipe() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (::CreatePipe(&read, &write, &inherit, 0) != FALSE) {
      ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
      read_ = read;
      write_ = write;
    }
  }
  StepPipe(const StepPipe&) = delete;
  StepPipe& operator=(const StepPipe&) = delete;
  ~StepPipe() {
    CloseWriteEnd();
    if (read_ != nullptr) {
      ::CloseHandle(read_);
    }
  }
  [[nodiscard]] HANDLE WriteEnd() const { return write_; }
  // Once the child has its copy: its end of file is then the child's.
  void CloseWriteEnd() {
    if (write_ != nullptr) {
      ::CloseHandle(write_);
      write_ = nullptr;
    }
  }
  // Everything up to and including the line that begins with `last`, or up
  // to the child's exit.
  std::string ReadThrough(const std::string& last) const {
    std::string text;
    char buffer[512];
    DWORD got = 0;
    while (text.find("\n" + last) == std::string::npos && text.rfind(last, 0) != 0 &&
           ::ReadFile(read_, buffer, sizeof buffer, &got, nullptr) != FALSE && got > 0) {
      text.append(buffer, got);
    }
    return text;
  }

 private:
  HANDLE read_ = nullptr;
  HANDLE write_ = nullptr;
};

// One start of the program: the time until its window is up, and its memory;
// with `steps`, also what the program wrote about its steps up to "show".
std::optional<Sample> StartOnce(const std::wstring& program, std::string* steps = nullptr) {
  std::wstring commandLine = L"\"" + program + L"\"";
  StepPipe pipe;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (steps != nullptr) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = pipe.WriteEnd();
    startup.hStdError = pipe.WriteEnd();
  }
  PROCESS_INFORMATION info{};
  const double start = Now();
  if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                       steps != nullptr ? TRUE : FALSE, 0, nullptr, nullptr, &startup,
                       &info) == FALSE) {
    std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), ::GetLastError());
    return std::nullopt;
  }
  const Handle process(info.hProcess);
  const Handle thread(info.hThread);
  pipe.CloseWriteEnd();
  if (steps != nullptr) {
    std::ostringstream created;
    created.precision(15);
    created << "step created " << start << "\n";
    *steps = created.str() + pipe.ReadThrough("step show ");
  }

  ::WaitForInputIdle(info.hProcess, kStartTimeoutMs);
  HWND window = nullptr;
  while ((window = VisibleMainWindow(info.dwProcessId)) == nullptr) {
    if (Now() - start > kStartTimeoutMs ||
        ::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) {
      std::fwprintf(stderr, L"%ls showed no window\n", program.c_str());
      Close(info.hProcess, info.dwProcessId, nullptr);
      return std::nullopt;
    }
    ::Sleep(1);
  }
  Sample sample{Now() - start, 0, 0};
  if (steps != nullptr) {
    std::ostringstream seen;
    seen.precision(15);
    seen << "step seen " << start + sample.milliseconds << "\n";
    *steps += seen.str();
  }

  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory) != FALSE) {
    sample.privateBytes = memory.PrivateUsage;
    sample.workingSet = memory.WorkingSetSize;
  }
  Close(info.hProcess, info.dwProcessId, window);
  // The system tidies up after a process for a while after it has ended
  // (under Wine the server and the display's windows); the next start must
  // not share that time, or a program would pay for the one before it.
  ::Sleep(kSettleMs);
  return sample;
}

template <typename Value>
Value Median(std::vector<Value> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Half the interquartile range: the figure's noise.
double Spread(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const auto at = [&](double share) {
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
  };
  return (at(0.75) - at(0.25)) / 2;
}

struct Summary {
  double milliseconds;
  double spread;
  SIZE_T privateBytes;
  SIZE_T workingSet;
};

Summary Summarise(const std::vector<Sample>& samples) {
  std::vector<double> times;
  std::vector<SIZE_T> privateBytes;
  std::vector<SIZE_T> workingSets;
  for (const Sample& sample : samples) {
    times.push_back(sample.milliseconds);
    privateBytes.push_back(sample.privateBytes);
    workingSets.push_back(sample.workingSet);
  }
  return {Median(times), Spread(times), Median(privateBytes), Median(workingSets)};
}

std::wstring BesideThisProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
  path.resize(length);
  path.erase(path.find_last_of(L"\\/") + 1);
  return path + name;
}

std::wstring SystemNotepad() {
  std::wstring path(MAX_PATH, L'\0');
  const UINT length = ::GetSystemDirectoryW(path.data(), MAX_PATH);
  path.resize(length);
  return path + L"\\notepad.exe";
}

std::string Kib(SIZE_T bytes) {
  // Wine reports no private bytes (0); say so rather than print a size.
  if (bytes == 0) {
    return "not reported";
  }
  return std::to_string((bytes + 512) / 1024) + " KiB";
}

void PrintSummary(const char* name, const Summary& summary, std::size_t runs) {
  std::printf("%-10s median start-up %7.1f ms over %zu runs; private bytes %s, working set %s\n",
              name, summary.milliseconds, runs, Kib(summary.privateBytes).c_str(),
              Kib(summary.workingSet).c_str());
}

// The steps of one start in order, each with its cost: the time since the
// step before ("entry" since CreateProcess, "seen" the wait until this
// program saw the window).
using Steps = std::vector<std::pair<std::string, double>>;

Steps StepCosts(const std::string& report) {
  Steps steps;
  std::istringstream lines(report);
  std::string word;
  std::string name;
  double moment = 0;
  double previous = 0;
  while (lines >> word >> name >> moment) {
    if (word != "step") {
      break;
    }
    if (name != "created") {
      steps.emplace_back(name, moment - previous);
    }
    previous = moment;
  }
  return steps;
}

// The median cost of each step over the starts, in the order of the steps.
struct StepFigure {
  std::string name;
  double median;
  double spread;
};

std::vector<StepFigure> MedianSteps(const std::vector<Steps>& starts) {
  std::vector<StepFigure> figures;
  if (starts.empty()) {
    return figures;
  }
  for (const auto& [name, cost] : starts.front()) {
    std::vector<double> costs;
    for (const Steps& steps : starts) {
      for (const auto& [other, value] : steps) {
        if (other == name) {
          costs.push_back(value);
        }
      }
    }
    figures.push_back({name, Median(costs), Spread(costs)});
  }
  return figures;
}

void PrintSteps(const std::vector<StepFigure>& ours, const std::vector<StepFigure>& theirs,
                int runs) {
  std::printf("Start-up steps, median cost of each over %d starts of the timed builds:\n", runs);
  std::printf("  %-18s %10s %10s %10s\n", "step", "Pigmentry", "Reference", "more");
  std::map<std::string, double> reference;
  for (const StepFigure& step : theirs) {
    reference[step.name] = step.median;
  }
  double ourTotal = 0;
  double theirTotal = 0;
  for (const StepFigure& step : ours) {
    ourTotal += step.median;
    const auto found = reference.find(step.name);
    if (found != reference.end()) {
      theirTotal += found->second;
      std::printf("  %-18s %7.2f ms %7.2f ms %7.2f ms\n", step.name.c_str(), step.median,
                  found->second, step.median - found->second);
    } else {
      std::printf("  %-18s %7.2f ms %10s %7.2f ms\n", step.name.c_str(), step.median, "-",
                  step.median);
    }
    const std::string figure = "startup.step.pigmentry." + step.name;
    Figure(figure.c_str(), step.median, "ms").Spread(step.spread);
  }
  for (const StepFigure& step : theirs) {
    const bool shared = std::any_of(ours.begin(), ours.end(),
                                    [&](const StepFigure& our) { return our.name == step.name; });
    if (!shared) {
      theirTotal += step.median;
      std::printf("  %-18s %10s %7.2f ms\n", step.name.c_str(), "-", step.median);
    }
    const std::string figure = "startup.step.reference." + step.name;
    Figure(figure.c_str(), step.median, "ms").Spread(step.spread);
  }
  std::printf("  %-18s %7.2f ms %7.2f ms %7.2f ms\n", "sum of the medians", ourTotal, theirTotal,
              ourTotal - theirTotal);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring program = argc > 1 ? argv[1] : BesideThisProgram(L"Pigmentry.exe");
  const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 10;
  const std::wstring notepad = SystemNotepad();
  const std::wstring floor = BesideThisProgram(L"startup_reference.exe");
  const std::vector<std::wstring> programs = {program, floor, notepad};

  // One start of each first, not counted: it loads the DLLs into the cache.
  for (const std::wstring& each : programs) {
    if (!StartOnce(each)) {
      return 1;
    }
  }
  std::vector<std::vector<Sample>> samples(programs.size());
  for (int run = 0; run < runs; ++run) {
    for (std::size_t i = 0; i < programs.size(); ++i) {
      const std::optional<Sample> sample = StartOnce(programs[i]);
      if (!sample) {
        return 1;
      }
      samples[i].push_back(*sample);
    }
  }

  const Summary ours = Summarise(samples[0]);
  const Summary reference = Summarise(samples[1]);
  const Summary theirs = Summarise(samples[2]);
  PrintSummary("Pigmentry", ours, samples[0].size());
  PrintSummary("Reference", reference, samples[1].size());
  PrintSummary("Notepad", theirs, samples[2].size());
  // Each round starts Pigmentry and then the reference: the median of the
  // rounds' ratios holds still while the machine's load comes and goes,
  // where the ratio of the two medians follows it.
  std::vector<double> ratios;
  for (std::size_t run = 0; run < samples[0].size(); ++run) {
    ratios.push_back(samples[0][run].milliseconds / samples[1][run].milliseconds);
  }
  const double ratio = Median(ratios);
  std::printf(
      "start-up ratio Pigmentry / Reference: %.3f, the median of %zu rounds' ratios (budget "
      "1.05): %s; ratio of the medians %.3f\n",
      ratio, ratios.size(), ratio <= 1.05 ? "within" : "OVER",
      ours.milliseconds / reference.milliseconds);
  std::printf("start-up ratio Pigmentry / Notepad: %.2f\n",
              ours.milliseconds / theirs.milliseconds);
  Figure("startup.pigmentry.median", ours.milliseconds, "ms").Spread(ours.spread);
  Figure("startup.reference.median", reference.milliseconds, "ms").Spread(reference.spread);
  Figure("startup.notepad.median", theirs.milliseconds, "ms").Spread(theirs.spread);
  Figure("startup.ratio_to_reference", ratio, "ratio").Spread(Spread(ratios)).Budget(1.05);
  if (ours.workingSet != 0) {
    Figure("startup.pigmentry.working_set", static_cast<double>(ours.workingSet) / 1024, "KiB")
        .Reference(static_cast<double>(reference.workingSet) / 1024);
  }

  const std::wstring timedOurs = BesideThisProgram(L"Pigmentry_steps.exe");
  const std::wstring timedReference = BesideThisProgram(L"startup_reference_steps.exe");
  std::vector<StepFigure> ourSteps;
  std::vector<StepFigure> theirSteps;
  {
    std::vector<Steps> our;
    std::vector<Steps> their;
    // Interleaved, as the timing above, so that both see the same machine.
    for (int run = 0; run <= runs; ++run) {
      std::string ourReport;
      std::string theirReport;
      if (!StartOnce(timedOurs, &ourReport) || !StartOnce(timedReference, &theirReport)) {
        return 1;
      }
      if (run > 0) {  // the first start of each loads its file into the cache
        our.push_back(StepCosts(ourReport));
        their.push_back(StepCosts(theirReport));
      }
    }
    ourSteps = MedianSteps(our);
    theirSteps = MedianSteps(their);
  }
  PrintSteps(ourSteps, theirSteps, runs);
  return 0;
}
