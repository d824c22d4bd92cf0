// A long random session with the real Pigmentry.exe, driven from outside as
// its users drive it: typing and pasting into every field, arrow keys, Tab
// and focus moves, both entry modes, the four host buttons against a
// drawing whose selection changes, the layouts and the on-top toggle from
// the Options menu, message boxes dismissed. After every step the window is
// checked from outside; every few thousand steps the process's resource
// counts are printed, and a count that keeps growing fails the run.
//
//   soak [--steps N | --seconds S] [--seed N] [--sample N]
//
// A failure prints the seed and the last steps; the same seed and step count
// replay the same session.
#include <windows.h>
// psapi.h and winternl.h need the types of windows.h.
#include <psapi.h>
#include <winternl.h>
#include <wrl/client.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <deque>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/com/binding.h"
#include "e2e/harness.h"
#include "soak/standin_host.h"
#include "support/hex_oracle.h"

namespace pigmentry::soak {
namespace {

using pigmentry::testing_support::CanonicalChannel;

using e2e::RunningProgram;
using platform::ControlId;
using testing_support::HexValue;
using testing_support::ValidHex;
using testing_support::WithoutHashes;
using namespace std::chrono_literals;

constexpr const wchar_t* kTitle = L"Draw Pigmentry 11";
constexpr const wchar_t* kInvalidHex =
    L"Please enter a valid Hexadecimal string.\r\n"
    L"The following characters are valid: \r\n"
    L"0 1 2 3 4 5 6 7 8 9 A B C D E F";
constexpr std::size_t kStepsKept = 25;
constexpr int kTwipsPerPixel = 15;  // the prefix's 96 dpi

// The host's drawing: RGB fills and outlines the soak can follow exactly, a
// fill that is not uniform, a CMYK fill (followed only through the
// invariants) and a shape without an outline.
constexpr const char* kDrawing =
    "newcolour RGB 0 0 0\n"
    "shape fill 1 RGB 255 0 128 outline 1 RGB 0 0 255\n"
    "shape fill 1 RGB 10 20 30 outline 0 RGB 0 0 0\n"
    "shape fill 7 RGB 200 200 0 outline 1 RGB 5 6 7\n"
    "shape fill 1 CMYK 0 60 100 0 outline 1 RGB 1 2 3\n"
    "shape fill 1 RGB 1 2 3 outline 1 RGB 250 251 252\n"
    "select 1 2\n";

using Channels = std::array<int, 3>;

// A colour of the drawing as the soak knows it: RGB with known channels, or
// in another model.
struct KnownColour {
  bool rgb = true;
  Channels value{};
};

struct ShapeModel {
  bool uniformFill;
  KnownColour fill;
  bool solidOutline;
  KnownColour outline;
};

// What the host holds, followed through every click.
struct DrawingModel {
  std::vector<ShapeModel> shapes = {
      {true, {true, {255, 0, 128}}, true, {true, {0, 0, 255}}},
      {true, {true, {10, 20, 30}}, false, {true, {0, 0, 0}}},
      {false, {true, {200, 200, 0}}, true, {true, {5, 6, 7}}},
      {true, {false, {}}, true, {true, {1, 2, 3}}},
      {true, {true, {1, 2, 3}}, true, {true, {250, 251, 252}}},
  };
  std::vector<std::size_t> selection = {0, 1};

  void Click(std::size_t index, bool adding) {
    auto found = std::find(selection.begin(), selection.end(), index);
    if (!adding) {
      selection.assign(1, index);
    } else if (found != selection.end()) {
      selection.erase(found);
    } else {
      selection.push_back(index);
    }
  }

  // What a Get shows: the channels, or nothing when the soak cannot tell.
  [[nodiscard]] std::optional<Channels> Get(bool fill) const {
    if (selection.empty()) {
      return Channels{};
    }
    const ShapeModel& first = shapes[selection.front()];
    const bool has = fill ? first.uniformFill : first.solidOutline;
    if (!has) {
      return Channels{};  // the host's new colour, RGB black
    }
    const KnownColour& colour = fill ? first.fill : first.outline;
    if (!colour.rgb) {
      return std::nullopt;
    }
    return colour.value;
  }

  // A Set: each shape takes the colour in the model the working colour
  // carries over from the last shape that had one.
  void Set(bool fill, const Channels& channels) {
    bool workRgb = true;
    for (const std::size_t index : selection) {
      ShapeModel& shape = shapes[index];
      KnownColour& colour = fill ? shape.fill : shape.outline;
      if (fill ? shape.uniformFill : shape.solidOutline) {
        workRgb = colour.rgb;
      }
      colour = {workRgb, channels};
      if (fill) {
        shape.uniformFill = true;
      }
    }
  }
};

Channels PairsOf(std::wstring_view cleaned) {
  Channels channels{};
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = 2 * i; j < 2 * i + 2 && j < cleaned.size(); ++j) {
      channels[i] = channels[i] * 16 + HexValue(cleaned[j]);
    }
  }
  return channels;
}

