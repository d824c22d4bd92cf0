#include "platform/win32/com_libraries.h"

#include "platform/win32/system_library.h"

namespace pigmentry::platform::win32::com {

namespace {

// One system library, loaded on first use and kept for the life of the
// program.
class Library {
 public:
  explicit Library(const wchar_t* name) : module_(LoadSystemLibrary(name)) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  template <typename Function>
  Function Get(const char* name) const {
    if (module_ == nullptr) {
      return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

const Library& Ole32() {
  static const Library library(L"ole32.dll");
  return library;
}

const Library& OleAut32() {
  static const Library library(L"oleaut32.dll");
  return library;
}

const HRESULT kNotLoaded = HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);

struct ApartmentState {
  bool asked = false;
  HRESULT result = E_FAIL;
};

ApartmentState& Apartment() {
  static ApartmentState state;
  return state;
}

}  // namespace

HRESULT EnterApartment() {
  ApartmentState& state = Apartment();
  if (!state.asked) {
    state.asked = true;
    static const auto initialize = Ole32().Get<decltype(&::CoInitializeEx)>("CoInitializeEx");
    state.result =
        initialize != nullptr ? initialize(nullptr, COINIT_APARTMENTTHREADED) : kNotLoaded;
  }
  return state.result;
}

ApartmentScope::~ApartmentScope() {
  ApartmentState& state = Apartment();
  if (state.asked && SUCCEEDED(state.result)) {
    static const auto uninitialize = Ole32().Get<decltype(&::CoUninitialize)>("CoUninitialize");
    if (uninitialize != nullptr) {
      uninitialize();
    }
  }
  state = {};
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                         void** object) {
  EnterApartment();
  static const auto create = Ole32().Get<decltype(&::CoCreateInstance)>("CoCreateInstance");
  if (create == nullptr) {
    if (object != nullptr) {
      *object = nullptr;
    }
    return kNotLoaded;
  }
  return create(clsid, outer, context, iid, object);
}

HRESULT CoRegisterMessageFilter(IMessageFilter* filter, IMessageFilter** previous) {
  EnterApartment();
  static const auto registerFilter =
      Ole32().Get<decltype(&::CoRegisterMessageFilter)>("CoRegisterMessageFilter");
  if (registerFilter == nullptr) {
    if (previous != nullptr) {
      *previous = nullptr;
    }
    return kNotLoaded;
  }
  return registerFilter(filter, previous);
}

BSTR SysAllocString(const OLECHAR* text) {
  static const auto allocate = OleAut32().Get<decltype(&::SysAllocString)>("SysAllocString");
  return allocate != nullptr ? allocate(text) : nullptr;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  static const auto allocate = OleAut32().Get<decltype(&::SysAllocStringLen)>("SysAllocStringLen");
  return allocate != nullptr ? allocate(text, length) : nullptr;
}

void SysFreeString(BSTR text) {
  if (text == nullptr) {
    return;  // nothing to free: no need to load the library for it
  }
  static const auto free = OleAut32().Get<decltype(&::SysFreeString)>("SysFreeString");
  if (free != nullptr) {
    free(text);
  }
}

UINT SysStringLen(BSTR text) {
  if (text == nullptr) {
    return 0;
  }
  static const auto length = OleAut32().Get<decltype(&::SysStringLen)>("SysStringLen");
  return length != nullptr ? length(text) : 0;
}

void VariantInit(VARIANTARG* value) {
  static const auto initialize = OleAut32().Get<decltype(&::VariantInit)>("VariantInit");
  if (initialize != nullptr) {
    initialize(value);
  } else {
    value->vt = VT_EMPTY;
  }
}

HRESULT VariantClear(VARIANTARG* value) {
  static const auto clear = OleAut32().Get<decltype(&::VariantClear)>("VariantClear");
  return clear != nullptr ? clear(value) : kNotLoaded;
}

HRESULT VariantChangeType(VARIANTARG* destination, VARIANTARG* source, USHORT flags, VARTYPE type) {
  static const auto change = OleAut32().Get<decltype(&::VariantChangeType)>("VariantChangeType");
  return change != nullptr ? change(destination, source, flags, type) : kNotLoaded;
}

}  // namespace pigmentry::platform::win32::com
