// The resource counts of the program's process, read from outside as the
// system gives them, and the watch for a count that keeps growing. Under
// Wine the handles grow with the objects a program gets from another
// process: what Wine keeps for each is measured here, so that the program's
// own handles can be told apart.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pigmentry::soak {

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

// The counts of a process opened for query and reading; the host objects
// are the caller's to fill in.
Resources ResourcesOf(HANDLE process);
std::string Describe(const Resources& r);

// Wine keeps at least one handle for every object that came from another
// process, also once the object has been let go, whoever the client is. So
// the handles of a program that talks to its host for hours grow with the
// host objects it got; what this Wine keeps for each is measured here in a
// client with nothing else, which asks the host for its selection again and
// again and lets each go at once. 0 where that cannot be measured.
double WineHandlesPerHostObject();

// A count keeps growing when it rose at each of the last kRises samples by
// more than its slack in all: the start-up samples settle caches and pools.
class LeakWatch {
 public:
  // The name of a count that keeps growing, or nothing.
  std::optional<std::string> Add(const Resources& r);

 private:
  static constexpr std::size_t kRises = 5;
  std::vector<Resources> samples_;
};

}  // namespace pigmentry::soak