std::string Narrow(std::wstring_view text, std::size_t limit = 40) {
  std::string out;
  for (const wchar_t ch : text.substr(0, limit)) {
    if (ch >= 0x20 && ch < 0x7F) {
      out.push_back(static_cast<char>(ch));
    } else {
      char escaped[12];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(ch));
      out += escaped;
    }
  }
  if (text.size() > limit) {
    out += "...(" + std::to_string(text.size()) + " characters)";
  }
  return out;
}

// The process's resource counts; -1 where the system does not report one.
struct Resources {
  long long handles = -1;
  long long handleTable = -1;      // the entries Wine has allocated for them
  long long hostObjects = -1;      // objects the host has given the program so far
  long long hostObjectsHeld = -1;  // of those, the ones it still holds
  // The handles beyond what Wine keeps for those host objects (see
  // WineHandlesPerHostObject): what the program itself holds. Below 0 when
  // the program needs fewer than Wine's allowance.
  bool ownHandlesKnown = false;
  long long ownHandles = 0;
  long long threads = -1;
  long long workingSetKiB = -1;
  long long gdiObjects = -1;
  long long userObjects = -1;
};

// One of the system's lists, as NtQuerySystemInformation gives it; empty
// where the system does not give it.
std::vector<unsigned char> SystemInformation(SYSTEM_INFORMATION_CLASS list) {
  using Query = LONG(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) {
    return {};
  }
  std::vector<unsigned char> buffer(1 << 20);
  ULONG needed = 0;
  while (query(list, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
    if (buffer.size() >= (256U << 20)) {
      return {};
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  return buffer;
}

// The handle and thread counts from the system's process list, which Wine
// fills also where GetProcessHandleCount answers 0 for another process.
void CountsFromProcessList(DWORD processId, Resources& r) {
  const std::vector<unsigned char> buffer = SystemInformation(SystemProcessInformation);
  if (buffer.empty()) {
    return;
  }
  for (std::size_t offset = 0;;) {
    const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&buffer[offset]);
    if (reinterpret_cast<std::uintptr_t>(entry->UniqueProcessId) == processId) {
      r.threads = entry->NumberOfThreads;
      if (r.handles <= 0) {
        r.handles = entry->HandleCount;
      }
      return;
    }
    if (entry->NextEntryOffset == 0) {
      return;
    }
    offset += entry->NextEntryOffset;
  }
}

// The handles a process holds, one by one from the system's list of every
// handle; -1 where the system does not give that list. Wine's process list
// gives the size of the handle table instead, which grows in powers of two.
long long OpenHandles(DWORD processId) {
  struct Entry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
  };
  struct List {
    ULONG count;
    Entry entries[1];
  };
  constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
  const std::vector<unsigned char> buffer = SystemInformation(kSystemHandleInformation);
  if (buffer.empty()) {
    return -1;
  }
  const auto* list = reinterpret_cast<const List*>(buffer.data());
  long long count = 0;
  for (ULONG i = 0; i < list->count; ++i) {
    count += list->entries[i].ownerPid == processId ? 1 : 0;
  }
  return count > 0 ? count : -1;
}

Resources ResourcesOf(HANDLE process) {
  Resources r;
  DWORD handles = 0;
  if (::GetProcessHandleCount(process, &handles) != FALSE && handles != 0) {
    r.handles = handles;
  }
  CountsFromProcessList(::GetProcessId(process), r);
  if (r.handles == 0) {
    r.handles = -1;  // every process holds some: 0 is not a count
  }
  if (const long long open = OpenHandles(::GetProcessId(process)); open > 0) {
    r.handleTable = r.handles;
    r.handles = open;
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  if (::GetProcessMemoryInfo(process, &memory, sizeof(memory)) != FALSE) {
    r.workingSetKiB = static_cast<long long>(memory.WorkingSetSize / 1024);
  }
  // Zero is what a system without the counts answers.
  if (const DWORD gdi = ::GetGuiResources(process, GR_GDIOBJECTS); gdi != 0) {
    r.gdiObjects = gdi;
  }
  if (const DWORD user = ::GetGuiResources(process, GR_USEROBJECTS); user != 0) {
    r.userObjects = user;
  }
  return r;
}

std::string Shown(long long count) { return count < 0 ? "n/a" : std::to_string(count); }

// Wine keeps at least one handle for every object that came from another
// process, also once the object has been let go, whoever the client is. So
// the handles of a program that talks to its host for hours grow with the
// host objects it got; what this Wine keeps for each is measured here in a
// client with nothing else, which asks the host for its selection again and
// again and lets each go at once. 0 where that cannot be measured.
double WineHandlesPerHostObject() {
  constexpr int kWarmUp = 100;
  constexpr int kObjects = 2000;
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    return 0;
  }
  double perObject = 0;
  {
    Microsoft::WRL::ComPtr<IApplication> application;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ApplicationClass, nullptr, CLSCTX_LOCAL_SERVER,
                                     IID_IApplication,
                                     reinterpret_cast<void**>(application.GetAddressOf())))) {
      const auto askFor = [&](int objects) {
        for (int i = 0; i < objects; ++i) {
          Microsoft::WRL::ComPtr<IShapes> selection;
          if (FAILED(application->get_Selection(selection.GetAddressOf()))) {
            return false;
          }
        }
        return true;
      };
      const DWORD self = ::GetCurrentProcessId();
      const long long before = askFor(kWarmUp) ? OpenHandles(self) : -1;
      if (before > 0 && askFor(kObjects)) {
        perObject = static_cast<double>(OpenHandles(self) - before) / kObjects;
      }
    }
  }
  ::CoUninitialize();
  return std::max(0.0, perObject);
}

