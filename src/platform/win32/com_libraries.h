// The COM functions the program calls, from ole32.dll and oleaut32.dll
// loaded the first time one of them is called, and this thread's
// single-threaded apartment, entered before the first call that needs it.
// A start that never reaches CorelDRAW and meets no assistive tool loads
// neither library: under Wine the two and what they import cost about as
// much as a tenth of the whole start.
#pragma once

#include <oaidl.h>
#include <objbase.h>
#include <windows.h>

namespace pigmentry::platform::win32::com {

// Enters the single-threaded apartment on the calling thread, the user
// interface thread, once; the result of that first entry.
HRESULT EnterApartment();

// Leaves the apartment at the end of its scope if it was entered by then.
class ApartmentScope {
 public:
  ApartmentScope() = default;
  ApartmentScope(const ApartmentScope&) = delete;
  ApartmentScope& operator=(const ApartmentScope&) = delete;
  ~ApartmentScope();
};

// As the system's functions of the same names; those that need the
// apartment enter it first. A library that cannot be loaded makes each
// call fail as the function reports a failure (an error code, no string).
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);
HRESULT CoRegisterMessageFilter(IMessageFilter* filter, IMessageFilter** previous);
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
void VariantInit(VARIANTARG* value);
HRESULT VariantClear(VARIANTARG* value);
HRESULT VariantChangeType(VARIANTARG* destination, VARIANTARG* source, USHORT flags, VARTYPE type);

}  // namespace pigmentry::platform::win32::com
