// Start-up time and memory of Pigmentry.exe against two references: the
// floor (startup_reference.exe, a window with the same controls and manifest
// and nothing else) and the system's Notepad. Starts the three programs in
// turn, measures from CreateProcess until the program waits for input and
// its main window is visible, then closes it. Prints the median times, the
// ratio to each reference, and the memory of each program at that moment.
//
//   startup_bench [path\to\Pigmentry.exe] [runs]
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kCloseTimeoutMs = 10000;

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

// One start of the program: the time until its window is up, and its memory.
std::optional<Sample> StartOnce(const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = Now();
  if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info) == FALSE) {
    std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), ::GetLastError());
    return std::nullopt;
  }
  const Handle process(info.hProcess);
  const Handle thread(info.hThread);

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

  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory) != FALSE) {
    sample.privateBytes = memory.PrivateUsage;
    sample.workingSet = memory.WorkingSetSize;
  }
  Close(info.hProcess, info.dwProcessId, window);
  return sample;
}

template <typename Value>
Value Median(std::vector<Value> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Summary {
  double milliseconds;
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
  return {Median(times), Median(privateBytes), Median(workingSets)};
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

std::wstring Kib(SIZE_T bytes) {
  // Wine reports no private bytes (0); say so rather than print a size.
  if (bytes == 0) {
    return L"not reported";
  }
  return std::to_wstring((bytes + 512) / 1024) + L" KiB";
}

void PrintSummary(const wchar_t* name, const Summary& summary, std::size_t runs) {
  std::wprintf(
      L"%-10ls median start-up %7.1f ms over %zu runs; private bytes %ls, working set %ls\n", name,
      summary.milliseconds, runs, Kib(summary.privateBytes).c_str(),
      Kib(summary.workingSet).c_str());
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
  PrintSummary(L"Pigmentry", ours, samples[0].size());
  PrintSummary(L"Reference", reference, samples[1].size());
  PrintSummary(L"Notepad", theirs, samples[2].size());
  std::wprintf(L"start-up ratio Pigmentry / Reference: %.2f (budget 1.05)\n",
               ours.milliseconds / reference.milliseconds);
  std::wprintf(L"start-up ratio Pigmentry / Notepad: %.2f\n",
               ours.milliseconds / theirs.milliseconds);
  return 0;
}