std::string Describe(const Resources& r) {
  return "handles " + Shown(r.handles) + " (table " + Shown(r.handleTable) + ", own " +
         (r.ownHandlesKnown ? std::to_string(r.ownHandles) : "n/a") + " beside " +
         Shown(r.hostObjects) + " host objects, " + Shown(r.hostObjectsHeld) + " held), threads " +
         Shown(r.threads) + ", working set " + Shown(r.workingSetKiB) + " KiB, GDI objects " +
         Shown(r.gdiObjects) + ", USER objects " + Shown(r.userObjects);
}

// A count keeps growing when it rose at each of the last kRises samples by
// more than its slack in all: the start-up samples settle caches and pools.
class LeakWatch {
 public:
  // The name of a count that keeps growing, or nothing.
  std::optional<std::string> Add(const Resources& r) {
    samples_.push_back(r);
    if (samples_.size() <= kRises) {
      return std::nullopt;
    }
    const auto growing = [&](long long Resources::*count, long long slack, bool known = true) {
      const std::size_t last = samples_.size() - 1;
      for (std::size_t i = last - kRises + 1; i <= last; ++i) {
        if ((known && samples_[i].*count < 0) || samples_[i].*count <= samples_[i - 1].*count) {
          return false;
        }
      }
      return samples_[last].*count - samples_[last - kRises].*count > slack;
    };
    if (samples_.back().ownHandlesKnown) {
      if (growing(&Resources::ownHandles, 16, false)) return "count of its own handles";
    } else if (growing(&Resources::handles, 16)) {
      return "handle count";
    }
    if (growing(&Resources::hostObjectsHeld, 0)) return "count of host objects it holds";
    if (growing(&Resources::threads, 4)) return "thread count";
    if (growing(&Resources::workingSetKiB, 8 * 1024)) return "working set";
    if (growing(&Resources::gdiObjects, 16)) return "GDI object count";
    if (growing(&Resources::userObjects, 16)) return "USER object count";
    return std::nullopt;
  }

 private:
  static constexpr std::size_t kRises = 5;
  std::vector<Resources> samples_;
};

struct Options {
  std::uint64_t seed = 0;
  long long steps = 0;   // 0: run for `seconds`
  double seconds = 600;  // about ten minutes
  long long sample = 10000;
};

class Failure {
 public:
  explicit Failure(std::string what) : what_(std::move(what)) {}
  [[nodiscard]] const std::string& What() const { return what_; }

 private:
  std::string what_;
};

class Soak {
 public:
  explicit Soak(const Options& options)
      : options_(options), random_(options.seed), host_(L"pigmentry_soak_drawing.txt") {}

  int Run() {
    std::printf("soak: seed %llu, %s\n", static_cast<unsigned long long>(options_.seed),
                options_.steps > 0 ? (std::to_string(options_.steps) + " steps").c_str()
                                   : (std::to_string(options_.seconds) + " seconds").c_str());
    std::fflush(stdout);
    try {
      MeasureWineCost();
      Start();
      const Resources first = Sample();
      std::printf("step 0: %s\n", Describe(first).c_str());
      leaks_.Add(first);
      const auto start = std::chrono::steady_clock::now();
      auto sampled = start;
      long long sampledStep = 0;
      long long step = 0;
      while (options_.steps > 0
                 ? step < options_.steps
                 : std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
                       options_.seconds) {
        ++step;
        DoStep(step);
        Check(step);
        if (step % options_.sample == 0) {
          const auto now = std::chrono::steady_clock::now();
          const double rate = static_cast<double>(step - sampledStep) /
                              std::chrono::duration<double>(now - sampled).count();
          const Resources r = Sample();
          std::printf("step %lld: %.1f steps/s, %s\n", step, rate, Describe(r).c_str());
          std::fflush(stdout);
          sampled = now;
          sampledStep = step;
          if (const auto leak = leaks_.Add(r)) {
            throw Failure("the " + *leak + " keeps growing");
          }
        }
      }
      const double elapsed =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      const Resources last = Sample();
      std::printf("soak: %lld steps in %.0f s, %.1f steps/s, seed %llu\n", step, elapsed,
                  static_cast<double>(step) / elapsed,
                  static_cast<unsigned long long>(options_.seed));
      std::printf("  at start: %s\n  at end:   %s\n", Describe(first).c_str(),
                  Describe(last).c_str());
      std::printf("  host clicks %lld (checked exactly %lld), message boxes %lld, menus %lld\n",
                  hostClicks_, hostChecked_, messageBoxes_, menus_);
      const bool closed = program_->Close();
      Release();
      if (!closed) {
        std::printf("soak: FAILED: the program did not end when its window was closed\n");
        return 1;
      }
      std::printf("soak: passed\n");
      return 0;
    } catch (const Failure& failure) {
      std::printf("soak: FAILED: %s\n", failure.What().c_str());
      std::printf("replay with: --seed %llu --steps %lld\nlast steps:\n",
                  static_cast<unsigned long long>(options_.seed), stepNumber_);
      for (const std::string& line : lastSteps_) {
        std::printf("  %s\n", line.c_str());
      }
      std::fflush(stdout);
      Release();
      return 1;
    }
  }

