#include "standin/objects.h"

#include <array>
#include <string>
#include <unordered_set>
#include <utility>

#include "standin/host_state.h"
#include "standin/view.h"

namespace pigmentry::standin {

namespace cm = colour_models;

const CLSID kClsidApplication = {
    0xADC60100, 0x88DF, 0x4F68, {0x9D, 0x4A, 0x71, 0x87, 0xB1, 0x6E, 0x86, 0xB8}};
const CLSID kClsidColour = {
    0xADC60129, 0x88DF, 0x4F68, {0x9D, 0x4A, 0x71, 0x87, 0xB1, 0x6E, 0x86, 0xB8}};

namespace {

// The interfaces of the host's binding, one per kind of object.
constexpr IID kIidApplication = {
    0xF51A0000, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
constexpr IID kIidShapes = {
    0xF51A0083, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
constexpr IID kIidShape = {
    0xF51A000E, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
constexpr IID kIidFill = {
    0xF51A0051, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
constexpr IID kIidOutline = {
    0xF51A0050, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};
constexpr IID kIidColour = {
    0xF51A0029, 0x8D23, 0x11D2, {0x89, 0xE7, 0x00, 0x00, 0x86, 0x1E, 0xBB, 0xD6}};

long g_objects = 0;
long g_applications = 0;
std::unordered_set<Object*> g_alive;
void (*g_lastReleased)() = nullptr;
long g_queries = 0;
long g_releases = 0;
long g_created = 0;

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Application:
      return "Application";
    case Kind::Shapes:
      return "Shapes";
    case Kind::Shape:
      return "Shape";
    case Kind::Fill:
      return "Fill";
    case Kind::Outline:
      return "Outline";
    case Kind::Colour:
      return "Color";
    case Kind::Enumerator:
      return "Enum";
  }
  return "?";
}

const IID& KindIid(Kind kind) {
  switch (kind) {
    case Kind::Application:
      return kIidApplication;
    case Kind::Shapes:
      return kIidShapes;
    case Kind::Shape:
      return kIidShape;
    case Kind::Fill:
      return kIidFill;
    case Kind::Outline:
      return kIidOutline;
    case Kind::Colour:
      return kIidColour;
    case Kind::Enumerator:
      break;
  }
  return IID_IEnumVARIANT;
}

HRESULT Enter(const Object* self, const std::string& call) {
  return State().Enter(self->generation, std::string(KindName(self->kind)) + " " + call);
}

HRESULT EnterSlot(const Object* self, int slot) {
  return Enter(self, "slot " + std::to_string(slot));
}

// --- IUnknown --------------------------------------------------------------------

ULONG STDMETHODCALLTYPE AddRef(Object* self) { return static_cast<ULONG>(++self->references); }

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

ULONG STDMETHODCALLTYPE Release(Object* self) {
  ++g_releases;
  const LONG left = --self->references;
  if (left == 0) {
    const Kind kind = self->kind;
    g_alive.erase(self);
    delete self;
    Released(kind);
  }
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE QueryInterface(Object* self, const IID& iid, void** out) {
  ++g_queries;
  if (out == nullptr) {
    return E_POINTER;
  }
  const bool dispatch = self->kind != Kind::Enumerator && IsEqualIID(iid, IID_IDispatch);
  if (IsEqualIID(iid, IID_IUnknown) || dispatch || IsEqualIID(iid, KindIid(self->kind))) {
    AddRef(self);
    *out = self;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// --- Helpers for the methods ---------------------------------------------------

HRESULT GiveObject(Object* object, Object** out) {
  if (out == nullptr) {
    Release(object);
    return E_POINTER;
  }
  if (State().MalformedAnswer() == Malformed::Null) {
    // Success, and nothing to show for it.
    Release(object);
    *out = nullptr;
    return S_OK;
  }
  *out = object;
  return S_OK;
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

Object* Child(const Object* parent, Kind kind) {
  Object* child = NewObject(kind);
  child->generation = parent->generation;
  child->shape = parent->shape;
  return child;
}

ColourValue& ValueOf(Object* colour) {
  switch (colour->of) {
    case ColourOf::Fill:
      return colour->shape->fill;
    case ColourOf::Outline:
      return colour->shape->outline;
    case ColourOf::Own:
      break;
  }
  return colour->own;
}

Object* ColourObject(const Object* parent, ColourOf of) {
  Object* colour = Child(parent, Kind::Colour);
  colour->of = of;
  return colour;
}

const AnyMethod* MethodsOf(Kind kind);

// A colour object of this host, or nothing.
Object* AsColour(IUnknown* unknown) {
  auto* object = reinterpret_cast<Object*>(unknown);
  if (object == nullptr || object->methods != MethodsOf(Kind::Colour)) {
    return nullptr;
  }
  return object;
}

void Changed() { RedrawDrawingWindow(); }

// --- Application -------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ApplicationSwitch(Object* self, VARIANT_BOOL on) {
  return Enter(self, "slot 10 " + std::string(on == VARIANT_TRUE ? "true" : "false"));
}

HRESULT STDMETHODCALLTYPE ApplicationSelection(Object* self, Object** out) {
  if (const HRESULT failed = EnterSlot(self, 55); FAILED(failed)) {
    return failed;
  }
  Object* shapes = Child(self, Kind::Shapes);
  const Drawing& drawing = State().Current();
  for (const std::size_t index : drawing.selection) {
    shapes->shapes.push_back(drawing.shapes[index]);
  }
  return GiveObject(shapes, out);
}

// --- Shapes and their enumerator ---------------------------------------------

HRESULT STDMETHODCALLTYPE ShapesItem(Object* self, VARIANT index, Object** out) {
  if (const HRESULT failed = Enter(self, "slot 9 vt " + std::to_string(index.vt)); FAILED(failed)) {
    return failed;
  }
  VARIANT position;
  VariantInit(&position);
  if (FAILED(VariantChangeType(&position, &index, 0, VT_I4))) {
    return DISP_E_TYPEMISMATCH;
  }
  if (position.lVal < 1 || static_cast<std::size_t>(position.lVal) > self->shapes.size()) {
    return E_INVALIDARG;
  }
  Object* shape = Child(self, Kind::Shape);
  shape->shape = self->shapes[static_cast<std::size_t>(position.lVal - 1)];
  return GiveObject(shape, out);
}

HRESULT STDMETHODCALLTYPE ShapesCount(Object* self, LONG* count) {
  if (const HRESULT failed = EnterSlot(self, 11); FAILED(failed)) {
    return failed;
  }
  if (count == nullptr) {
    return E_POINTER;
  }
  *count = static_cast<LONG>(self->shapes.size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE EnumNext(Object* self, ULONG wanted, VARIANT* shapes, ULONG* fetched) {
  if (const HRESULT failed = Enter(self, "Next"); FAILED(failed)) {
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
  for (; given < wanted && self->next < self->shapes.size(); ++given) {
    Object* shape = Child(self, Kind::Shape);
    shape->shape = self->shapes[self->next++];
    VariantInit(&shapes[given]);
    shapes[given].vt = VT_DISPATCH;
    shapes[given].pdispVal = reinterpret_cast<IDispatch*>(shape);
  }
  if (fetched != nullptr) {
    *fetched = given;
  }
  return given == wanted ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE EnumSkip(Object* self, ULONG count) {
  if (const HRESULT failed = Enter(self, "Skip"); FAILED(failed)) {
    return failed;
  }
  self->next = std::min(self->shapes.size(), self->next + std::size_t{count});
  return self->next == self->shapes.size() ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE EnumReset(Object* self) {
  if (const HRESULT failed = Enter(self, "Reset"); FAILED(failed)) {
    return failed;
  }
  self->next = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE EnumClone(Object* self, Object** out) {
  if (const HRESULT failed = Enter(self, "Clone"); FAILED(failed)) {
    return failed;
  }
  Object* clone = Child(self, Kind::Enumerator);
  clone->shapes = self->shapes;
  clone->next = self->next;
  return GiveObject(clone, out);
}

// --- Shape, fill and outline -------------------------------------------------

template <Kind kChild, int kSlot>
HRESULT STDMETHODCALLTYPE GetPart(Object* self, Object** out) {
  if (const HRESULT failed = EnterSlot(self, kSlot); FAILED(failed)) {
    return failed;
  }
  return GiveObject(Child(self, kChild), out);
}

template <int kSlot>
HRESULT STDMETHODCALLTYPE GetType(Object* self, LONG* type) {
  if (const HRESULT failed = EnterSlot(self, kSlot); FAILED(failed)) {
    return failed;
  }
  if (type == nullptr) {
    return E_POINTER;
  }
  *type = self->kind == Kind::Fill ? self->shape->fillType : self->shape->outlineType;
  return S_OK;
}

template <ColourOf kOf, int kSlot>
HRESULT STDMETHODCALLTYPE GetColour(Object* self, Object** out) {
  if (const HRESULT failed = EnterSlot(self, kSlot); FAILED(failed)) {
    return failed;
  }
  return GiveObject(ColourObject(self, kOf), out);
}

// --- Colour --------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ColourModel(Object* self, LONG* model) {
  if (const HRESULT failed = EnterSlot(self, 9); FAILED(failed)) {
    return failed;
  }
  if (model == nullptr) {
    return E_POINTER;
  }
  *model = ValueOf(self).model;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ColourAssignRGB(Object* self, LONG red, LONG green, LONG blue) {
  if (const HRESULT failed = Enter(self, "slot 10 " + std::to_string(red) + " " +
                                             std::to_string(green) + " " + std::to_string(blue));
      FAILED(failed)) {
    return failed;
  }
  if (red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 || blue > 255) {
    return E_INVALIDARG;
  }
  ValueOf(self) = cm::MakeRgb(red, green, blue);
  if (self->of != ColourOf::Own) {
    Changed();
  }
  return S_OK;
}

template <int kSlot, std::size_t kIndex>
HRESULT STDMETHODCALLTYPE ColourComponent(Object* self, LONG* component) {
  if (const HRESULT failed = EnterSlot(self, kSlot); FAILED(failed)) {
    return failed;
  }
  if (component == nullptr) {
    return E_POINTER;
  }
  const ColourValue& value = ValueOf(self);
  *component = value.model == cm::kRGB ? value.components[kIndex] : 0;
  return S_OK;
}

template <int kSlot, std::int32_t kModel>
HRESULT STDMETHODCALLTYPE ColourConvert(Object* self) {
  if (const HRESULT failed = EnterSlot(self, kSlot); FAILED(failed)) {
    return failed;
  }
  // A colour in a model the host cannot convert stays as it is.
  cm::ConvertTo(ValueOf(self), kModel);
  if (self->of != ColourOf::Own) {
    Changed();
  }
  return S_OK;
}

// Takes over the model and value of `source`; a fill given a colour becomes
// a uniform fill.
HRESULT TakeOver(Object* self, IUnknown* source) {
  Object* colour = AsColour(source);
  if (colour == nullptr) {
    return E_INVALIDARG;
  }
  ValueOf(self) = ValueOf(colour);
  if (self->of == ColourOf::Fill) {
    self->shape->fillType = 1;
  }
  if (self->of != ColourOf::Own) {
    Changed();
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ColourCopyFrom(Object* self, IUnknown* source) {
  if (const HRESULT failed = EnterSlot(self, 69); FAILED(failed)) {
    return failed;
  }
  return TakeOver(self, source);
}

// --- IDispatch -----------------------------------------------------------------

struct Name {
  Kind kind;
  const wchar_t* name;
  DISPID id;
  WORD flags;  // DISPATCH_PROPERTYGET or DISPATCH_METHOD
};

// Distinct numbers per interface, so a DISPID used on the wrong interface is
// refused.
constexpr std::array<Name, 7> kNames = {{
    {Kind::Shape, L"Fill", 0x11, DISPATCH_PROPERTYGET},
    {Kind::Shape, L"Outline", 0x12, DISPATCH_PROPERTYGET},
    {Kind::Fill, L"Type", 0x21, DISPATCH_PROPERTYGET},
    {Kind::Fill, L"UniformColor", 0x22, DISPATCH_PROPERTYGET},
    {Kind::Outline, L"Type", 0x31, DISPATCH_PROPERTYGET},
    {Kind::Outline, L"Color", 0x32, DISPATCH_PROPERTYGET},
    {Kind::Colour, L"CopyAssign", 0x41, DISPATCH_METHOD},
}};

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; text != nullptr && *text != 0; ++text) {
    narrow += *text < 128 ? static_cast<char>(*text) : '?';
  }
  return narrow;
}

HRESULT STDMETHODCALLTYPE GetTypeInfoCount(Object* /*self*/, UINT* count) {
  if (count == nullptr) {
    return E_POINTER;
  }
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE GetTypeInfo(Object* /*self*/, UINT /*index*/, LCID /*locale*/,
                                      ITypeInfo** info) {
  if (info != nullptr) {
    *info = nullptr;
  }
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE GetIDsOfNames(Object* self, const IID& /*iid*/, LPOLESTR* names,
                                        UINT count, LCID /*locale*/, DISPID* ids) {
  if (names == nullptr || ids == nullptr || count == 0) {
    return E_POINTER;
  }
  if (const HRESULT failed = Enter(self, "GetIDsOfNames " + Narrow(names[0])); FAILED(failed)) {
    return failed;
  }
  HRESULT result = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (const Name& name : kNames) {
      if (i == 0 && name.kind == self->kind && _wcsicmp(name.name, names[0]) == 0) {
        ids[0] = name.id;
      }
    }
    if (ids[i] == DISPID_UNKNOWN) {
      result = DISP_E_UNKNOWNNAME;
    }
  }
  return result;
}

HRESULT GiveDispatch(Object* object, VARIANT* result) {
  if (result == nullptr) {
    Release(object);
    return E_POINTER;
  }
  if (const auto answer = State().MalformedAnswer(); answer && GiveMalformed(*answer, *result)) {
    Release(object);
    return S_OK;
  }
  VariantInit(result);
  result->vt = VT_DISPATCH;
  result->pdispVal = reinterpret_cast<IDispatch*>(object);
  return S_OK;
}

HRESULT GiveLong(LONG value, VARIANT* result) {
  if (result == nullptr) {
    return E_POINTER;
  }
  if (const auto answer = State().MalformedAnswer(); answer && GiveMalformed(*answer, *result)) {
    return S_OK;
  }
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
  return S_OK;
}

// The one argument of CopyAssign: a colour object, by value or by reference.
IUnknown* ObjectArgument(const DISPPARAMS* params) {
  if (params == nullptr || params->cArgs != 1 || params->cNamedArgs != 0) {
    return nullptr;
  }
  const VARIANT& argument = params->rgvarg[0];
  switch (argument.vt) {
    case VT_DISPATCH:
      return argument.pdispVal;
    case VT_BYREF | VT_DISPATCH:
      return argument.ppdispVal != nullptr ? *argument.ppdispVal : nullptr;
    case VT_UNKNOWN:
      return argument.punkVal;
    default:
      return nullptr;
  }
}

HRESULT InvokeNamed(Object* self, const Name& name, DISPPARAMS* params, VARIANT* result) {
  switch (name.id) {
    case 0x11:
      return GiveDispatch(Child(self, Kind::Fill), result);
    case 0x12:
      return GiveDispatch(Child(self, Kind::Outline), result);
    case 0x21:
      return GiveLong(self->shape->fillType, result);
    case 0x31:
      return GiveLong(self->shape->outlineType, result);
    case 0x22:
      return GiveDispatch(ColourObject(self, ColourOf::Fill), result);
    case 0x32:
      return GiveDispatch(ColourObject(self, ColourOf::Outline), result);
    case 0x41: {
      IUnknown* source = ObjectArgument(params);
      return source == nullptr ? DISP_E_TYPEMISMATCH : TakeOver(self, source);
    }
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT STDMETHODCALLTYPE Invoke(Object* self, DISPID id, const IID& /*iid*/, LCID /*locale*/,
                                 WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* /*exception*/, UINT* /*argumentError*/) {
  if (self->kind == Kind::Shapes && id == DISPID_NEWENUM) {
    if (const HRESULT failed = Enter(self, "Invoke _NewEnum"); FAILED(failed)) {
      return failed;
    }
    if (result == nullptr) {
      return E_POINTER;
    }
    Object* shapes = Child(self, Kind::Enumerator);
    shapes->shapes = self->shapes;
    if (const auto answer = State().MalformedAnswer()) {
      if (*answer == Malformed::End) {
        shapes->shapes.clear();  // an enumerator that yields nothing
      } else if (GiveMalformed(*answer, *result)) {
        Release(shapes);
        return S_OK;
      }
    }
    VariantInit(result);
    result->vt = VT_UNKNOWN;
    result->punkVal = reinterpret_cast<IUnknown*>(shapes);
    return S_OK;
  }
  for (const Name& name : kNames) {
    if (name.kind == self->kind && name.id == id) {
      if (const HRESULT failed = Enter(self, "Invoke " + Narrow(name.name)); FAILED(failed)) {
        return failed;
      }
      if ((flags & name.flags) == 0) {
        return DISP_E_MEMBERNOTFOUND;
      }
      return InvokeNamed(self, name, params, result);
    }
  }
  const HRESULT failed = Enter(self, "Invoke " + std::to_string(id));
  return FAILED(failed) ? failed : DISP_E_MEMBERNOTFOUND;
}

// --- Method tables ---------------------------------------------------------------

template <std::size_t kSlot>
HRESULT STDMETHODCALLTYPE NotImplemented(Object* self) {
  State().Note(std::string(KindName(self->kind)) + " slot " + std::to_string(kSlot) + " E_NOTIMPL");
  return E_NOTIMPL;
}

template <typename Function>
AnyMethod Method(Function function) {
  return reinterpret_cast<AnyMethod>(function);
}

constexpr std::size_t kWidest = 87;
using Table = std::array<AnyMethod, kWidest>;

template <std::size_t... kSlots>
Table Unimplemented(std::index_sequence<kSlots...> /*slots*/) {
  return {Method(&NotImplemented<kSlots>)...};
}

Table DispatchTable() {
  Table table = Unimplemented(std::make_index_sequence<kWidest>());
  table[0] = Method(&QueryInterface);
  table[1] = Method(&AddRef);
  table[2] = Method(&Release);
  table[3] = Method(&GetTypeInfoCount);
  table[4] = Method(&GetTypeInfo);
  table[5] = Method(&GetIDsOfNames);
  table[6] = Method(&Invoke);
  return table;
}

Table ApplicationTable() {
  Table table = DispatchTable();
  table[10] = Method(&ApplicationSwitch);
  table[55] = Method(&ApplicationSelection);
  return table;
}

Table ShapesTable() {
  Table table = DispatchTable();
  table[9] = Method(&ShapesItem);
  table[11] = Method(&ShapesCount);
  return table;
}

Table ShapeTable() {
  Table table = DispatchTable();
  table[28] = Method(&GetPart<Kind::Outline, 28>);
  table[29] = Method(&GetPart<Kind::Fill, 29>);
  return table;
}

Table FillTable() {
  Table table = DispatchTable();
  table[7] = Method(&GetType<7>);
  table[8] = Method(&GetColour<ColourOf::Fill, 8>);
  return table;
}

Table OutlineTable() {
  Table table = DispatchTable();
  table[9] = Method(&GetColour<ColourOf::Outline, 9>);
  table[12] = Method(&GetType<12>);
  return table;
}

Table ColourTable() {
  Table table = DispatchTable();
  table[9] = Method(&ColourModel);
  table[10] = Method(&ColourAssignRGB);
  table[11] = Method(&ColourComponent<11, 0>);
  table[13] = Method(&ColourComponent<13, 1>);
  table[15] = Method(&ColourComponent<15, 2>);
  table[17] = Method(&ColourConvert<17, cm::kRGB>);
  table[27] = Method(&ColourConvert<27, cm::kCMYK>);
  table[41] = Method(&ColourConvert<41, cm::kCMY>);
  table[49] = Method(&ColourConvert<49, cm::kHSB>);
  table[57] = Method(&ColourConvert<57, cm::kHLS>);
  table[61] = Method(&ColourConvert<61, cm::kBlackAndWhite>);
  table[65] = Method(&ColourConvert<65, cm::kGrayscale>);
  table[69] = Method(&ColourCopyFrom);
  table[78] = Method(&ColourConvert<78, cm::kYIQ>);
  table[86] = Method(&ColourConvert<86, cm::kLab>);
  return table;
}

Table EnumeratorTable() {
  Table table = Unimplemented(std::make_index_sequence<kWidest>());
  table[0] = Method(&QueryInterface);
  table[1] = Method(&AddRef);
  table[2] = Method(&Release);
  table[3] = Method(&EnumNext);
  table[4] = Method(&EnumSkip);
  table[5] = Method(&EnumReset);
  table[6] = Method(&EnumClone);
  return table;
}

const AnyMethod* MethodsOf(Kind kind) {
  static const std::array<Table, 7> tables = {ApplicationTable(), ShapesTable(),  ShapeTable(),
                                              FillTable(),        OutlineTable(), ColourTable(),
                                              EnumeratorTable()};
  return tables.at(static_cast<std::size_t>(kind)).data();
}

}  // namespace

Object* NewObject(Kind kind) {
  auto* object = new Object;
  object->methods = MethodsOf(kind);
  object->kind = kind;
  object->generation = State().Generation();
  ++g_objects;
  ++g_created;
  g_alive.insert(object);
  return object;
}

long ObjectsAlive() { return g_objects; }

void OnLastObjectReleased(void (*handler)()) { g_lastReleased = handler; }

void DisconnectAll() {
  const std::vector<Object*> alive(g_alive.begin(), g_alive.end());
  for (Object* object : alive) {
    CoDisconnectObject(reinterpret_cast<IUnknown*>(object), 0);
  }
}

ObjectCalls CallsSoFar() { return {g_queries, g_releases, g_created, g_objects}; }

HRESULT CreateApplication(const IID& iid, void** out) {
  if (const HRESULT failed = State().Load(); FAILED(failed)) {
    return failed;
  }
  Object* application = NewObject(Kind::Application);
  ++g_applications;
  State().Note("Application created");
  ShowDrawingWindow();
  const HRESULT result = QueryInterface(application, iid, out);
  Release(application);
  return result;
}

HRESULT CreateColour(const IID& iid, void** out) {
  Object* colour = NewObject(Kind::Colour);
  colour->own = State().Current().newColour;
  State().Note("Color created");
  const HRESULT result = QueryInterface(colour, iid, out);
  Release(colour);
  return result;
}

}  // namespace pigmentry::standin
