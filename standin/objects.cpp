#include "standin/objects.h"

#include <host_interfaces_unused.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "standin/host_state.h"
#include "standin/view.h"

namespace pigmentry::standin {

namespace cm = colour_models;
using Microsoft::WRL::ComPtr;

std::wstring TypeLibraryPath() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path.resize(path.find_last_of(L'\\') + 1);
  return path + L"pigmentry_binding.tlb";
}

namespace {

// --- The type library ----------------------------------------------------------

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; text != nullptr && *text != 0; ++text) {
    narrow += *text < 128 ? static_cast<char>(*text) : '?';
  }
  return narrow;
}

struct Library {
  HRESULT loaded = E_FAIL;
  ComPtr<ITypeLib> library;
};

const Library& TheLibrary() {
  static const Library library = [] {
    Library loaded;
    loaded.loaded =
        LoadTypeLibEx(TypeLibraryPath().c_str(), REGKIND_NONE, loaded.library.GetAddressOf());
    return loaded;
  }();
  return library;
}

// One interface as the type library describes it: its dispatch view, its
// method table and the name the log gives its objects.
class InterfaceInfo {
 public:
  explicit InterfaceInfo(const IID& iid) : iid_(iid) {
    const Library& library = TheLibrary();
    if (FAILED(library.loaded) ||
        FAILED(library.library->GetTypeInfoOfGuid(iid, dispatch_.GetAddressOf()))) {
      return;
    }
    HREFTYPE tablePart = 0;
    if (FAILED(dispatch_->GetRefTypeOfImplType(-1, &tablePart)) ||
        FAILED(dispatch_->GetRefTypeInfo(tablePart, table_.GetAddressOf()))) {
      table_ = dispatch_;
    }
    BSTR name = nullptr;
    if (SUCCEEDED(dispatch_->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) {
      // "IShape" logs as "Shape".
      label_ = Narrow(name != nullptr && name[0] == L'I' ? name + 1 : name);
    }
    SysFreeString(name);
  }

  [[nodiscard]] const IID& Iid() const { return iid_; }
  [[nodiscard]] ITypeInfo* Dispatch() const { return dispatch_.Get(); }
  [[nodiscard]] ITypeInfo* Table() const { return table_.Get(); }
  [[nodiscard]] const std::string& Label() const { return label_; }

  // The member's name for the log, or nothing if there is no such member.
  [[nodiscard]] bool NameOf(DISPID id, std::string* name) const {
    BSTR text = nullptr;
    if (dispatch_ == nullptr ||
        FAILED(dispatch_->GetDocumentation(id, &text, nullptr, nullptr, nullptr))) {
      return false;
    }
    *name = Narrow(text);
    SysFreeString(text);
    return true;
  }

 private:
  const IID& iid_;
  ComPtr<ITypeInfo> dispatch_;
  ComPtr<ITypeInfo> table_;
  std::string label_ = "?";
};

InterfaceInfo& InfoOf(const IID& iid) {
  static std::vector<std::unique_ptr<InterfaceInfo>> infos;
  for (const auto& info : infos) {
    if (IsEqualIID(info->Iid(), iid)) {
      return *info;
    }
  }
  infos.push_back(std::make_unique<InterfaceInfo>(iid));
  return *infos.back();
}

// --- Bookkeeping common to every object ------------------------------------------

enum class Kind : std::uint8_t { Application, Colour, Other };

class Counted;

long g_objects = 0;
long g_applications = 0;
std::unordered_map<IUnknown*, Counted*> g_alive;
void (*g_lastReleased)() = nullptr;
long g_queries = 0;
long g_releases = 0;
long g_created = 0;

void Released(Kind kind) {
  --g_objects;
  if (g_objects == 0 && g_lastReleased != nullptr) {
    g_lastReleased();
  }
  if (kind == Kind::Application && --g_applications == 0) {
    CloseDrawingWindow();
  }
  // The end of a client's chain of calls: every object but the application
  // objects gone. The drawing goes back to its file then, once per click
  // rather than once per call.
  if (g_objects == g_applications) {
    State().Flush();
  }
}

// A malformed answer in a VARIANT: no value, a string, or a null object.
// Gives false for an answer that a VARIANT does not carry (End).
bool GiveMalformed(Malformed answer, VARIANT& result) {
  VariantInit(&result);
  switch (answer) {
    case Malformed::Empty:
      return true;
    case Malformed::Text:
      result.vt = VT_BSTR;
      result.bstrVal = SysAllocString(L"malformed");
      return true;
    case Malformed::Null:
      result.vt = VT_DISPATCH;
      result.pdispVal = nullptr;
      return true;
    case Malformed::End:
      break;
  }
  return false;
}

// What every object has: its connection (a host that went away leaves its
// objects dead), the shape it belongs to, and the counting and logging of
// the calls it answers.
class Counted {
 public:
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;
  virtual ~Counted() = default;

