// The stand-in host's entry points: the class factories of its two classes,
// and its registration as an in-process server.
#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <array>
#include <string>

#include "standin/objects.h"

namespace pigmentry::standin {

namespace {

HMODULE g_module = nullptr;
long g_locks = 0;

struct Factory {
  const void* methods;
  HRESULT (*create)(const IID&, void**);
};

HRESULT STDMETHODCALLTYPE FactoryQueryInterface(Factory* self, const IID& iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *out = self;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// The factories are static: counting their references has no purpose.
ULONG STDMETHODCALLTYPE FactoryAddRef(Factory* /*self*/) { return 2; }
ULONG STDMETHODCALLTYPE FactoryRelease(Factory* /*self*/) { return 1; }

HRESULT STDMETHODCALLTYPE FactoryCreateInstance(Factory* self, IUnknown* outer, const IID& iid,
                                                void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  if (outer != nullptr) {
    return CLASS_E_NOAGGREGATION;
  }
  return self->create(iid, out);
}

HRESULT STDMETHODCALLTYPE FactoryLockServer(Factory* /*self*/, BOOL lock) {
  g_locks += lock != FALSE ? 1 : -1;
  return S_OK;
}

using AnyMethod = void (*)();
const std::array<AnyMethod, 5> kFactoryMethods = {
    reinterpret_cast<AnyMethod>(&FactoryQueryInterface),
    reinterpret_cast<AnyMethod>(&FactoryAddRef), reinterpret_cast<AnyMethod>(&FactoryRelease),
    reinterpret_cast<AnyMethod>(&FactoryCreateInstance),
    reinterpret_cast<AnyMethod>(&FactoryLockServer)};

Factory g_applicationFactory = {kFactoryMethods.data(), &CreateApplication};
Factory g_colourFactory = {kFactoryMethods.data(), &CreateColour};

struct ClassEntry {
  const CLSID* clsid;
  const wchar_t* name;
};
const std::array<ClassEntry, 2> kClasses = {{
    {&kClsidApplication, L"Pigmentry stand-in host application"},
    {&kClsidColour, L"Pigmentry stand-in host colour"},
}};

std::wstring ClassKey(const CLSID& clsid) {
  wchar_t text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

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

HRESULT Register(const ClassEntry& entry, const std::wstring& path) {
  const std::wstring classKey = ClassKey(*entry.clsid);
  Key key;
  Key server;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, classKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                      key.Out(), nullptr) != ERROR_SUCCESS ||
      SetString(key.Get(), nullptr, entry.name) != ERROR_SUCCESS ||
      RegCreateKeyExW(key.Get(), L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, server.Out(),
                      nullptr) != ERROR_SUCCESS ||
      SetString(server.Get(), nullptr, path) != ERROR_SUCCESS ||
      SetString(server.Get(), L"ThreadingModel", L"Apartment") != ERROR_SUCCESS) {
    return SELFREG_E_CLASS;
  }
  return S_OK;
}

}  // namespace

}  // namespace pigmentry::standin

using namespace pigmentry::standin;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  Factory* factory = IsEqualCLSID(clsid, kClsidApplication) ? &g_applicationFactory
                     : IsEqualCLSID(clsid, kClsidColour)    ? &g_colourFactory
                                                            : nullptr;
  if (factory == nullptr) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return FactoryQueryInterface(factory, iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return ObjectsAlive() == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) {
    return SELFREG_E_CLASS;
  }
  for (const ClassEntry& entry : kClasses) {
    if (const HRESULT failed = Register(entry, path); FAILED(failed)) {
      return failed;
    }
  }
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  for (const ClassEntry& entry : kClasses) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(*entry.clsid).c_str());
  }
  return S_OK;
}
