#include "platform/win32/system_library.h"

#include <string>

namespace pigmentry::platform::win32 {

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the headers name only for systems
// newer than the oldest this program runs on.
constexpr DWORD kSearchSystem32 = 0x00000800;

// Looked up at run time: newer than some of the systems this program runs on.
template <typename Function>
Function Kernel32Function(const char* name) {
  const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  if (kernel32 == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(kernel32, name)));
}

std::wstring SystemFolder() {
  const UINT size = ::GetSystemDirectoryW(nullptr, 0);
  if (size == 0) {
    return {};
  }
  std::wstring folder(size, L'\0');
  const UINT length = ::GetSystemDirectoryW(folder.data(), size);
  if (length == 0 || length >= size) {
    return {};
  }
  folder.resize(length);
  return folder;
}

}  // namespace

void KeepDllSearchInSystemFolder() {
  // Where either is missing or refuses, the search stays the system's
  // default: the program's own loads go by full path all the same.
  // Windows 8 on, and Vista and 7 with update KB2533623: the system folder
  // alone, without the program's folder.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (const auto setDefaultDllDirectories =
          Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
      setDefaultDllDirectories != nullptr) {
    setDefaultDllDirectories(kSearchSystem32);
  }
  // Windows XP SP1 on: an empty folder takes the current directory out.
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
  if (const auto setDllDirectory = Kernel32Function<SetDllDirectoryFn>("SetDllDirectoryW");
      setDllDirectory != nullptr) {
    setDllDirectory(L"");
  }
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  const std::wstring folder = SystemFolder();
  if (folder.empty()) {
    return nullptr;
  }
  const std::wstring path = folder + L"\\" + name;
  // The altered search starts from the folder of the DLL being loaded.
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace pigmentry::platform::win32