  [[nodiscard]] Kind ObjectKind() const { return kind_; }

 protected:
  Counted(Kind kind, int generation, std::shared_ptr<Shape> shape)
      : kind_(kind), generation_(generation), shape_(std::move(shape)) {
    ++g_objects;
    ++g_created;
  }

  // Counts and logs one call ("<object> <call>"); the failure due to it.
  HRESULT Enter(const std::string& call) const {
    return State().Enter(generation_, Label() + " " + call);
  }
  // A method reached through the interface's method table, logged as
  // "<object> vtable <method> ..." with the method's C++ name ("get_Fill",
  // "put_Switch"). Reached from Invoke, the call was counted and logged
  // there, by its member's name.
  HRESULT EnterVtable(const char* method, const std::string& detail = {}) {
    if (dispatching_) {
      return S_OK;
    }
    std::string call = std::string("vtable ") + method;
    if (!detail.empty()) {
      call += " " + detail;
    }
    return Enter(call);
  }
  // A number answered through the method table: the call entered and
  // logged, then `read()` given back.
  template <typename Read>
  HRESULT AnswerNumber(const char* method, LONG* out, Read read) {
    if (const HRESULT failed = EnterVtable(method); FAILED(failed)) {
      return failed;
    }
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = static_cast<LONG>(read());
    return S_OK;
  }
  HRESULT NotImplemented(const char* method) const {
    State().Note(Label() + " vtable " + method + " E_NOTIMPL");
    return E_NOTIMPL;
  }

  [[nodiscard]] virtual std::string Label() const = 0;

  [[nodiscard]] int Generation() const { return generation_; }
  [[nodiscard]] const std::shared_ptr<Shape>& OwnShape() const { return shape_; }

  // Marks the calls made by Invoke on this object's methods.
  class Dispatching {
   public:
    explicit Dispatching(Counted& object) : object_(object) { object_.dispatching_ = true; }
    Dispatching(const Dispatching&) = delete;
    Dispatching& operator=(const Dispatching&) = delete;
    ~Dispatching() { object_.dispatching_ = false; }

   private:
    Counted& object_;
  };

 private:
  Kind kind_;
  int generation_;
  std::shared_ptr<Shape> shape_;
  bool dispatching_ = false;
};

// IUnknown for an object with one interface (and those it derives from).
template <typename Interface>
class Unknown : public Interface, public Counted {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    ++g_queries;
    if (out == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, iid_) ||
        (dispatch_ && IsEqualIID(iid, IID_IDispatch))) {
      AddRef();
      *out = static_cast<Interface*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ++g_releases;
    const LONG left = --references_;
    if (left == 0) {
      const Kind kind = ObjectKind();
      g_alive.erase(static_cast<Interface*>(this));
      delete this;
      Released(kind);
    }
    return static_cast<ULONG>(left);
  }

 protected:
  Unknown(const IID& iid, bool dispatch, Kind kind, int generation, std::shared_ptr<Shape> shape)
      : Counted(kind, generation, std::move(shape)), iid_(iid), dispatch_(dispatch) {
    g_alive.emplace(static_cast<Interface*>(this), this);
  }

 private:
  LONG references_ = 1;
  const IID& iid_;
  bool dispatch_;
};

