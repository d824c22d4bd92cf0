// The type library built from the host's interface definitions, against the
// host's published binding written out here: every method the program calls
// through the host's interfaces sits at its slot with the parameters the
// program passes, every member it calls by name is there under that name,
// and the identifiers the program uses are the host's.
#include <gtest/gtest.h>
#include <oaidl.h>
#include <oleauto.h>
#include <windows.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <vector>

#include "bridge/com/binding.h"
#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

using Microsoft::WRL::ComPtr;

// The host's published classes and interfaces.
constexpr CLSID kClsidApplication = {
    0xADC60100, 0x88DF, 0x4F68, {0x9D, 0x4A, 0x71, 0x87, 0xB1, 0x6E, 0x86, 0xB8}};
constexpr CLSID kClsidColour = {
    0xADC60129, 0x88DF, 0x4F68, {0x9D, 0x4A, 0x71, 0x87, 0xB1, 0x6E, 0x86, 0xB8}};
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

// The slots of the methods the program calls through the interfaces,
// counted from 0 (IUnknown and IDispatch take 0 to 6).
namespace slot {
constexpr int kApplicationSwitch = 10;
constexpr int kSelection = 55;
constexpr int kShapesItem = 9;
constexpr int kShapesCount = 11;
constexpr int kShapeOutline = 28;
constexpr int kShapeFill = 29;
constexpr int kFillType = 7;
constexpr int kFillUniformColor = 8;
constexpr int kOutlineColor = 9;
constexpr int kOutlineType = 12;
constexpr int kColourModel = 9;
constexpr int kColourAssignRGB = 10;
constexpr int kColourRed = 11;
constexpr int kColourGreen = 13;
constexpr int kColourBlue = 15;
constexpr int kColourToRGB = 17;
constexpr int kColourCopyFrom = 69;
constexpr int kConvertToCMYK = 27;
constexpr int kConvertToCMY = 41;
constexpr int kConvertToHSB = 49;
constexpr int kConvertToHLS = 57;
constexpr int kConvertToBW = 61;
constexpr int kConvertToGray = 65;
constexpr int kConvertToYIQ = 78;
constexpr int kConvertToLab = 86;
}  // namespace slot

// One method of an interface's method table as the type library has it.
struct Method {
  std::wstring name;
  INVOKEKIND kind = INVOKE_FUNC;
  std::vector<VARTYPE> parameters;
  MEMBERID id = DISPID_UNKNOWN;
};

class BindingTypeLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring path = OwnFolder() + L"pigmentry_binding.tlb";
    ASSERT_EQ(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library_.GetAddressOf()), S_OK)
        << "the stand-in's type library is built next to the tests";
  }

  // The methods of interface `iid` by slot: the table a dual interface's
  // callers see (its vtable part), not the dispatch view.
  std::map<int, Method> Slots(const IID& iid) const {
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(library_->GetTypeInfoOfGuid(iid, info.GetAddressOf()), S_OK);
    if (!info) {
      return {};
    }
    HREFTYPE vtablePart = 0;
    ComPtr<ITypeInfo> table;
    if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &vtablePart)) &&
        SUCCEEDED(info->GetRefTypeInfo(vtablePart, table.GetAddressOf()))) {
      info = table;
    }
    TYPEATTR* attributes = nullptr;
    EXPECT_EQ(info->GetTypeAttr(&attributes), S_OK);
    std::map<int, Method> methods;
    for (UINT i = 0; attributes != nullptr && i < attributes->cFuncs; ++i) {
      FUNCDESC* function = nullptr;
      if (FAILED(info->GetFuncDesc(i, &function))) {
        continue;
      }
      Method method;
      BSTR name = nullptr;
      info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
      method.name = name != nullptr ? name : L"";
      ::SysFreeString(name);
      method.kind = function->invkind;
      method.id = function->memid;
      for (SHORT p = 0; p < function->cParams; ++p) {
        const TYPEDESC& type = function->lprgelemdescParam[p].tdesc;
        // An [out, retval] pointer counts as what it points to.
        method.parameters.push_back(type.vt == VT_PTR ? type.lptdesc->vt : type.vt);
      }
      methods[function->oVft / static_cast<int>(sizeof(void*))] = method;
      info->ReleaseFuncDesc(function);
    }
    if (attributes != nullptr) {
      info->ReleaseTypeAttr(attributes);
    }
    return methods;
  }

  ComPtr<ITypeLib> library_;
};

