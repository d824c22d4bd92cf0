// Small owners for COM's by-hand types.
#pragma once

#include <oaidl.h>
#include <oleauto.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/com_libraries.h"

namespace pigmentry::bridge::com {

// The program's COM calls, from the libraries loaded on first use.
namespace runtime = platform::win32::com;

// COM on this thread as a single-threaded apartment, for the life of the
// scope: for the clients of the tests and benchmarks. The program itself
// enters its apartment on first need (platform/win32/com_libraries.h).
class Apartment {
 public:
  Apartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;
  ~Apartment() {
    if (SUCCEEDED(result_)) {
      CoUninitialize();
    }
  }
  [[nodiscard]] HRESULT Result() const { return result_; }

 private:
  HRESULT result_;
};

// Owns a BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : value_(runtime::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { runtime::SysFreeString(value_); }
  [[nodiscard]] BSTR Get() const { return value_; }
  [[nodiscard]] std::wstring Text() const {
    return value_ != nullptr ? std::wstring(value_, runtime::SysStringLen(value_)) : std::wstring();
  }
  // For an out parameter; frees what the holder had first.
  BSTR* Out() {
    runtime::SysFreeString(value_);
    value_ = nullptr;
    return &value_;
  }

 private:
  BSTR value_ = nullptr;
};

// Owns a VARIANT: cleared when it goes.
class Variant {
 public:
  Variant() { runtime::VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { runtime::VariantClear(&value_); }
  [[nodiscard]] VARIANT& Get() { return value_; }
  [[nodiscard]] const VARIANT& Get() const { return value_; }
  // For an out parameter; clears what the holder had first.
  VARIANT* Out() {
    runtime::VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

// Owns the strings that IDispatch::Invoke may put into an EXCEPINFO.
class ExcepInfo {
 public:
  ExcepInfo() = default;
  ExcepInfo(const ExcepInfo&) = delete;
  ExcepInfo& operator=(const ExcepInfo&) = delete;
  ~ExcepInfo() {
    runtime::SysFreeString(info_.bstrSource);
    runtime::SysFreeString(info_.bstrDescription);
    runtime::SysFreeString(info_.bstrHelpFile);
  }
  [[nodiscard]] EXCEPINFO* Get() { return &info_; }
  // The error the exception stands for.
  [[nodiscard]] HRESULT Code() const {
    if (info_.scode != 0) {
      return info_.scode;
    }
    return info_.wCode != 0 ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, info_.wCode) : E_FAIL;
  }
  [[nodiscard]] const wchar_t* Description() const { return info_.bstrDescription; }

 private:
  EXCEPINFO info_{};
};

}  // namespace pigmentry::bridge::com