// A host object: its interface's IDispatch answered from the type library.
template <typename Interface>
class HostObject : public Unknown<Interface> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) {
      return E_POINTER;
    }
    *count = info_.Dispatch() != nullptr ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo** info) override {
    if (info == nullptr) {
      return E_POINTER;
    }
    *info = nullptr;
    if (index != 0 || info_.Dispatch() == nullptr) {
      return DISP_E_BADINDEX;
    }
    info_.Dispatch()->AddRef();
    *info = info_.Dispatch();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*iid*/, LPOLESTR* names, UINT count,
                                          LCID /*locale*/, DISPID* ids) override {
    if (names == nullptr || ids == nullptr || count == 0) {
      return E_POINTER;
    }
    if (const HRESULT failed = this->Enter("GetIDsOfNames " + Narrow(names[0])); FAILED(failed)) {
      return failed;
    }
    if (info_.Dispatch() == nullptr) {
      return E_UNEXPECTED;
    }
    return info_.Dispatch()->GetIDsOfNames(names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID /*iid*/, LCID /*locale*/, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    std::string name;
    const bool known = info_.NameOf(id, &name);
    if (const HRESULT failed = this->Enter("Invoke " + (known ? name : std::to_string(id)));
        FAILED(failed)) {
      return failed;
    }
    if (!known) {
      return DISP_E_MEMBERNOTFOUND;
    }
    const typename Counted::Dispatching dispatching(*this);
    const HRESULT invoked = info_.Table()->Invoke(static_cast<Interface*>(this), id, flags, params,
                                                  result, exception, argumentError);
    // A call due to answer malformed succeeds with that answer in place of
    // the member's own.
    if (const auto answer = State().MalformedAnswer();
        answer && SUCCEEDED(invoked) && result != nullptr) {
      VARIANT malformed;
      if (GiveMalformed(*answer, malformed)) {
        VariantClear(result);
        *result = malformed;
      }
    }
    return invoked;
  }

 protected:
  HostObject(const IID& iid, Kind kind, int generation, std::shared_ptr<Shape> shape)
      : Unknown<Interface>(iid, true, kind, generation, std::move(shape)), info_(InfoOf(iid)) {}

  [[nodiscard]] std::string Label() const override { return info_.Label(); }

 private:
  InterfaceInfo& info_;
};

// Each unused slot of an interface answers E_NOTIMPL.
#define PIGMENTRY_STANDIN_UNUSED(n) \
  HRESULT STDMETHODCALLTYPE Unused##n() override { return NotImplemented(__func__); }

template <typename Interface, typename Object>
HRESULT Give(Object* object, Interface** out) {
  if (out == nullptr) {
    object->Release();
    return E_POINTER;
  }
  if (State().MalformedAnswer() == Malformed::Null) {
    // Success, and nothing to show for it.
    object->Release();
    *out = nullptr;
    return S_OK;
  }
  *out = object;
  return S_OK;
}

void Changed() { RedrawDrawingWindow(); }

// --- Colour ----------------------------------------------------------------------

// Which colour a colour object stands for.
enum class ColourOf : std::uint8_t { Own, Fill, Outline };

class ColourObject final : public HostObject<IColor> {
 public:
  ColourObject(int generation, std::shared_ptr<Shape> shape, ColourOf of)
      : HostObject(IID_IColor, Kind::Colour, generation, std::move(shape)), of_(of) {}
  static ColourObject* Own(const ColourValue& value) {
    auto* colour = new ColourObject(State().Generation(), nullptr, ColourOf::Own);
    colour->own_ = value;
    return colour;
  }

