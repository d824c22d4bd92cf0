#include "bridge/com/com_host.h"

#include <oaidl.h>
#include <objbase.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bridge/com/binding.h"
#include "bridge/com/com_support.h"
#include "bridge/com/input_hold.h"
#include "bridge/com/message_filter.h"

namespace pigmentry::bridge {

namespace {

using com::ExcepInfo;
using com::Variant;
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
  Check(com::runtime::VariantChangeType(&value.Get(), &value.Get(), 0, VT_I4), operation);
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

// A property read through the host's interface: the method gives an
// interface pointer.
template <typename Interface, typename Get>
ComPtr<Interface> GetObjectTyped(Get get, Operation operation) {
  ComPtr<Interface> result;
  Check(Retried([&] { return get(result.ReleaseAndGetAddressOf()); }), operation);
  if (!result) {
    Check(E_POINTER, operation);
  }
  return result;
}

template <typename Get>
std::int32_t GetLongTyped(Get get, Operation operation) {
  LONG value = 0;
  Check(Retried([&] { return get(&value); }), operation);
  return value;
}

// A host object, reached through its interface (when it came from a method
// of the host's interfaces) or through IDispatch alone (when it came from a
// call by name, whose result is not asked for the interface: that would be
// one more round trip to a host in another process).
template <typename Interface>
class HostRef {
 public:
  HostRef(ComPtr<Interface> typed, const IID& iid)
      : dispatch_(typed.Get()), typed_(std::move(typed)), iid_(&iid) {}
  HostRef(ComPtr<IDispatch> dispatch, const IID& iid)
      : dispatch_(std::move(dispatch)), iid_(&iid) {}

  [[nodiscard]] IDispatch* Dispatch() const { return dispatch_.Get(); }
  [[nodiscard]] const IID& Iid() const { return *iid_; }
  // The interface, asked for once if the object came by name.
  Interface& Typed(Operation operation) {
    if (!typed_) {
      ComPtr<Interface> typed;
      Check(dispatch_->QueryInterface(*iid_, reinterpret_cast<void**>(typed.GetAddressOf())),
            operation);
      if (!typed) {
        Check(E_POINTER, operation);
      }
      typed_ = std::move(typed);
    }
    return *typed_.Get();
  }

 private:
  ComPtr<IDispatch> dispatch_;
  ComPtr<Interface> typed_;
  const IID* iid_;
};

class ComColour final : public Colour {
 public:
  explicit ComColour(ComPtr<IColor> colour) : colour_(std::move(colour), IID_IColor) {}
  explicit ComColour(ComPtr<IDispatch> colour) : colour_(std::move(colour), IID_IColor) {}
  std::int32_t Model() override {
    IColor& colour = colour_.Typed(Operation::ModelCode);
    return GetLongTyped([&](LONG* model) { return colour.get_Type(model); }, Operation::ModelCode);
  }
  void ToRGB() override {
    IColor& colour = colour_.Typed(Operation::ToRGB);
    Check(Retried([&] { return colour.ConvertToRGB(); }), Operation::ToRGB);
  }
  void AssignRGB(std::int32_t red, std::int32_t green, std::int32_t blue) override {
    IColor& colour = colour_.Typed(Operation::AssignRGB);
    Check(Retried([&] { return colour.RGBAssign(red, green, blue); }), Operation::AssignRGB);
  }
  std::int32_t Red() override {
    IColor& colour = colour_.Typed(Operation::Red);
    return GetLongTyped([&](LONG* red) { return colour.get_RGBRed(red); }, Operation::Red);
  }
  std::int32_t Green() override {
    IColor& colour = colour_.Typed(Operation::Green);
    return GetLongTyped([&](LONG* green) { return colour.get_RGBGreen(green); }, Operation::Green);
  }
  std::int32_t Blue() override {
    IColor& colour = colour_.Typed(Operation::Blue);
    return GetLongTyped([&](LONG* blue) { return colour.get_RGBBlue(blue); }, Operation::Blue);
  }
  void CopyFrom(Colour& source) override {
    IColor& colour = colour_.Typed(Operation::CopyFrom);
    IDispatch* from = Of(source).Dispatch();
    Check(Retried([&] { return colour.CopyFrom(from); }), Operation::CopyFrom);
  }
  void ConvertTo(ColourModel model) override {
    IColor& colour = colour_.Typed(Operation::ConvertToModel);
    Check(Retried([&] { return com::binding::ConvertTo(colour, model); }),
          Operation::ConvertToModel);
  }
  void CopyAssign(Colour& source) override {
    // The colour goes by reference, as a late-bound client passes an object.
    IDispatch* pointer = Of(source).Dispatch();
    VARIANTARG argument;
    com::runtime::VariantInit(&argument);
    argument.vt = VT_BYREF | VT_DISPATCH;
    argument.ppdispVal = &pointer;
    DISPPARAMS params{&argument, nullptr, 1, 0};
    IDispatch* colour = colour_.Dispatch();
    Invoke(colour,
           Names().Id(colour, colour_.Iid(), host_member::kCopyAssign, Operation::CopyAssign),
           DISPATCH_METHOD, params, nullptr, Operation::CopyAssign);
  }

