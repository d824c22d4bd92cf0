// The registry as the tests read it: the classes' keys of the test prefix.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <string>

namespace pigmentry::e2e {

inline std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

// The default value of HKEY_CLASSES_ROOT\`path` in one registry view, or
// nothing when the key is not there.
inline bool ReadClassesValue(const std::wstring& path, REGSAM view, std::wstring* value = nullptr) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
    return false;
  }
  wchar_t text[MAX_PATH] = {};
  DWORD size = sizeof text;
  const LSTATUS read =
      ::RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  ::RegCloseKey(key);
  if (value != nullptr) {
    *value = read == ERROR_SUCCESS ? text : L"";
  }
  return true;
}

// The local server registered for a class in the 32-bit view, as its
// command line (a quoted path), or nothing.
inline std::wstring RegisteredServer(const GUID& clsid) {
  std::wstring server;
  ReadClassesValue(L"CLSID\\" + GuidText(clsid) + L"\\LocalServer32", KEY_WOW64_32KEY, &server);
  return server;
}

}  // namespace pigmentry::e2e
