#include "bridge/com/com_host.h"

#include <oaidl.h>
#include <objbase.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bridge/com/binding.h"
#include "bridge/com/com_support.h"
#include "bridge/com/input_hold.h"
#include "bridge/com/message_filter.h"

namespace pigmentry::bridge {

namespace {

using com::CallSlot;
using com::ExcepInfo;
using com::Variant;
using namespace com::binding;
using Microsoft::WRL::ComPtr;

long g_nameLookups = 0;

std::wstring ErrorText(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length != 0 && buffer != nullptr) {
    text.assign(buffer, length);
  }
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) {
    text = L"Unknown error";
  }
  return text;
}

// How long a busy host is asked again before the click gives up, and how
// long between two tries: as long as COM itself asks again for the message
// filter, when the refusal comes from COM and not from the host's method.
constexpr DWORD kBusyMilliseconds = com::MessageFilter::kRetryForMilliseconds;
constexpr DWORD kRetryMilliseconds = com::MessageFilter::kRetryEveryMilliseconds;

// Calls `call` until it is not refused by a busy host, for a bounded time;
// its last result. A refused call has not been carried out, so asking
// again is safe.
template <typename Call>
HRESULT Retried(Call call) {
  HRESULT code = call();
  const DWORD start = GetTickCount();
  while (IsHostBusy(code) && GetTickCount() - start < kBusyMilliseconds) {
    com::WaitDispatching(kRetryMilliseconds);
    code = call();
  }
  return code;
}

void Check(HRESULT code, Operation operation) {
  if (FAILED(code)) {
    throw HostFailure(operation, code, ErrorText(code));
  }
}

// The interface `iid` of what a call gave back; a call that succeeded but
// gave nothing counts as failed.
ComPtr<IDispatch> As(IUnknown* object, const IID& iid, Operation operation) {
  if (object == nullptr) {
    Check(E_POINTER, operation);
  }
  ComPtr<IDispatch> result;
  Check(object->QueryInterface(iid, reinterpret_cast<void**>(result.GetAddressOf())), operation);
  return result;
}

// A number a by-name call gave back. A VARIANT with no value would convert
// to 0 (no uniform fill, no outline), and an object would be asked for its
// default value, null or not: such an answer is a failure, not a number.
std::int32_t LongOf(Variant& value, Operation operation) {
  const VARTYPE type = value.Get().vt;
  if (type == VT_EMPTY || type == VT_DISPATCH || type == VT_UNKNOWN) {
    Check(DISP_E_TYPEMISMATCH, operation);
  }
  Check(VariantChangeType(&value.Get(), &value.Get(), 0, VT_I4), operation);
  return value.Get().lVal;
}

// Names called through IDispatch, each looked up once per interface for the
// life of the program: the DISPIDs of an interface do not change.
class NameCache {
 public:
  DISPID Id(IDispatch* object, const IID& iid, const wchar_t* name, Operation operation) {
    for (const Entry& entry : entries_) {
      if (IsEqualIID(*entry.iid, iid) && entry.name == name) {
        return entry.id;
      }
    }
    auto* names = const_cast<LPOLESTR>(name);
    DISPID id = DISPID_UNKNOWN;
    ++g_nameLookups;
    Check(Retried(
              [&] { return object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id); }),
          operation);
    entries_.push_back({&iid, name, id});
    return id;
  }

 private:
  struct Entry {
    const IID* iid;
    std::wstring name;
    DISPID id;
  };
  std::vector<Entry> entries_;
};

NameCache& Names() {
  static NameCache cache;
  return cache;
}

void Invoke(IDispatch* object, DISPID id, WORD flags, DISPPARAMS& params, Variant* result,
            Operation operation) {
  ExcepInfo exception;
  UINT argumentError = 0;
  const HRESULT code = Retried([&] {
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                          result != nullptr ? result->Out() : nullptr, exception.Get(),
                          &argumentError);
  });
  if (code == DISP_E_EXCEPTION) {
    const HRESULT inner = exception.Code();
    throw HostFailure(
        operation, inner,
        exception.Description() != nullptr ? exception.Description() : ErrorText(inner));
  }
  Check(code, operation);
}