 private:
  static const HostRef<IColor>& Of(Colour& colour) {
    return static_cast<ComColour&>(colour).colour_;
  }

  HostRef<IColor> colour_;
};

class ComFill final : public Fill {
 public:
  template <typename Pointer>
  explicit ComFill(Pointer fill) : fill_(std::move(fill), IID_IFill) {}
  std::int32_t Type(Via via) override {
    if (via == Via::Slot) {
      IFill& fill = fill_.Typed(Operation::FillType);
      return GetLongTyped([&](LONG* type) { return fill.get_Type(type); }, Operation::FillType);
    }
    return GetLongByName(fill_.Dispatch(), fill_.Iid(), host_member::kType, Operation::FillType);
  }
  std::unique_ptr<Colour> UniformColor(Via via) override {
    if (via == Via::Slot) {
      IFill& fill = fill_.Typed(Operation::FillColour);
      return std::make_unique<ComColour>(GetObjectTyped<IColor>(
          [&](IColor** colour) { return fill.get_UniformColor(colour); }, Operation::FillColour));
    }
    return std::make_unique<ComColour>(GetObjectByName(
        fill_.Dispatch(), fill_.Iid(), host_member::kUniformColor, Operation::FillColour));
  }

 private:
  HostRef<IFill> fill_;
};

class ComOutline final : public Outline {
 public:
  template <typename Pointer>
  explicit ComOutline(Pointer outline) : outline_(std::move(outline), IID_IOutline) {}
  std::int32_t Type(Via via) override {
    if (via == Via::Slot) {
      IOutline& outline = outline_.Typed(Operation::OutlineType);
      return GetLongTyped([&](LONG* type) { return outline.get_Type(type); },
                          Operation::OutlineType);
    }
    return GetLongByName(outline_.Dispatch(), outline_.Iid(), host_member::kType,
                         Operation::OutlineType);
  }
  std::unique_ptr<Colour> Color(Via via) override {
    if (via == Via::Slot) {
      IOutline& outline = outline_.Typed(Operation::OutlineColour);
      return std::make_unique<ComColour>(GetObjectTyped<IColor>(
          [&](IColor** colour) { return outline.get_Color(colour); }, Operation::OutlineColour));
    }
    return std::make_unique<ComColour>(GetObjectByName(
        outline_.Dispatch(), outline_.Iid(), host_member::kColor, Operation::OutlineColour));
  }

 private:
  HostRef<IOutline> outline_;
};

class ComShape final : public Shape {
 public:
  template <typename Pointer>
  explicit ComShape(Pointer shape) : shape_(std::move(shape), IID_IShape) {}
  std::unique_ptr<bridge::Fill> Fill(Via via) override {
    if (via == Via::Slot) {
      IShape& shape = shape_.Typed(Operation::Fill);
      return std::make_unique<ComFill>(GetObjectTyped<IFill>(
          [&](IFill** fill) { return shape.get_Fill(fill); }, Operation::Fill));
    }
    return std::make_unique<ComFill>(
        GetObjectByName(shape_.Dispatch(), shape_.Iid(), host_member::kFill, Operation::Fill));
  }
  std::unique_ptr<bridge::Outline> Outline(Via via) override {
    if (via == Via::Slot) {
      IShape& shape = shape_.Typed(Operation::Outline);
      return std::make_unique<ComOutline>(GetObjectTyped<IOutline>(
          [&](IOutline** outline) { return shape.get_Outline(outline); }, Operation::Outline));
    }
    return std::make_unique<ComOutline>(GetObjectByName(shape_.Dispatch(), shape_.Iid(),
                                                        host_member::kOutline, Operation::Outline));
  }

