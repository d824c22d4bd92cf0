#include "standin/factory.h"

#include "standin/objects.h"

namespace pigmentry::standin {

namespace {

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

}  // namespace

IClassFactory* FactoryOf(const CLSID& clsid) {
  Factory* factory = IsEqualCLSID(clsid, CLSID_ApplicationClass) ? &g_applicationFactory
                     : IsEqualCLSID(clsid, CLSID_ColorClass)     ? &g_colourFactory
                                                                 : nullptr;
  return reinterpret_cast<IClassFactory*>(factory);
}

long ServerLocks() { return g_locks; }

const std::array<ClassEntry, 2>& Classes() {
  static const std::array<ClassEntry, 2> classes = {{
      {&CLSID_ApplicationClass, L"Pigmentry stand-in host application"},
      {&CLSID_ColorClass, L"Pigmentry stand-in host colour"},
  }};
  return classes;
}

std::wstring ClassKey(const CLSID& clsid) {
  wchar_t text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace pigmentry::standin