// A property read by name through IDispatch.
void GetByName(IDispatch* object, const IID& iid, const wchar_t* name, Operation operation,
               Variant& result) {
  DISPPARAMS none{};
  Invoke(object, Names().Id(object, iid, name, operation), DISPATCH_PROPERTYGET, none, &result,
         operation);
}

std::int32_t GetLongByName(IDispatch* object, const IID& iid, const wchar_t* name,
                           Operation operation) {
  Variant value;
  GetByName(object, iid, name, operation, value);
  return LongOf(value, operation);
}

// The object a by-name call gave back, used by name in turn: its IDispatch
// as given. No QueryInterface for the binding's own interface, which would
// be one more round trip to a host in another process.
ComPtr<IDispatch> DispatchOf(const Variant& value, Operation operation) {
  const VARIANT& v = value.Get();
  if (v.vt == VT_DISPATCH && v.pdispVal != nullptr) {
    return {v.pdispVal};
  }
  if (v.vt == VT_UNKNOWN) {
    return As(v.punkVal, IID_IDispatch, operation);
  }
  throw HostFailure(operation, DISP_E_TYPEMISMATCH, ErrorText(DISP_E_TYPEMISMATCH));
}

// A property read by name that gives an object, itself used by name (or
// passed to a method that takes an IDispatch).
ComPtr<IDispatch> GetObjectByName(IDispatch* object, const IID& iid, const wchar_t* name,
                                  Operation operation) {
  Variant value;
  GetByName(object, iid, name, operation, value);
  return DispatchOf(value, operation);
}

// A property read through its slot: the method gives an interface pointer.
ComPtr<IDispatch> GetObjectBySlot(IDispatch* object, int index, Operation operation) {
  ComPtr<IDispatch> result;
  Check(Retried([&] { return CallSlot(object, index, result.GetAddressOf()); }), operation);
  if (!result) {
    Check(E_POINTER, operation);
  }
  return result;
}

std::int32_t GetLongBySlot(IDispatch* object, int index, Operation operation) {
  LONG value = 0;
  Check(Retried([&] { return CallSlot(object, index, &value); }), operation);
  return value;
}

class ComColour final : public Colour {
 public:
  explicit ComColour(ComPtr<IDispatch> colour) : colour_(std::move(colour)) {}
  std::int32_t Model() override {
    return GetLongBySlot(colour_.Get(), slot::kColourModel, Operation::ModelCode);
  }
  void ToRGB() override {
    Check(Retried([&] { return CallSlot(colour_.Get(), slot::kColourToRGB); }), Operation::ToRGB);
  }
  void AssignRGB(std::int32_t red, std::int32_t green, std::int32_t blue) override {
    Check(Retried([&] {
            return CallSlot(colour_.Get(), slot::kColourAssignRGB, LONG{red}, LONG{green},
                            LONG{blue});
          }),
          Operation::AssignRGB);
  }
  std::int32_t Red() override {
    return GetLongBySlot(colour_.Get(), slot::kColourRed, Operation::Red);
  }
  std::int32_t Green() override {
    return GetLongBySlot(colour_.Get(), slot::kColourGreen, Operation::Green);
  }
  std::int32_t Blue() override {
    return GetLongBySlot(colour_.Get(), slot::kColourBlue, Operation::Blue);
  }
  void CopyFrom(Colour& source) override {
    Check(Retried([&] { return CallSlot(colour_.Get(), slot::kColourCopyFrom, Of(source).Get()); }),
          Operation::CopyFrom);
  }
  void ConvertTo(ColourModel model) override {
    Check(Retried([&] { return CallSlot(colour_.Get(), ConvertSlot(model)); }),
          Operation::ConvertToModel);
  }
  void CopyAssign(Colour& source) override {
    // The colour goes by reference, as a late-bound client passes an object.
    IDispatch* pointer = Of(source).Get();
    VARIANTARG argument;
    VariantInit(&argument);
    argument.vt = VT_BYREF | VT_DISPATCH;
    argument.ppdispVal = &pointer;
    DISPPARAMS params{&argument, nullptr, 1, 0};
    Invoke(colour_.Get(),
           Names().Id(colour_.Get(), kIidColour, L"CopyAssign", Operation::CopyAssign),
           DISPATCH_METHOD, params, nullptr, Operation::CopyAssign);
  }

