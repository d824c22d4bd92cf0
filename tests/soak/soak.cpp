// A long random session with the real Pigmentry.exe: the session itself,
// with the program and the stand-in host it runs against.
#include "soak/soak.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace pigmentry::soak {

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kStepsKept = 25;

}  // namespace

std::string Narrow(std::wstring_view text, std::size_t limit) {
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

Soak::Soak(const Options& options)
    : options_(options), random_(options.seed), host_(L"pigmentry_soak_drawing.txt") {}

int Soak::Run() {
  std::printf("soak: seed %llu, %s\n", static_cast<unsigned long long>(options_.seed),
              options_.steps > 0 ? (std::to_string(options_.steps) + " steps").c_str()
                                 : (std::to_string(options_.seconds) + " seconds").c_str());
  std::fflush(stdout);
  // A program that cannot be started fails the run, with the system's reason.
  e2e::OnHarnessFailure([](const std::string& what) { throw Failure(what); });
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

void Soak::MeasureWineCost() {
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

Resources Soak::Sample() const {
  Resources r = ResourcesOf(process_);
  const e2e::HostObjectCounts objects = e2e::ObjectCounts(host_.ReadDrawing());
  r.hostObjects = objects.created;
  r.hostObjectsHeld = objects.alive;
  if (r.handles >= 0) {
    r.ownHandlesKnown = true;
    r.ownHandles = r.handles - static_cast<long long>(kAllowance * handlesPerHostObject_ *
                                                      static_cast<double>(r.hostObjects));
  }
  return r;
}

void Soak::Start() {
  if (!host_.WriteDrawing(kDrawing)) {
    throw Failure("cannot write the host's drawing");
  }
  program_ = std::make_unique<e2e::RunningProgram>(L"/x=20 /y=20");
  if (program_->WaitForWindow() == nullptr) {
    throw Failure("the window did not appear");
  }
  process_ =
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program_->ProcessId());
  if (process_ == nullptr) {
    throw Failure("cannot open the process for its counts");
  }
}

void Soak::Release() {
  if (process_ != nullptr) {
    ::CloseHandle(process_);
    process_ = nullptr;
  }
  program_.reset();
}

void Soak::Answering() const {
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

HWND Soak::OpenMessageBox() const {
  return e2e::FindVisibleWindow(program_->ProcessId(), L"#32770");
}

void Soak::Log(const std::string& line) {
  lastSteps_.push_back("step " + std::to_string(stepNumber_) + ": " + line);
  if (lastSteps_.size() > kStepsKept) {
    lastSteps_.pop_front();
  }
}

std::optional<ControlId> Soak::FocusedField() const {
  HWND focused = program_->Focused();
  for (const ControlId id :
       {ControlId::txtC0, ControlId::txtC1, ControlId::txtC2, ControlId::txtHex}) {
    if (focused != nullptr && focused == Control(id)) {
      return id;
    }
  }
  return std::nullopt;
}

Channels Soak::FieldChannels() const {
  using testing_support::CanonicalChannel;
  return {CanonicalChannel(Text(ControlId::txtC0)), CanonicalChannel(Text(ControlId::txtC1)),
          CanonicalChannel(Text(ControlId::txtC2))};
}

Channels Soak::ChannelsOnceTheFocusLeaves() const {
  if (FocusedField() != ControlId::txtHex) {
    return FieldChannels();
  }
  std::wstring hex = Text(ControlId::txtHex);
  if (hex.size() < 6) {
    hex.append(6 - hex.size(), L'0');
  }
  return testing_support::PairsOf(hex);
}

}  // namespace pigmentry::soak
