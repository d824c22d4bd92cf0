// GoogleTest's Notification is written with std::mutex and
// std::condition_variable, which the C++ runtime of MinGW's win32 threads
// flavour does not have. Force-included before GoogleTest in the Windows
// build, this gives it the same class on a Win32 event; GoogleTest then
// takes it as already provided.
#pragma once

#include <cstddef>

#if defined(__MINGW32__) && !defined(_GLIBCXX_HAS_GTHREADS)
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() { ::CloseHandle(event_); }

  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
#endif
