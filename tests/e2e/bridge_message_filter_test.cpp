// The message filter the bridge registers before its first host call: COM
// takes it on a thread of a single-threaded apartment, as the window's, and
// refuses it on a thread of the multithreaded one, where the program goes on
// without it.
#include <objbase.h>
#include <windows.h>
// The SDK headers first: the others build on them.
#include <gtest/gtest.h>

#include "bridge/com/message_filter.h"
#include "platform/win32/com_libraries.h"

namespace pigmentry::bridge::com {
namespace {

// Whether the filter is installed on a new thread of the multithreaded
// apartment; the thread's answer is written to `installed` (a bool).
DWORD WINAPI FilterInTheMultithreadedApartment(LPVOID installed) {
  const HRESULT entered = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    const MessageFilterScope filter;
    *static_cast<bool*>(installed) = filter.Installed();
  }
  if (SUCCEEDED(entered)) {
    ::CoUninitialize();
  }
  return 0;
}

TEST(MessageFilter, IsInstalledInASingleThreadedApartmentOnly) {
  // This thread's apartment, entered and left as the program does.
  const platform::win32::com::ApartmentScope apartment;
  ASSERT_TRUE(SUCCEEDED(platform::win32::com::EnterApartment()));
  {
    const MessageFilterScope filter;
    EXPECT_TRUE(filter.Installed());
  }
  bool installedInTheMultithreadedApartment = true;
  HANDLE other = ::CreateThread(nullptr, 0, &FilterInTheMultithreadedApartment,
                                &installedInTheMultithreadedApartment, 0, nullptr);
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(::WaitForSingleObject(other, INFINITE), WAIT_OBJECT_0);
  ::CloseHandle(other);
  EXPECT_FALSE(installedInTheMultithreadedApartment);
}

}  // namespace
}  // namespace pigmentry::bridge::com
