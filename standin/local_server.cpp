// The stand-in host as a local server, as the real host runs: its own
// process, started by COM with -Embedding, serving both classes until the
// last object is released, its drawing window is closed or it is told to
// stop. It registers itself (/RegServer) as a 32-bit installer leaves a
// host: the class keys in the 32-bit registry view and the type library as
// a win32 one.
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <windows.h>

#include <array>
#include <string>

#include "standin/factory.h"
#include "standin/objects.h"
#include "standin/view.h"

namespace pigmentry::standin {

namespace {

// Set by whoever wants a running stand-in to stop (the tests, build.sh).
constexpr const wchar_t* kStopEvent = L"PigmentryStandInStop";
constexpr const wchar_t* kProgId = host_class::kApplicationProgId;
// A client's last call may still be on its way back when its last object
// goes: the process stays this long after revoking its classes.
constexpr DWORD kLingerMilliseconds = 500;

std::array<DWORD, 2> g_cookies = {};
bool g_quitting = false;
DWORD g_quitAt = 0;

void Quit() {
  if (g_quitting) {
    return;
  }
  g_quitting = true;
  g_quitAt = GetTickCount() + kLingerMilliseconds;
  for (DWORD& cookie : g_cookies) {
    if (cookie != 0) {
      CoRevokeClassObject(cookie);
      cookie = 0;
    }
  }
  DisconnectAll();
  CloseDrawingWindow();
}

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
  path.resize(length);
  return path;
}

// The classes' keys under HKEY_CLASSES_ROOT as the 32-bit side sees them.
constexpr REGSAM kView32 = KEY_WOW64_32KEY;

bool RegisterClassKey(const ClassEntry& entry, const std::wstring& server, bool application) {
  Key key;
  Key local;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, ClassKey(*entry.clsid).c_str(), 0, nullptr, 0,
                      KEY_WRITE | kView32, nullptr, key.Out(), nullptr) != ERROR_SUCCESS ||
      SetString(key.Get(), nullptr, entry.name) != ERROR_SUCCESS ||
      RegCreateKeyExW(key.Get(), L"LocalServer32", 0, nullptr, 0, KEY_WRITE | kView32, nullptr,
                      local.Out(), nullptr) != ERROR_SUCCESS ||
      SetString(local.Get(), nullptr, server) != ERROR_SUCCESS) {
    return false;
  }
  if (!application) {
    return true;
  }
  Key progIdOfClass;
  Key progId;
  Key progIdClass;
  wchar_t clsid[40] = {};
  StringFromGUID2(*entry.clsid, clsid, 40);
  return RegCreateKeyExW(key.Get(), L"ProgID", 0, nullptr, 0, KEY_WRITE | kView32, nullptr,
                         progIdOfClass.Out(), nullptr) == ERROR_SUCCESS &&
         SetString(progIdOfClass.Get(), nullptr, kProgId) == ERROR_SUCCESS &&
         RegCreateKeyExW(HKEY_CLASSES_ROOT, kProgId, 0, nullptr, 0, KEY_WRITE | kView32, nullptr,
                         progId.Out(), nullptr) == ERROR_SUCCESS &&
         SetString(progId.Get(), nullptr, entry.name) == ERROR_SUCCESS &&
         RegCreateKeyExW(progId.Get(), L"CLSID", 0, nullptr, 0, KEY_WRITE | kView32, nullptr,
                         progIdClass.Out(), nullptr) == ERROR_SUCCESS &&
         SetString(progIdClass.Get(), nullptr, clsid) == ERROR_SUCCESS;
}

int RegisterServer() {
  const std::wstring server = L"\"" + OwnPath() + L"\"";
  for (const ClassEntry& entry : Classes()) {
    if (!RegisterClassKey(entry, server, entry.clsid == &CLSID_ApplicationClass)) {
      return 1;
    }
  }
  // The library says it is a win32 one (widl --win32): registering it
  // writes TypeLib\{...}\1.0\0\win32 and the interfaces' marshaler keys.
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(TypeLibraryPath().c_str(), REGKIND_REGISTER, &library))) {
    return 2;
  }
  library->Release();
  return 0;
}

// Deletes a key of the 32-bit registry view: from a 64-bit process through
// the view's flag, from a 32-bit one (which may run on Windows XP, without
// RegDeleteKeyExW) as its own view.
void DeleteKey32(const std::wstring& path) {
#if defined(_WIN64)
  RegDeleteKeyExW(HKEY_CLASSES_ROOT, path.c_str(), kView32, 0);
#else
  RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
#endif
}

int UnregisterServer() {
  for (const ClassEntry& entry : Classes()) {
    DeleteKey32(ClassKey(*entry.clsid) + L"\\LocalServer32");
    DeleteKey32(ClassKey(*entry.clsid) + L"\\ProgID");
    DeleteKey32(ClassKey(*entry.clsid));
  }
  DeleteKey32(std::wstring(kProgId) + L"\\CLSID");
  DeleteKey32(kProgId);
  UnRegisterTypeLib(LIBID_PigmentryStandInHost, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
  return 0;
}

// Tells a running stand-in to stop; 0 when one was running.
int StopRunning() {
  HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, kStopEvent);
  if (stop == nullptr) {
    return 1;
  }
  SetEvent(stop);
  CloseHandle(stop);
  return 0;
}

bool PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

int Serve() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    return 1;
  }
  HANDLE stop = CreateEventW(nullptr, FALSE, FALSE, kStopEvent);
  OnLastObjectReleased(&Quit);
  OnDrawingWindowClosed(&Quit);
  const std::array<const CLSID*, 2> classes = {&CLSID_ApplicationClass, &CLSID_ColorClass};
  for (std::size_t i = 0; i < classes.size(); ++i) {
    if (FAILED(CoRegisterClassObject(*classes[i], FactoryOf(*classes[i]), CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE, &g_cookies[i]))) {
      Quit();
    }
  }
  for (;;) {
    DWORD wait = INFINITE;
    if (g_quitting) {
      const auto left = static_cast<LONG>(g_quitAt - GetTickCount());
      if (left <= 0) {
        break;
      }
      wait = static_cast<DWORD>(left);
    }
    const DWORD woken = MsgWaitForMultipleObjects(1, &stop, FALSE, wait, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) {
      Quit();
    }
    if (!PumpMessages()) {
      Quit();
    }
  }
  CloseHandle(stop);
  CoUninitialize();
  return 0;
}

bool Is(const wchar_t* argument, const wchar_t* option) {
  return (argument[0] == L'/' || argument[0] == L'-') && _wcsicmp(argument + 1, option) == 0;
}

}  // namespace

}  // namespace pigmentry::standin

using namespace pigmentry::standin;

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*line*/, int /*show*/) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  int result = 0;
  if (count > 1 && Is(arguments[1], L"RegServer")) {
    result = RegisterServer();
  } else if (count > 1 && Is(arguments[1], L"UnregServer")) {
    result = UnregisterServer();
  } else if (count > 1 && Is(arguments[1], L"Stop")) {
    result = StopRunning();
  } else {
    // -Embedding, as COM starts it; started by hand it serves all the same.
    result = Serve();
  }
  LocalFree(arguments);
  return result;
}
