// The class factories of the stand-in host's two classes and the registry
// entries both of its servers (the in-process DLL and the local server EXE)
// write.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <array>
#include <string>

namespace pigmentry::standin {

// The factory of a class of this host, or nullptr.
IClassFactory* FactoryOf(const CLSID& clsid);
// Class objects locked by clients (IClassFactory::LockServer).
long ServerLocks();

struct ClassEntry {
  const CLSID* clsid;
  const wchar_t* name;
};
const std::array<ClassEntry, 2>& Classes();

// "CLSID\{...}".
std::wstring ClassKey(const CLSID& clsid);

// Owns a registry key.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  HKEY* Out() { return &key_; }
  [[nodiscard]] HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value);

}  // namespace pigmentry::standin
