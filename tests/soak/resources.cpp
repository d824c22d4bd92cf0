#include "soak/resources.h"

#include <windows.h>
// psapi.h and winternl.h need the types of windows.h.
#include <psapi.h>
#include <winternl.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdint>

#include "bridge/com/binding.h"

namespace pigmentry::soak {

namespace {

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

std::string Shown(long long count) { return count < 0 ? "n/a" : std::to_string(count); }

}  // namespace

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

std::optional<std::string> LeakWatch::Add(const Resources& r) {
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

}  // namespace pigmentry::soak