  HRESULT STDMETHODCALLTYPE get_Type(LONG* model) override {
    return AnswerNumber(__func__, model, [this] { return Value().model; });
  }
  HRESULT STDMETHODCALLTYPE RGBAssign(LONG red, LONG green, LONG blue) override {
    if (const HRESULT failed =
            EnterVtable(__func__, std::to_string(red) + " " + std::to_string(green) + " " +
                                      std::to_string(blue));
        FAILED(failed)) {
      return failed;
    }
    if (red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 || blue > 255) {
      return E_INVALIDARG;
    }
    Value() = cm::MakeRgb(red, green, blue);
    ChangedIfShapes();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_RGBRed(LONG* red) override { return Component(__func__, 0, red); }
  HRESULT STDMETHODCALLTYPE get_RGBGreen(LONG* green) override {
    return Component(__func__, 1, green);
  }
  HRESULT STDMETHODCALLTYPE get_RGBBlue(LONG* blue) override {
    return Component(__func__, 2, blue);
  }
  HRESULT STDMETHODCALLTYPE ConvertToRGB() override { return Convert(__func__, cm::kRGB); }
  HRESULT STDMETHODCALLTYPE ConvertToCMYK() override { return Convert(__func__, cm::kCMYK); }
  HRESULT STDMETHODCALLTYPE ConvertToCMY() override { return Convert(__func__, cm::kCMY); }
  HRESULT STDMETHODCALLTYPE ConvertToHSB() override { return Convert(__func__, cm::kHSB); }
  HRESULT STDMETHODCALLTYPE ConvertToHLS() override { return Convert(__func__, cm::kHLS); }
  HRESULT STDMETHODCALLTYPE ConvertToBW() override { return Convert(__func__, cm::kBlackAndWhite); }
  HRESULT STDMETHODCALLTYPE ConvertToGray() override { return Convert(__func__, cm::kGrayscale); }
  HRESULT STDMETHODCALLTYPE ConvertToYIQ() override { return Convert(__func__, cm::kYIQ); }
  HRESULT STDMETHODCALLTYPE ConvertToLab() override { return Convert(__func__, cm::kLab); }
  HRESULT STDMETHODCALLTYPE CopyFrom(IDispatch* source) override {
    if (const HRESULT failed = EnterVtable(__func__); FAILED(failed)) {
      return failed;
    }
    return TakeOver(source);
  }
  HRESULT STDMETHODCALLTYPE CopyAssign(IDispatch* source) override {
    if (const HRESULT failed = EnterVtable(__func__); FAILED(failed)) {
      return failed;
    }
    return source == nullptr ? DISP_E_TYPEMISMATCH : TakeOver(source);
  }
  PIGMENTRY_UNUSED_IColor(PIGMENTRY_STANDIN_UNUSED)

      private : ColourValue& Value() {
    switch (of_) {
      case ColourOf::Fill:
        return OwnShape()->fill;
      case ColourOf::Outline:
        return OwnShape()->outline;
      case ColourOf::Own:
        break;
    }
    return own_;
  }
  void ChangedIfShapes() const {
    if (of_ != ColourOf::Own) {
      Changed();
    }
  }
  HRESULT Component(const char* method, std::size_t index, LONG* component) {
    return AnswerNumber(method, component, [this, index] {
      const ColourValue& value = Value();
      return value.model == cm::kRGB ? value.components[index] : 0;
    });
  }
  HRESULT Convert(const char* method, std::int32_t model) {
    if (const HRESULT failed = EnterVtable(method); FAILED(failed)) {
      return failed;
    }
    // A colour in a model the host cannot convert stays as it is.
    cm::ConvertTo(Value(), model);
    ChangedIfShapes();
    return S_OK;
  }
  // Takes over the model and value of `source`, a colour of this host; a
  // fill given a colour becomes a uniform fill.
  HRESULT TakeOver(IDispatch* source) {
    const auto found = g_alive.find(source);
    if (found == g_alive.end() || found->second->ObjectKind() != Kind::Colour) {
      return E_INVALIDARG;
    }
    Value() = static_cast<ColourObject*>(found->second)->Value();
    if (of_ == ColourOf::Fill) {
      OwnShape()->fillType = 1;
    }
    ChangedIfShapes();
    return S_OK;
  }

  ColourOf of_;
  ColourValue own_;
};

// --- Shape, fill and outline ---------------------------------------------------------

class FillObject final : public HostObject<IFill> {
 public:
  FillObject(int generation, std::shared_ptr<Shape> shape)
      : HostObject(IID_IFill, Kind::Other, generation, std::move(shape)) {}