 private:
  // --- The program ----------------------------------------------------------

  void MeasureWineCost() {
    if (!host_.WriteDrawing(kDrawing)) {
      throw Failure("cannot write the host's drawing");
    }
    handlesPerHostObject_ = WineHandlesPerHostObject();
    // The program's host starts afresh, its count of objects from 0.
    e2e::StopStandIn();
    std::printf(
        "Wine keeps %.2f handles for each object from the host (a client that does "
        "nothing else); the program is allowed %.2f\n",
        handlesPerHostObject_, kAllowance * handlesPerHostObject_);
  }

  [[nodiscard]] Resources Sample() const {
    Resources r = ResourcesOf(process_);
    const StandInHost::Objects objects = host_.ObjectsGiven();
    r.hostObjects = objects.given;
    r.hostObjectsHeld = objects.held;
    if (r.handles >= 0) {
      r.ownHandlesKnown = true;
      r.ownHandles = r.handles - static_cast<long long>(kAllowance * handlesPerHostObject_ *
                                                        static_cast<double>(r.hostObjects));
    }
    return r;
  }

  void Start() {
    if (!host_.WriteDrawing(kDrawing)) {
      throw Failure("cannot write the host's drawing");
    }
    program_ = std::make_unique<RunningProgram>(L"/x=20 /y=20");
    if (program_->WaitForWindow() == nullptr) {
      throw Failure("the window did not appear");
    }
    process_ =
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program_->ProcessId());
    if (process_ == nullptr) {
      throw Failure("cannot open the process for its counts");
    }
  }

  void Release() {
    if (process_ != nullptr) {
      ::CloseHandle(process_);
      process_ = nullptr;
    }
    program_.reset();
  }

  [[nodiscard]] HWND Control(ControlId id) const { return program_->Control(id); }
  [[nodiscard]] std::wstring Text(ControlId id) const { return e2e::TextOf(Control(id)); }

  // Sends WM_NULL and waits for the answer: the program is alive and its
  // thread has handled what came before.
  void Answering() const {
    if (program_->WaitForExit(0ms)) {
      throw Failure("the program has ended");
    }
    for (int i = 0; i < 2; ++i) {
      DWORD_PTR result = 0;
      if (::SendMessageTimeoutW(program_->Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) ==
          0) {
        throw Failure("the program does not answer");
      }
    }
  }

  [[nodiscard]] HWND OpenMessageBox() const {
    return e2e::FindVisibleWindow(program_->ProcessId(), L"#32770");
  }

  // --- Steps ---------------------------------------------------------------

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  void Log(const std::string& line) {
    lastSteps_.push_back("step " + std::to_string(stepNumber_) + ": " + line);
    if (lastSteps_.size() > kStepsKept) {
      lastSteps_.pop_front();
    }
  }

  wchar_t RandomChar() {
    static constexpr std::wstring_view kAlphabet = L"0123456789abcdefABCDEFG#-+.eE &hHxz";
    if (Pick(12) == 0) {
      // Any printable unit, also outside the Latin range.
      const int unit = 0xA0 + Pick(0xD800 - 0xA0);
      return static_cast<wchar_t>(unit);
    }
    return kAlphabet[static_cast<std::size_t>(Pick(static_cast<int>(kAlphabet.size())))];
  }

  std::wstring RandomText(int maxLength) {
    std::wstring text(static_cast<std::size_t>(Pick(maxLength + 1)), L' ');
    for (wchar_t& ch : text) {
      ch = RandomChar();
    }
    return text;
  }

  void DoStep(long long step) {
    stepNumber_ = step;
    switch (Pick(20)) {
      case 0:
      case 1:
      case 2:
        FocusStep();
        break;
      case 3:
        KeyStep(VK_TAB, "Tab");
        break;
      case 4:
      case 5:
      case 6:
      case 7:
        TypeStep();
        break;
      case 8:
      case 9:
        PasteStep();
        break;
      case 10:
      case 11:
        ArrowStep();
        break;
      case 12:
        ModeStep();
        break;
      case 13:
      case 14:
        HostButtonStep();
        break;
      case 15:
        SelectionStep();
        break;
      case 16:
      case 17:
        MenuStep();
        break;
      case 18:
        SelectStep();
        break;
      default:
        TypeChannelStep();
        break;
    }
  }

  static constexpr std::array kFocusable = {
      ControlId::txtC0,       ControlId::txtC1,      ControlId::txtC2,       ControlId::txtHex,
      ControlId::optRGB,      ControlId::optHex,     ControlId::cmdGetPaint, ControlId::cmdGetPaper,
      ControlId::cmdSetPaint, ControlId::cmdSetPaper};

  static const char* NameOf(ControlId id) {
    static constexpr std::array kNames = {
        "optRGB",      "txtC(0)",     "txtC(1)",     "txtC(2)", "optHex", "txtHex",   "cmdGetPaint",
        "cmdGetPaper", "cmdSetPaint", "cmdSetPaper", "Label1",  "Label2", "lblColor", "xLine1"};
    return kNames.at(static_cast<std::size_t>(id));
  }

  void FocusStep() {
    const ControlId id = kFocusable.at(static_cast<std::size_t>(Pick(kFocusable.size())));
    Log(std::string("focus ") + NameOf(id));
    program_->Focus(Control(id));
  }

  void KeyStep(UINT key, const char* name) {
    Log(std::string("key ") + name);
    program_->PressKey(key);
  }

  void ArrowStep() {
    static constexpr std::array<std::pair<UINT, const char*>, 8> kKeys = {{{VK_UP, "Up"},
                                                                           {VK_DOWN, "Down"},
                                                                           {VK_LEFT, "Left"},
                                                                           {VK_RIGHT, "Right"},
                                                                           {VK_HOME, "Home"},
                                                                           {VK_END, "End"},
                                                                           {VK_DELETE, "Delete"},
                                                                           {VK_BACK, "Backspace"}}};
    const auto& [key, name] = kKeys.at(static_cast<std::size_t>(Pick(kKeys.size())));
    // The program's own TranslateMessage turns Backspace into its character.
    KeyStep(key, name);
  }

  // Which edit field has the focus, if any.
  [[nodiscard]] std::optional<ControlId> FocusedField() const {
    HWND focused = program_->Focused();
    for (const ControlId id :
         {ControlId::txtC0, ControlId::txtC1, ControlId::txtC2, ControlId::txtHex}) {
      if (focused != nullptr && focused == Control(id)) {
        return id;
      }
    }
    return std::nullopt;
  }

  // The text the focused field will hold once `inserted` replaces its
  // selection.
  [[nodiscard]] std::wstring AfterReplacing(HWND edit, const std::wstring& inserted) const {
    std::wstring text = e2e::TextOf(edit);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageTimeoutW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                          reinterpret_cast<LPARAM>(&end), SMTO_NORMAL, 5000, nullptr);
    start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
    end = std::min<DWORD>(std::max(start, end), static_cast<DWORD>(text.size()));
    return text.substr(0, start) + inserted + text.substr(end);
  }

  // Whether the change leaves text that the hexadecimal field refuses.
  [[nodiscard]] bool RefusedInHexField(const std::wstring& after) const {
    return IsChecked(ControlId::optHex) && !after.empty() && !ValidHex(WithoutHashes(after));
  }

  [[nodiscard]] bool IsChecked(ControlId id) const { return e2e::IsChecked(Control(id)); }

  // One change of the focused field, typed (a character) or pasted; checks
  // that the message box comes exactly when the field refuses the text.
  void EnterText(const std::wstring& text, bool paste) {
    const auto field = FocusedField();
    if (!field) {
      // Nothing to type into: the key goes to a button or option button.
      if (!paste) {
        ::PostMessageW(program_->Focused(), WM_CHAR, text.at(0), 1);
        Answering();
      }
      return;
    }
    HWND edit = Control(*field);
    const bool refused =
        *field == ControlId::txtHex && RefusedInHexField(AfterReplacing(edit, text));
    if (paste) {
      if (!ToClipboard(text)) {
        throw Failure("cannot put the text on the clipboard");
      }
      ::PostMessageW(edit, WM_PASTE, 0, 0);
    } else {
      ::PostMessageW(edit, WM_CHAR, text.at(0), 1);
    }
    Answering();
    HWND box =
        refused ? e2e::WaitForMessageBox(program_->ProcessId(), kTitle, 5s) : OpenMessageBox();
    if (refused && box == nullptr) {
      throw Failure("no message box for refused hexadecimal text");
    }
    if (box != nullptr) {
      if (!refused) {
        throw Failure("a message box for accepted text: \"" + Narrow(e2e::TextOf(box)) + "\"");
      }
      Dismiss(box);
    }
  }

  void Dismiss(HWND box) {
    if (e2e::TextOf(box) != kTitle || e2e::MessageBoxText(box) != kInvalidHex) {
      throw Failure("unexpected message box \"" + Narrow(e2e::TextOf(box)) + "\": \"" +
                    Narrow(e2e::MessageBoxText(box), 200) + "\"");
    }
    ++messageBoxes_;
    e2e::PressOk(box);
    if (!e2e::WaitUntil([&] { return ::IsWindow(box) == FALSE || !::IsWindowVisible(box); }, 5s)) {
      throw Failure("the message box did not close");
    }
    Answering();
  }

  static bool ToClipboard(const std::wstring& text) {
    bool opened = false;
    for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
      opened = ::OpenClipboard(nullptr) != FALSE;
      if (!opened) {
        ::Sleep(10);
      }
    }
    if (!opened) {
      return false;
    }
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool given = false;
    if (memory != nullptr) {
      if (void* data = ::GlobalLock(memory)) {
        std::memcpy(data, text.c_str(), bytes);
        ::GlobalUnlock(memory);
        given = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      }
      if (!given) {
        ::GlobalFree(memory);  // the clipboard owns it only once given
      }
    }
    ::CloseClipboard();
    return given;
  }

  void TypeStep() {
    const std::wstring text = RandomText(4);
    Log("type \"" + Narrow(text) + "\"");
    for (const wchar_t ch : text) {
      EnterText(std::wstring(1, ch), false);
    }
  }

  // A whole number, sometimes beyond a channel or with a sign, typed over a
  // decimal field's text.
  void TypeChannelStep() {
    const ControlId id = kFocusable.at(static_cast<std::size_t>(Pick(3)));
    const int value = Pick(2) == 0 ? Pick(256) : Pick(2000) - 1000;
    const std::wstring text = std::to_wstring(value);
    Log(std::string("focus ") + NameOf(id) + ", type \"" + Narrow(text) + "\"");
    program_->Focus(Control(id));
    program_->SelectAll(Control(id));
    for (const wchar_t ch : text) {
      EnterText(std::wstring(1, ch), false);
    }
  }

  void PasteStep() {
    std::wstring text;
    if (Pick(40) == 0) {
      // Around the longest hexadecimal text the field takes.
      const std::size_t length = 32000 + static_cast<std::size_t>(Pick(1000));
      text.assign(length, Pick(2) == 0 ? L'0' : RandomChar());
    } else {
      text = RandomText(12);
      // Clipboard text ends at its first NUL, and a single-line field keeps
      // only its first line: neither is this program's rule.
      if (text.empty()) {
        text = L"#";
      }
    }
    const bool all = Pick(2) == 0;
    Log(std::string("paste ") + (all ? "over all " : "") + "\"" + Narrow(text) + "\"");
    if (all) {
      if (const auto field = FocusedField()) {
        program_->SelectAll(Control(*field));
      }
    }
    EnterText(text, true);
  }

  // Selects part of the focused field's text, as with the mouse.
  void SelectStep() {
    const int start = Pick(8);
    const int length = Pick(8);
    Log("select " + std::to_string(start) + "+" + std::to_string(length));
    if (const auto field = FocusedField()) {
      ::SendMessageTimeoutW(Control(*field), EM_SETSEL, static_cast<WPARAM>(start),
                            static_cast<LPARAM>(start + length), SMTO_NORMAL, 5000, nullptr);
    }
  }

  void ModeStep() {
    const ControlId id = Pick(2) == 0 ? ControlId::optRGB : ControlId::optHex;
    Log(std::string("click ") + NameOf(id));
    ::PostMessageW(Control(id), BM_CLICK, 0, 0);
    Answering();
  }

  [[nodiscard]] Channels FieldChannels() const {
    return {CanonicalChannel(Text(ControlId::txtC0)), CanonicalChannel(Text(ControlId::txtC1)),
            CanonicalChannel(Text(ControlId::txtC2))};
  }

  // The colour once a click has taken the focus: leaving the hexadecimal
  // field fills a short entry with zeros on the right, which changes it.
  [[nodiscard]] Channels ChannelsOnceTheFocusLeaves() const {
    if (FocusedField() != ControlId::txtHex) {
      return FieldChannels();
    }
    std::wstring hex = Text(ControlId::txtHex);
    if (hex.size() < 6) {
      hex.append(6 - hex.size(), L'0');
    }
    return PairsOf(hex);
  }

  void HostButtonStep() {
    static constexpr std::array kButtons = {ControlId::cmdGetPaint, ControlId::cmdGetPaper,
                                            ControlId::cmdSetPaint, ControlId::cmdSetPaper};
    const ControlId id = kButtons.at(static_cast<std::size_t>(Pick(kButtons.size())));
    const bool fill = id == ControlId::cmdGetPaint || id == ControlId::cmdSetPaint;
    const bool set = id == ControlId::cmdSetPaint || id == ControlId::cmdSetPaper;
    std::string selection;
    for (const std::size_t index : drawing_.selection) {
      selection += " " + std::to_string(index + 1);
    }
    Log(std::string("click ") + NameOf(id) + " (selection" + selection + ")");
    const Channels before = ChannelsOnceTheFocusLeaves();
    Answering();
    if (!program_->ClickHostButton(id, 30s)) {
      throw Failure("a click on a host button does not end");
    }
    Answering();
    ++hostClicks_;
    if (HWND box = OpenMessageBox()) {
      throw Failure("a message box after a host button: \"" +
                    Narrow(e2e::MessageBoxText(box), 300) + "\"");
    }
    std::optional<Channels> expected;
    if (set) {
      expected = drawing_.selection.empty() ? Channels{} : before;
      drawing_.Set(fill, before);
    } else {
      expected = drawing_.Get(fill);
    }
    if (expected) {
      ++hostChecked_;
      if (!e2e::WaitUntil([&] { return FieldChannels() == *expected; }, 3s)) {
        const Channels got = FieldChannels();
        throw Failure("the fields show " + std::to_string(got[0]) + "," + std::to_string(got[1]) +
                      "," + std::to_string(got[2]) + " instead of " +
                      std::to_string((*expected)[0]) + "," + std::to_string((*expected)[1]) + "," +
                      std::to_string((*expected)[2]));
      }
    }
    KeepDrawingAside();
  }

  // The host's window opens with its first object, wherever Wine puts it.
  void KeepDrawingAside() {
    HWND drawing = StandInHost::DrawingWindow();
    if (drawing != nullptr && drawing != drawingWindow_) {
      drawingWindow_ = drawing;
      StandInHost::MoveDrawingWindow(drawing, {20, 420});
    }
  }

  void SelectionStep() {
    const std::size_t index = static_cast<std::size_t>(Pick(5));
    const bool adding = Pick(2) == 0;
    Log(std::string(adding ? "ctrl+click" : "click") + " shape " + std::to_string(index + 1));
    HWND drawing = StandInHost::DrawingWindow();
    if (drawing == nullptr) {
      Log("  (the host has not been reached yet)");
      return;
    }
    StandInHost::ClickShape(drawing, index, adding);
    drawing_.Click(index, adding);
    Answering();
  }

  // The pointer in the screen's far corner, away from the program's window
  // and anything it opens.
  static void PointerAside() {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  }

  // Keys pressed as the keyboard does: into the input queue, in order with the
  // mouse, to whatever has the focus.
  static void PressKeysAsInput(const std::vector<WORD>& keys) {
    std::vector<INPUT> input;
    for (const WORD key : keys) {
      INPUT down{};
      down.type = INPUT_KEYBOARD;
      down.ki.wVk = key;
      INPUT up = down;
      up.ki.dwFlags = KEYEVENTF_KEYUP;
      input.push_back(down);
      input.push_back(up);
    }
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
  }

  // The Options menu, opened with a right click on the swatch or with the
  // context-menu key on a button; an item is chosen or the menu dismissed.
  void MenuStep() {
    const int downs = Pick(5);  // 0 dismisses; 1 on top; 2, 3, 4 the layouts
    const bool byMouse = Pick(2) == 0;
    static constexpr std::array kItems = {"dismiss", "Always on Top", "Default Layout",
                                          "Wide Layout 1", "Wide Layout 2"};
    Log(std::string("menu by ") + (byMouse ? "right click" : "key") + ": " +
        kItems.at(static_cast<std::size_t>(downs)));
    if (byMouse) {
      RECT rect{};
      ::GetWindowRect(Control(ControlId::lblColor), &rect);
      program_->Focus(Control(ControlId::txtC0));
      e2e::RightClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    } else {
      PointerAside();
      program_->Focus(Control(ControlId::cmdGetPaint));
      program_->PressKey(VK_APPS);
    }
    HWND menu = nullptr;
    if (!e2e::WaitUntil(
            [&] {
              menu = e2e::FindVisibleWindow(program_->ProcessId(), L"#32768");
              return menu != nullptr;
            },
            5s)) {
      throw Failure("the Options menu did not open");
    }
    ++menus_;
    // A menu item is chosen with the arrow keys from no item, and any move of
    // the mouse over the menu, even onto its border, takes the highlight
    // away: a menu opened under the pointer gets such a move from the display
    // whenever it comes. So the pointer goes aside first, the program handles
    // what came before, and the keys follow as input, behind any move.
    PointerAside();
    Answering();
    Answering();
    std::vector<WORD> keys(static_cast<std::size_t>(downs), VK_DOWN);
    keys.push_back(downs == 0 ? VK_ESCAPE : VK_RETURN);
    PressKeysAsInput(keys);
    if (!e2e::WaitUntil([&] { return ::IsWindowVisible(menu) == FALSE; }, 5s)) {
      throw Failure("the Options menu did not close");
    }
    Answering();
    if (downs == 1) {
      topMost_ = !topMost_;
    } else if (downs > 1) {
      layout_ = downs - 1;
    }
  }

  // --- Checks after every step ---------------------------------------------

  void Check(long long step) {
    Answering();
    if (HWND box = OpenMessageBox()) {
      throw Failure("a message box is left open: \"" + Narrow(e2e::TextOf(box)) + "\": \"" +
                    Narrow(e2e::MessageBoxText(box), 200) + "\"");
    }
    if (e2e::FindVisibleWindow(program_->ProcessId(), L"#32768") != nullptr) {
      throw Failure("a menu is left open");
    }
    CheckColour();
    CheckWindow();
    // The swatch is read from the screen: every few steps, it costs a paint.
    if (step % 4 == 0) {
      CheckSwatch();
    }
  }

  void CheckColour() {
    const Channels channels = FieldChannels();
    for (int i = 0; i < 3; ++i) {
      if (channels.at(static_cast<std::size_t>(i)) < 0) {
        throw Failure("txtC(" + std::to_string(i) + ") holds \"" +
                      Narrow(Text(platform::TxtCId(i))) + "\", not a whole number 0-255");
      }
    }
    const bool rgb = IsChecked(ControlId::optRGB);
    if (rgb == IsChecked(ControlId::optHex)) {
      throw Failure("the option buttons are not exclusive");
    }
    const auto focused = FocusedField();
    const bool hexFocused = focused == ControlId::txtHex;
    if (hexFocused && rgb) {
      throw Failure("the hexadecimal field has the focus in RGB mode");
    }
    if (focused && !hexFocused && !rgb) {
      throw Failure("a decimal field has the focus in hex mode");
    }
    const std::wstring hex = Text(ControlId::txtHex);
    if (hexFocused && hex.empty()) {
      return;
    }
    if (hex.find(L'#') != std::wstring::npos || !ValidHex(hex)) {
      throw Failure("the hexadecimal field holds \"" + Narrow(hex) + "\"");
    }
    if (PairsOf(hex) != channels) {
      throw Failure("the hexadecimal field \"" + Narrow(hex) +
                    "\" differs from the decimal fields");
    }
    if (!hexFocused && hex.size() < 6) {
      throw Failure("the hexadecimal field holds \"" + Narrow(hex) + "\" without the focus");
    }
  }

  void CheckWindow() {
    static constexpr std::array<SIZE, 3> kClientTwips = {{{3690, 1710}, {6450, 885}, {10050, 525}}};
    const SIZE want = kClientTwips.at(static_cast<std::size_t>(layout_ - 1));
    const SIZE client = e2e::ClientSize(program_->Window());
    if (client.cx != want.cx / kTwipsPerPixel || client.cy != want.cy / kTwipsPerPixel) {
      throw Failure("the client area is " + std::to_string(client.cx) + "x" +
                    std::to_string(client.cy) + " in layout " + std::to_string(layout_));
    }
    const bool topMost =
        (::GetWindowLongPtrW(program_->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (topMost != topMost_) {
      throw Failure(topMost_ ? "the window left the topmost band"
                             : "the window is in the topmost band");
    }
  }

  void CheckSwatch() {
    const Channels channels = FieldChannels();
    const COLORREF want = RGB(channels[0], channels[1], channels[2]);
    RECT rect{};
    ::GetWindowRect(Control(ControlId::lblColor), &rect);
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    COLORREF seen = CLR_INVALID;
    const bool same = e2e::WaitUntil(
        [&] {
          HDC screen = ::GetDC(nullptr);
          seen = ::GetPixel(screen, x, y);
          ::ReleaseDC(nullptr, screen);
          return seen == want;
        },
        3s);
    if (!same) {
      char text[96];
      std::snprintf(text, sizeof text, "the swatch shows %06lX instead of %06lX (BGR)",
                    static_cast<unsigned long>(seen), static_cast<unsigned long>(want));
      throw Failure(text);
    }
  }

  Options options_;
  std::mt19937_64 random_;
  StandInHost host_;
  std::unique_ptr<RunningProgram> program_;
  HANDLE process_ = nullptr;
  HWND drawingWindow_ = nullptr;
  DrawingModel drawing_;
  int layout_ = 1;
  bool topMost_ = true;
  LeakWatch leaks_;
  // Of what Wine keeps per host object in a client with nothing else, a
  // quarter more is allowed. The program's own handles are what is left
  // when its host objects are counted out that way: a program that kept a
  // handle more than that for each would leave more and more.
  static constexpr double kAllowance = 1.25;
  double handlesPerHostObject_ = 0;
  std::deque<std::string> lastSteps_;
  long long stepNumber_ = 0;
  long long hostClicks_ = 0;
  long long hostChecked_ = 0;
  long long messageBoxes_ = 0;
  long long menus_ = 0;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  options.seed = static_cast<std::uint64_t>(std::time(nullptr));
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring_view name = argv[i];
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(argv[i + 1], &end, 10);
    if (end == argv[i + 1] || *end != L'\0') {
      return false;
    }
    if (name == L"--seed") {
      options.seed = value;
    } else if (name == L"--steps") {
      options.steps = static_cast<long long>(value);
    } else if (name == L"--seconds") {
      options.steps = 0;
      options.seconds = static_cast<double>(value);
    } else if (name == L"--sample") {
      options.sample = std::max(1LL, static_cast<long long>(value));
    } else {
      return false;
    }
  }
  return argc % 2 == 1;
}

}  // namespace
}  // namespace pigmentry::soak

int wmain(int argc, wchar_t** argv) {
  pigmentry::soak::Options options;
  if (!pigmentry::soak::ParseOptions(argc, argv, options)) {
    std::printf("usage: soak [--steps N | --seconds S] [--seed N] [--sample N]\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 1024);
  return pigmentry::soak::Soak(options).Run();
}
