// A DLL planted beside the program under a system DLL's name (oleacc.dll):
// if the program ever loads it, it leaves a file beside itself to say so,
// then refuses to stay loaded.
#include <windows.h>

#include <string>

namespace {

void LeaveEvidence(HINSTANCE self) {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(self, path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return;
  }
  path.resize(length);
  path += L".loaded";
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    ::CloseHandle(file);
  }
}

}  // namespace

// The parameters keep the names the SDK declares them with.
BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID /*lpvReserved*/) {
  if (fdwReason == DLL_PROCESS_ATTACH) {
    LeaveEvidence(hinstDLL);
    return FALSE;
  }
  return TRUE;
}