  HRESULT STDMETHODCALLTYPE get_Type(LONG* type) override {
    return AnswerNumber(__func__, type, [this] { return OwnShape()->fillType; });
  }
  HRESULT STDMETHODCALLTYPE get_UniformColor(IColor** colour) override {
    if (const HRESULT failed = EnterVtable(__func__); FAILED(failed)) {
      return failed;
    }
    return Give(new ColourObject(Generation(), OwnShape(), ColourOf::Fill), colour);
  }
  PIGMENTRY_UNUSED_IFill(PIGMENTRY_STANDIN_UNUSED)
};

class OutlineObject final : public HostObject<IOutline> {
 public:
  OutlineObject(int generation, std::shared_ptr<Shape> shape)
      : HostObject(IID_IOutline, Kind::Other, generation, std::move(shape)) {}

  HRESULT STDMETHODCALLTYPE get_Type(LONG* type) override {
    return AnswerNumber(__func__, type, [this] { return OwnShape()->outlineType; });
  }
  HRESULT STDMETHODCALLTYPE get_Color(IColor** colour) override {
    if (const HRESULT failed = EnterVtable(__func__); FAILED(failed)) {
      return failed;
    }
    return Give(new ColourObject(Generation(), OwnShape(), ColourOf::Outline), colour);
  }
  PIGMENTRY_UNUSED_IOutline(PIGMENTRY_STANDIN_UNUSED)
};

class ShapeObject final : public HostObject<IShape> {
 public:
  ShapeObject(int generation, std::shared_ptr<Shape> shape)
      : HostObject(IID_IShape, Kind::Other, generation, std::move(shape)) {}

  HRESULT STDMETHODCALLTYPE get_Outline(IOutline** outline) override {
    if (const HRESULT failed = EnterVtable(__func__); FAILED(failed)) {
      return failed;
    }
    return Give(new OutlineObject(Generation(), OwnShape()), outline);
  }
  HRESULT STDMETHODCALLTYPE get_Fill(IFill** fill) override {
    if (const HRESULT failed = EnterVtable(__func__); FAILED(failed)) {
      return failed;
    }
    return Give(new FillObject(Generation(), OwnShape()), fill);
  }
  PIGMENTRY_UNUSED_IShape(PIGMENTRY_STANDIN_UNUSED)
};

// --- Shapes and their enumerator ---------------------------------------------------

using ShapeList = std::vector<std::shared_ptr<Shape>>;

class EnumeratorObject final : public Unknown<IEnumVARIANT> {
 public:
  EnumeratorObject(int generation, ShapeList shapes, std::size_t next = 0)
      : Unknown(IID_IEnumVARIANT, false, Kind::Other, generation, nullptr),
        shapes_(std::move(shapes)),
        next_(next) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* shapes, ULONG* fetched) override {
    if (const HRESULT failed = Enter("Next"); FAILED(failed)) {
      return failed;
    }
    if (shapes == nullptr || (wanted > 1 && fetched == nullptr)) {
      return E_POINTER;
    }
    ULONG given = 0;
    if (const auto answer = State().MalformedAnswer()) {
      // One malformed shape, or the end however many are left.
      const bool one = wanted > 0 && GiveMalformed(*answer, shapes[0]);
      if (fetched != nullptr) {
        *fetched = one ? 1 : 0;
      }
      return one && wanted == 1 ? S_OK : S_FALSE;
    }
    for (; given < wanted && next_ < shapes_.size(); ++given) {
      auto* shape = new ShapeObject(Generation(), shapes_[next_++]);
      VariantInit(&shapes[given]);
      shapes[given].vt = VT_DISPATCH;
      shapes[given].pdispVal = shape;
    }
    if (fetched != nullptr) {
      *fetched = given;
    }
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (const HRESULT failed = Enter("Skip"); FAILED(failed)) {
      return failed;
    }
    next_ = std::min(shapes_.size(), next_ + std::size_t{count});
    return next_ == shapes_.size() ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    if (const HRESULT failed = Enter("Reset"); FAILED(failed)) {
      return failed;
    }
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (const HRESULT failed = Enter("Clone"); FAILED(failed)) {
      return failed;
    }
    return Give(new EnumeratorObject(Generation(), shapes_, next_), out);
  }

 private:
  [[nodiscard]] std::string Label() const override { return "Enum"; }

  ShapeList shapes_;
  std::size_t next_;
};

