#include "platform/win32/accessible_names.h"

// initguid.h makes oleacc.h define its IIDs here: under MinGW the import
// library's IID_IAccessible is a function stub, not the IID's bytes.
#include <initguid.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <array>
#include <utility>

#include "platform/win32/com_libraries.h"
#include "platform/win32/system_library.h"

namespace pigmentry::platform::win32 {
namespace {

using Microsoft::WRL::ComPtr;

struct AccessibleAnnotation {
  ControlId id;
  const wchar_t* name;
  // ROLE_SYSTEM_*, or 0 to keep the role of the standard object.
  long role;
};

constexpr std::array<AccessibleAnnotation, 5> kAnnotations = {{
    {ControlId::txtC0, L"Red", 0},
    {ControlId::txtC1, L"Green", 0},
    {ControlId::txtC2, L"Blue", 0},
    {ControlId::txtHex, L"Hexadecimal colour", 0},
    {ControlId::lblColor, L"Colour swatch", ROLE_SYSTEM_GRAPHIC},
}};

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's standard accessible object of a control, with the name and
// role of the control itself replaced; everything else (value, state,
// location, navigation, default action) is the standard object's.
class AnnotatedAccessible final : public IAccessible, public IOleWindow {
 public:
  AnnotatedAccessible(HWND window, ComPtr<IAccessible> standard,
                      const AccessibleAnnotation& annotation)
      : window_(window), standard_(std::move(standard)), annotation_(annotation) {}
  AnnotatedAccessible(const AnnotatedAccessible&) = delete;
  AnnotatedAccessible& operator=(const AnnotatedAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *object = static_cast<IAccessible*>(this);
    } else if (iid == IID_IOleWindow) {
      *object = static_cast<IOleWindow*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = ::InterlockedDecrement(&references_);
    if (left == 0) {
      delete this;
    }
    return left;
  }

  // IOleWindow: lets WindowFromAccessibleObject find the control.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (window == nullptr) {
      return E_POINTER;
    }
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL /*enterMode*/) override { return E_NOTIMPL; }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
  }

  // IAccessible: the two properties this object exists for.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) {
      return standard_->get_accName(child, name);
    }
    if (name == nullptr) {
      return E_POINTER;
    }
    *name = com::SysAllocString(annotation_.name);
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (annotation_.role == 0 || !IsSelf(child)) {
      return standard_->get_accRole(child, role);
    }
    if (role == nullptr) {
      return E_POINTER;
    }
    com::VariantInit(role);
    role->vt = VT_I4;
    role->lVal = annotation_.role;
    return S_OK;
  }

  // IAccessible: the rest as the standard object has it.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(helpFile, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~AnnotatedAccessible() = default;

  LONG references_ = 1;
  HWND window_;
  ComPtr<IAccessible> standard_;
  const AccessibleAnnotation& annotation_;
};

// oleacc.dll from the system folder, loaded when an assistive tool first
// asks: a start without one does not pay for it.
class Oleacc {
 public:
  static const Oleacc& Get() {
    static const Oleacc oleacc;
    return oleacc;
  }
  [[nodiscard]] bool Loaded() const {
    return createStdAccessibleObject_ != nullptr && lresultFromObject_ != nullptr;
  }
  HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object) const {
    return createStdAccessibleObject_(window, objectId, iid, object);
  }
  LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) const {
    return lresultFromObject_(iid, wParam, object);
  }

 private:
  using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

  Oleacc() : module_(LoadSystemLibrary(L"oleacc.dll")) {
    if (module_ != nullptr) {
      createStdAccessibleObject_ =
          Function<CreateStdAccessibleObjectFn>("CreateStdAccessibleObject");
      lresultFromObject_ = Function<LresultFromObjectFn>("LresultFromObject");
    }
  }
  template <typename Fn>
  Fn Function(const char* name) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
  }

  HMODULE module_;  // kept loaded for the life of the program
  CreateStdAccessibleObjectFn createStdAccessibleObject_ = nullptr;
  LresultFromObjectFn lresultFromObject_ = nullptr;
};

}  // namespace

std::optional<LRESULT> AnnotatedAccessibleObject(HWND control, ControlId id, WPARAM wParam,
                                                 LPARAM lParam) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
    return std::nullopt;
  }
  const AccessibleAnnotation* annotation = nullptr;
  for (const AccessibleAnnotation& each : kAnnotations) {
    if (each.id == id) {
      annotation = &each;
    }
  }
  if (annotation == nullptr) {
    return std::nullopt;
  }
  // The object goes to the tool through COM, from this thread's apartment.
  com::EnterApartment();
  const Oleacc& oleacc = Oleacc::Get();
  ComPtr<IAccessible> standard;
  if (!oleacc.Loaded() ||
      FAILED(oleacc.CreateStdAccessibleObject(control, OBJID_CLIENT, IID_IAccessible,
                                              reinterpret_cast<void**>(standard.GetAddressOf())))) {
    return std::nullopt;
  }
  ComPtr<IAccessible> annotated;
  annotated.Attach(new AnnotatedAccessible(control, std::move(standard), *annotation));
  const LRESULT result = oleacc.LresultFromObject(IID_IAccessible, wParam, annotated.Get());
  if (result < 0) {
    return std::nullopt;
  }
  return result;
}

}  // namespace pigmentry::platform::win32