 private:
  HostRef<IShape> shape_;
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
  explicit ComShapes(ComPtr<IShapes> shapes) : shapes_(std::move(shapes)) {}
  std::int32_t Count() override {
    return GetLongTyped([&](LONG* count) { return shapes_->get_Count(count); }, Operation::Count);
  }
  std::unique_ptr<Shape> Item(std::int16_t position) override {
    VARIANT index;
    com::runtime::VariantInit(&index);
    index.vt = VT_I2;
    index.iVal = position;
    return std::make_unique<ComShape>(GetObjectTyped<IShape>(
        [&](IShape** shape) { return shapes_->Item(index, shape); }, Operation::Item));
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
    Check(
        unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(shapes.GetAddressOf())),
        Operation::Enumerate);
    return std::make_unique<ComEnumerator>(std::move(shapes));
  }

 private:
  ComPtr<IShapes> shapes_;
};

class ComApplication final : public Application {
 public:
  explicit ComApplication(ComPtr<IApplication> application)
      : application_(std::move(application)) {}
  void SetSwitch(bool on) override {
    const VARIANT_BOOL value = on ? VARIANT_TRUE : VARIANT_FALSE;
    Check(Retried([&] { return application_->put_Switch(value); }), Operation::ApplicationSwitch);
  }
  std::unique_ptr<ShapeCollection> Selection() override {
    const ComPtr<IShapes> selection = GetObjectTyped<IShapes>(
        [&](IShapes** shapes) { return application_->get_Selection(shapes); },
        Operation::GetSelection);
    // Used through the collection interface, asked for as the host's
    // binding says.
    ComPtr<IShapes> shapes;
    Check(selection->QueryInterface(IID_IShapes, reinterpret_cast<void**>(shapes.GetAddressOf())),
          Operation::GetSelection);
    if (!shapes) {
      Check(E_POINTER, Operation::GetSelection);
    }
    return std::make_unique<ComShapes>(std::move(shapes));
  }

 private:
  ComPtr<IApplication> application_;
};

template <typename Interface>
ComPtr<Interface> Create(const CLSID& clsid, const IID& iid, Operation operation) {
  ComPtr<Interface> object;
  Check(com::runtime::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                       iid, reinterpret_cast<void**>(object.GetAddressOf())),
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
    RegisterFilter();
    return std::make_unique<ComColour>(
        Create<IColor>(CLSID_ColorClass, IID_IColor, Operation::NewColour));
  }
  std::unique_ptr<HostObject> HoldInput(std::intptr_t window) override {
    return std::make_unique<com::InputHold>(reinterpret_cast<HWND>(window));
  }

 protected:
  std::unique_ptr<Application> CreateApplication() override {
    RegisterFilter();
    return std::make_unique<ComApplication>(Create<IApplication>(
        CLSID_ApplicationClass, IID_IApplication, Operation::CreateApplication));
  }

 private:
  // From the first call to the host on, not at start: registering it
  // loads COM, which a start that never reaches the host does without.
  // Tried once: what makes COM refuse it (see MessageFilterScope) lasts,
  // and without it Retried still asks a busy host again.
  void RegisterFilter() {
    if (!filter_) {
      filter_.emplace();
    }
  }

  // Asks a host that refuses calls again, for a while, instead of failing.
  std::optional<com::MessageFilterScope> filter_;
};

}  // namespace

std::unique_ptr<Host> MakeComHost() { return std::make_unique<ComHost>(); }

long ComNameLookups() { return g_nameLookups; }

}  // namespace pigmentry::bridge