class ShapesObject final : public HostObject<IShapes> {
 public:
  ShapesObject(int generation, ShapeList shapes)
      : HostObject(IID_IShapes, Kind::Other, generation, nullptr), shapes_(std::move(shapes)) {}

  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** shapes) override {
    if (const HRESULT failed = EnterVtable(__func__); FAILED(failed)) {
      return failed;
    }
    if (State().MalformedAnswer() == Malformed::End) {
      return Give(new EnumeratorObject(Generation(), {}), shapes);  // yields nothing
    }
    return Give(new EnumeratorObject(Generation(), shapes_), shapes);
  }
  HRESULT STDMETHODCALLTYPE Item(VARIANT index, IShape** shape) override {
    if (const HRESULT failed = EnterVtable(__func__, "vt " + std::to_string(index.vt));
        FAILED(failed)) {
      return failed;
    }
    VARIANT position;
    VariantInit(&position);
    if (FAILED(VariantChangeType(&position, &index, 0, VT_I4))) {
      return DISP_E_TYPEMISMATCH;
    }
    if (position.lVal < 1 || static_cast<std::size_t>(position.lVal) > shapes_.size()) {
      return E_INVALIDARG;
    }
    return Give(new ShapeObject(Generation(), shapes_[static_cast<std::size_t>(position.lVal - 1)]),
                shape);
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    return AnswerNumber(__func__, count, [this] { return shapes_.size(); });
  }
  PIGMENTRY_UNUSED_IShapes(PIGMENTRY_STANDIN_UNUSED)

      private : ShapeList shapes_;
};

// --- Application -------------------------------------------------------------------

class ApplicationObject final : public HostObject<IApplication> {
 public:
  ApplicationObject()
      : HostObject(IID_IApplication, Kind::Application, State().Generation(), nullptr) {
    ++g_applications;
  }

  HRESULT STDMETHODCALLTYPE put_Switch(VARIANT_BOOL on) override {
    return EnterVtable(__func__, on == VARIANT_TRUE ? "true" : "false");
  }
  HRESULT STDMETHODCALLTYPE get_Selection(IShapes** shapes) override {
    if (const HRESULT failed = EnterVtable(__func__); FAILED(failed)) {
      return failed;
    }
    const Drawing& drawing = State().Current();
    ShapeList selected;
    for (const std::size_t index : drawing.selection) {
      selected.push_back(drawing.shapes[index]);
    }
    return Give(new ShapesObject(Generation(), std::move(selected)), shapes);
  }
  PIGMENTRY_UNUSED_IApplication(PIGMENTRY_STANDIN_UNUSED)
};

#undef PIGMENTRY_STANDIN_UNUSED

// Gives the new object's interface `iid` and lets go of the creator's
// reference.
template <typename Object>
HRESULT Hand(Object* object, const IID& iid, void** out) {
  const HRESULT result = object->QueryInterface(iid, out);
  object->Release();
  return result;
}

}  // namespace

long ObjectsAlive() { return g_objects; }

void OnLastObjectReleased(void (*handler)()) { g_lastReleased = handler; }

void DisconnectAll() {
  std::vector<IUnknown*> alive;
  alive.reserve(g_alive.size());
  for (const auto& object : g_alive) {
    alive.push_back(object.first);
  }
  for (IUnknown* object : alive) {
    CoDisconnectObject(object, 0);
  }
}

ObjectCalls CallsSoFar() { return {g_queries, g_releases, g_created, g_objects}; }

HRESULT CreateApplication(const IID& iid, void** out) {
  if (const HRESULT failed = State().Load(); FAILED(failed)) {
    return failed;
  }
  if (const HRESULT failed = TheLibrary().loaded; FAILED(failed)) {
    return failed;
  }
  auto* application = new ApplicationObject;
  State().Note(InfoOf(IID_IApplication).Label() + " created");
  ShowDrawingWindow();
  return Hand(application, iid, out);
}

HRESULT CreateColour(const IID& iid, void** out) {
  if (const HRESULT failed = TheLibrary().loaded; FAILED(failed)) {
    return failed;
  }
  ColourObject* colour = ColourObject::Own(State().Current().newColour);
  State().Note(InfoOf(IID_IColor).Label() + " created");
  return Hand(colour, iid, out);
}

}  // namespace pigmentry::standin