struct SlotCase {
  const IID* iid;
  const char* interfaceName;
  int slot;
  const wchar_t* name;
  INVOKEKIND kind;
  std::vector<VARTYPE> parameters;
};

TEST_F(BindingTypeLibrary, EverySlotTheProgramCallsHoldsThatMethod) {
  const std::vector<SlotCase> cases = {
      {&kIidApplication,
       "Application",
       slot::kApplicationSwitch,
       L"Switch",
       INVOKE_PROPERTYPUT,
       {VT_BOOL}},
      {&kIidApplication,
       "Application",
       slot::kSelection,
       L"Selection",
       INVOKE_PROPERTYGET,
       {VT_PTR}},
      {&kIidShapes, "Shapes", slot::kShapesItem, L"Item", INVOKE_FUNC, {VT_VARIANT, VT_PTR}},
      {&kIidShapes, "Shapes", slot::kShapesCount, L"Count", INVOKE_PROPERTYGET, {VT_I4}},
      {&kIidShape, "Shape", slot::kShapeOutline, L"Outline", INVOKE_PROPERTYGET, {VT_PTR}},
      {&kIidShape, "Shape", slot::kShapeFill, L"Fill", INVOKE_PROPERTYGET, {VT_PTR}},
      {&kIidFill, "Fill", slot::kFillType, L"Type", INVOKE_PROPERTYGET, {VT_I4}},
      {&kIidFill, "Fill", slot::kFillUniformColor, L"UniformColor", INVOKE_PROPERTYGET, {VT_PTR}},
      {&kIidOutline, "Outline", slot::kOutlineColor, L"Color", INVOKE_PROPERTYGET, {VT_PTR}},
      {&kIidOutline, "Outline", slot::kOutlineType, L"Type", INVOKE_PROPERTYGET, {VT_I4}},
      {&kIidColour, "Color", slot::kColourModel, L"Type", INVOKE_PROPERTYGET, {VT_I4}},
      {&kIidColour,
       "Color",
       slot::kColourAssignRGB,
       L"RGBAssign",
       INVOKE_FUNC,
       {VT_I4, VT_I4, VT_I4}},
      {&kIidColour, "Color", slot::kColourRed, L"RGBRed", INVOKE_PROPERTYGET, {VT_I4}},
      {&kIidColour, "Color", slot::kColourGreen, L"RGBGreen", INVOKE_PROPERTYGET, {VT_I4}},
      {&kIidColour, "Color", slot::kColourBlue, L"RGBBlue", INVOKE_PROPERTYGET, {VT_I4}},
      {&kIidColour, "Color", slot::kColourToRGB, L"ConvertToRGB", INVOKE_FUNC, {}},
      {&kIidColour, "Color", slot::kColourCopyFrom, L"CopyFrom", INVOKE_FUNC, {VT_DISPATCH}},
      {&kIidColour, "Color", slot::kConvertToCMYK, L"ConvertToCMYK", INVOKE_FUNC, {}},
      {&kIidColour, "Color", slot::kConvertToCMY, L"ConvertToCMY", INVOKE_FUNC, {}},
      {&kIidColour, "Color", slot::kConvertToHSB, L"ConvertToHSB", INVOKE_FUNC, {}},
      {&kIidColour, "Color", slot::kConvertToHLS, L"ConvertToHLS", INVOKE_FUNC, {}},
      {&kIidColour, "Color", slot::kConvertToBW, L"ConvertToBW", INVOKE_FUNC, {}},
      {&kIidColour, "Color", slot::kConvertToGray, L"ConvertToGray", INVOKE_FUNC, {}},
      {&kIidColour, "Color", slot::kConvertToYIQ, L"ConvertToYIQ", INVOKE_FUNC, {}},
      {&kIidColour, "Color", slot::kConvertToLab, L"ConvertToLab", INVOKE_FUNC, {}},
  };
  std::map<const IID*, std::map<int, Method>> tables;
  for (const SlotCase& c : cases) {
    auto found = tables.find(c.iid);
    if (found == tables.end()) {
      found = tables.emplace(c.iid, Slots(*c.iid)).first;
    }
    const auto method = found->second.find(c.slot);
    ASSERT_NE(method, found->second.end()) << c.interfaceName << " slot " << c.slot;
    EXPECT_EQ(method->second.name, c.name) << c.interfaceName << " slot " << c.slot;
    EXPECT_EQ(method->second.kind, c.kind) << c.interfaceName << " slot " << c.slot;
    EXPECT_EQ(method->second.parameters, c.parameters) << c.interfaceName << " slot " << c.slot;
  }
}