 private:
  static const ComPtr<IDispatch>& Of(Colour& colour) {
    return static_cast<ComColour&>(colour).colour_;
  }

  ComPtr<IDispatch> colour_;
};

class ComFill final : public Fill {
 public:
  explicit ComFill(ComPtr<IDispatch> fill) : fill_(std::move(fill)) {}
  std::int32_t Type(Via via) override {
    if (via == Via::Slot) {
      return GetLongBySlot(fill_.Get(), slot::kFillType, Operation::FillType);
    }
    return GetLongByName(fill_.Get(), kIidFill, L"Type", Operation::FillType);
  }
  std::unique_ptr<Colour> UniformColor(Via via) override {
    if (via == Via::Slot) {
      return std::make_unique<ComColour>(
          GetObjectBySlot(fill_.Get(), slot::kFillUniformColor, Operation::FillColour));
    }
    return std::make_unique<ComColour>(
        GetObjectByName(fill_.Get(), kIidFill, L"UniformColor", Operation::FillColour));
  }

 private:
  ComPtr<IDispatch> fill_;
};

class ComOutline final : public Outline {
 public:
  explicit ComOutline(ComPtr<IDispatch> outline) : outline_(std::move(outline)) {}
  std::int32_t Type(Via via) override {
    if (via == Via::Slot) {
      return GetLongBySlot(outline_.Get(), slot::kOutlineType, Operation::OutlineType);
    }
    return GetLongByName(outline_.Get(), kIidOutline, L"Type", Operation::OutlineType);
  }
  std::unique_ptr<Colour> Color(Via via) override {
    if (via == Via::Slot) {
      return std::make_unique<ComColour>(
          GetObjectBySlot(outline_.Get(), slot::kOutlineColor, Operation::OutlineColour));
    }
    return std::make_unique<ComColour>(
        GetObjectByName(outline_.Get(), kIidOutline, L"Color", Operation::OutlineColour));
  }

 private:
  ComPtr<IDispatch> outline_;
};

class ComShape final : public Shape {
 public:
  explicit ComShape(ComPtr<IDispatch> shape) : shape_(std::move(shape)) {}
  std::unique_ptr<bridge::Fill> Fill(Via via) override {
    if (via == Via::Slot) {
      return std::make_unique<ComFill>(
          GetObjectBySlot(shape_.Get(), slot::kShapeFill, Operation::Fill));
    }
    return std::make_unique<ComFill>(
        GetObjectByName(shape_.Get(), kIidShape, L"Fill", Operation::Fill));
  }
  std::unique_ptr<bridge::Outline> Outline(Via via) override {
    if (via == Via::Slot) {
      return std::make_unique<ComOutline>(
          GetObjectBySlot(shape_.Get(), slot::kShapeOutline, Operation::Outline));
    }
    return std::make_unique<ComOutline>(
        GetObjectByName(shape_.Get(), kIidShape, L"Outline", Operation::Outline));
  }

 private:
  ComPtr<IDispatch> shape_;
};

class ComEnumerator final : public ShapeEnumerator {
 public:
  explicit ComEnumerator(ComPtr<IEnumVARIANT> shapes) : shapes_(std::move(shapes)) {}
  std::unique_ptr<Shape> Next() override {
    Variant shape;
    ULONG fetched = 0;
    const HRESULT code = Retried([&] { return shapes_->Next(1, shape.Out(), &fetched); });
    Check(code, Operation::Enumerate);
    if (code == S_FALSE || fetched == 0) {
      return nullptr;
    }
    // The shapes of a Set are used by name only.
    return std::make_unique<ComShape>(DispatchOf(shape, Operation::Enumerate));
  }

 private:
  ComPtr<IEnumVARIANT> shapes_;
};

class ComShapes final : public ShapeCollection {
 public:
  explicit ComShapes(ComPtr<IDispatch> shapes) : shapes_(std::move(shapes)) {}
  std::int32_t Count() override {
    return GetLongBySlot(shapes_.Get(), slot::kShapesCount, Operation::Count);
  }
  std::unique_ptr<Shape> Item(std::int16_t position) override {
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I2;
    index.iVal = position;
    ComPtr<IDispatch> shape;
    Check(Retried([&] {
            return CallSlot(shapes_.Get(), slot::kShapesItem, index, shape.GetAddressOf());
          }),
          Operation::Item);
    if (!shape) {
      Check(E_POINTER, Operation::Item);
    }
    return std::make_unique<ComShape>(std::move(shape));
  }
  std::unique_ptr<ShapeEnumerator> Enumerate() override {
    DISPPARAMS none{};
    Variant enumerator;
    Invoke(shapes_.Get(), DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none, &enumerator,
           Operation::Enumerate);
    IUnknown* unknown = enumerator.Get().vt == VT_UNKNOWN    ? enumerator.Get().punkVal
                        : enumerator.Get().vt == VT_DISPATCH ? enumerator.Get().pdispVal
                                                             : nullptr;
    if (unknown == nullptr) {
      Check(DISP_E_TYPEMISMATCH, Operation::Enumerate);
    }
    ComPtr<IEnumVARIANT> shapes;
    Check(unknown->QueryInterface(kIidEnumVariant, reinterpret_cast<void**>(shapes.GetAddressOf())),
          Operation::Enumerate);
    return std::make_unique<ComEnumerator>(std::move(shapes));
  }

 private:
  ComPtr<IDispatch> shapes_;
};

class ComApplication final : public Application {
 public:
  explicit ComApplication(ComPtr<IDispatch> application) : application_(std::move(application)) {}
  void SetSwitch(bool on) override {
    const VARIANT_BOOL value = on ? VARIANT_TRUE : VARIANT_FALSE;
    Check(Retried([&] { return CallSlot(application_.Get(), slot::kApplicationSwitch, value); }),
          Operation::ApplicationSwitch);
  }
  std::unique_ptr<ShapeCollection> Selection() override {
    const ComPtr<IDispatch> selection =
        GetObjectBySlot(application_.Get(), slot::kSelection, Operation::GetSelection);
    return std::make_unique<ComShapes>(As(selection.Get(), kIidShapes, Operation::GetSelection));
  }

 private:
  ComPtr<IDispatch> application_;
};

ComPtr<IDispatch> Create(const CLSID& clsid, const IID& iid, Operation operation) {
  ComPtr<IDispatch> object;
  Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, iid,
                         reinterpret_cast<void**>(object.GetAddressOf())),
        operation);
  if (!object) {
    Check(E_POINTER, operation);
  }
  return object;
}

class ComHost final : public Host {
 public:
  ComHost() = default;
  ComHost(const ComHost&) = delete;
  ComHost& operator=(const ComHost&) = delete;
  ~ComHost() override { LetGoOfApplication(); }

  std::unique_ptr<Colour> NewColour() override {
    return std::make_unique<ComColour>(Create(kClsidColour, kIidColour, Operation::NewColour));
  }
  std::unique_ptr<HostObject> HoldInput(std::intptr_t window) override {
    return std::make_unique<com::InputHold>(reinterpret_cast<HWND>(window));
  }

 protected:
  std::unique_ptr<Application> CreateApplication() override {
    return std::make_unique<ComApplication>(
        Create(kClsidApplication, kIidApplication, Operation::CreateApplication));
  }

 private:
  // Asks a host that refuses calls again, for a while, instead of failing.
  com::MessageFilterScope filter_;
};

}  // namespace

std::unique_ptr<Host> MakeComHost() { return std::make_unique<ComHost>(); }

long ComNameLookups() { return g_nameLookups; }

}  // namespace pigmentry::bridge