TEST_F(BindingTypeLibrary, InterfacesAreDualAndEveryNameTheProgramUsesIsThere) {
  struct NameCase {
    const IID* iid;
    const wchar_t* name;
  };
  // What a Set looks up with GetIDsOfNames, and the collection's enumerator.
  const std::vector<NameCase> cases = {
      {&kIidShape, L"Fill"},        {&kIidShape, L"Outline"},   {&kIidFill, L"Type"},
      {&kIidFill, L"UniformColor"}, {&kIidOutline, L"Type"},    {&kIidOutline, L"Color"},
      {&kIidColour, L"CopyAssign"}, {&kIidShapes, L"_NewEnum"},
  };
  for (const NameCase& c : cases) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(library_->GetTypeInfoOfGuid(*c.iid, info.GetAddressOf()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    EXPECT_NE(attributes->wTypeFlags & TYPEFLAG_FDUAL, 0);
    info->ReleaseTypeAttr(attributes);
    // Marshaled by the type library marshaler: its vtable part is marked
    // for automation.
    HREFTYPE vtablePart = 0;
    ComPtr<ITypeInfo> table;
    ASSERT_EQ(info->GetRefTypeOfImplType(-1, &vtablePart), S_OK);
    ASSERT_EQ(info->GetRefTypeInfo(vtablePart, table.GetAddressOf()), S_OK);
    ASSERT_EQ(table->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
    EXPECT_NE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION, 0);
    table->ReleaseTypeAttr(attributes);

    auto* names = const_cast<LPOLESTR>(c.name);
    MEMBERID id = DISPID_UNKNOWN;
    EXPECT_EQ(info->GetIDsOfNames(&names, 1, &id), S_OK) << static_cast<const void*>(c.iid);
    if (std::wstring(c.name) == L"_NewEnum") {
      EXPECT_EQ(id, DISPID_NEWENUM);
    }
  }
}

TEST_F(BindingTypeLibrary, TheProgramUsesTheHostsIdentifiersAndNames) {
  struct IdentifierCase {
    const GUID* used;
    const GUID* host;
    const char* what;
    TYPEKIND kind;
  };
  const std::vector<IdentifierCase> identifiers = {
      {&CLSID_ApplicationClass, &kClsidApplication, "Application class", TKIND_COCLASS},
      {&CLSID_ColorClass, &kClsidColour, "Color class", TKIND_COCLASS},
      {&IID_IApplication, &kIidApplication, "Application interface", TKIND_DISPATCH},
      {&IID_IShapes, &kIidShapes, "Shapes interface", TKIND_DISPATCH},
      {&IID_IShape, &kIidShape, "Shape interface", TKIND_DISPATCH},
      {&IID_IFill, &kIidFill, "Fill interface", TKIND_DISPATCH},
      {&IID_IOutline, &kIidOutline, "Outline interface", TKIND_DISPATCH},
      {&IID_IColor, &kIidColour, "Color interface", TKIND_DISPATCH},
  };
  for (const IdentifierCase& c : identifiers) {
    EXPECT_TRUE(IsEqualGUID(*c.used, *c.host)) << c.what;
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(library_->GetTypeInfoOfGuid(*c.host, info.GetAddressOf()), S_OK) << c.what;
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, c.kind) << c.what;
    info->ReleaseTypeAttr(attributes);
  }
  // The names the program passes to GetIDsOfNames.
  struct NameCase {
    const wchar_t* used;
    const wchar_t* host;
  };
  for (const NameCase& c : std::vector<NameCase>{{host_member::kFill, L"Fill"},
                                                 {host_member::kOutline, L"Outline"},
                                                 {host_member::kType, L"Type"},
                                                 {host_member::kUniformColor, L"UniformColor"},
                                                 {host_member::kColor, L"Color"},
                                                 {host_member::kCopyAssign, L"CopyAssign"}}) {
    EXPECT_EQ(std::wstring(c.used), std::wstring(c.host));
  }
}

TEST_F(BindingTypeLibrary, TheLibraryIsAWin32One) {
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library_->GetLibAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->syskind, SYS_WIN32);
  library_->ReleaseTLibAttr(attributes);
}

}  // namespace
}  // namespace pigmentry::e2e
