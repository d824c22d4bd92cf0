// The stand-in host's type library (built from its interface definitions)
// against the program's own binding: every method the program calls through
// its slot sits at that slot with the parameters the program passes, and
// every member it calls by name is there under that name.
#include <gtest/gtest.h>
#include <oaidl.h>
#include <oleauto.h>
#include <windows.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <vector>

#include "bridge/com/binding.h"
#include "e2e/harness.h"

namespace pigmentry::e2e {
namespace {

using Microsoft::WRL::ComPtr;
namespace binding = bridge::com::binding;
namespace slot = binding::slot;

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
  using bridge::ColourModel;
  const std::vector<SlotCase> cases = {
      {&binding::kIidApplication,
       "Application",
       slot::kApplicationSwitch,
       L"Switch",
       INVOKE_PROPERTYPUT,
       {VT_BOOL}},
      {&binding::kIidApplication,
       "Application",
       slot::kSelection,
       L"Selection",
       INVOKE_PROPERTYGET,
       {VT_PTR}},
      {&binding::kIidShapes,
       "Shapes",
       slot::kShapesItem,
       L"Item",
       INVOKE_FUNC,
       {VT_VARIANT, VT_PTR}},
      {&binding::kIidShapes, "Shapes", slot::kShapesCount, L"Count", INVOKE_PROPERTYGET, {VT_I4}},
      {&binding::kIidShape, "Shape", slot::kShapeOutline, L"Outline", INVOKE_PROPERTYGET, {VT_PTR}},
      {&binding::kIidShape, "Shape", slot::kShapeFill, L"Fill", INVOKE_PROPERTYGET, {VT_PTR}},
      {&binding::kIidFill, "Fill", slot::kFillType, L"Type", INVOKE_PROPERTYGET, {VT_I4}},
      {&binding::kIidFill,
       "Fill",
       slot::kFillUniformColor,
       L"UniformColor",
       INVOKE_PROPERTYGET,
       {VT_PTR}},
      {&binding::kIidOutline,
       "Outline",
       slot::kOutlineColor,
       L"Color",
       INVOKE_PROPERTYGET,
       {VT_PTR}},
      {&binding::kIidOutline, "Outline", slot::kOutlineType, L"Type", INVOKE_PROPERTYGET, {VT_I4}},
      {&binding::kIidColour, "Color", slot::kColourModel, L"Type", INVOKE_PROPERTYGET, {VT_I4}},
      {&binding::kIidColour,
       "Color",
       slot::kColourAssignRGB,
       L"RGBAssign",
       INVOKE_FUNC,
       {VT_I4, VT_I4, VT_I4}},
      {&binding::kIidColour, "Color", slot::kColourRed, L"RGBRed", INVOKE_PROPERTYGET, {VT_I4}},
      {&binding::kIidColour, "Color", slot::kColourGreen, L"RGBGreen", INVOKE_PROPERTYGET, {VT_I4}},
      {&binding::kIidColour, "Color", slot::kColourBlue, L"RGBBlue", INVOKE_PROPERTYGET, {VT_I4}},
      {&binding::kIidColour, "Color", slot::kColourToRGB, L"ConvertToRGB", INVOKE_FUNC, {}},
      {&binding::kIidColour,
       "Color",
       slot::kColourCopyFrom,
       L"CopyFrom",
       INVOKE_FUNC,
       {VT_DISPATCH}},
      {&binding::kIidColour,
       "Color",
       binding::ConvertSlot(ColourModel::CMYK),
       L"ConvertToCMYK",
       INVOKE_FUNC,
       {}},
      {&binding::kIidColour,
       "Color",
       binding::ConvertSlot(ColourModel::CMY),
       L"ConvertToCMY",
       INVOKE_FUNC,
       {}},
      {&binding::kIidColour,
       "Color",
       binding::ConvertSlot(ColourModel::HSB),
       L"ConvertToHSB",
       INVOKE_FUNC,
       {}},
      {&binding::kIidColour,
       "Color",
       binding::ConvertSlot(ColourModel::HLS),
       L"ConvertToHLS",
       INVOKE_FUNC,
       {}},
      {&binding::kIidColour,
       "Color",
       binding::ConvertSlot(ColourModel::BlackAndWhite),
       L"ConvertToBW",
       INVOKE_FUNC,
       {}},
      {&binding::kIidColour,
       "Color",
       binding::ConvertSlot(ColourModel::Grayscale),
       L"ConvertToGray",
       INVOKE_FUNC,
       {}},
      {&binding::kIidColour,
       "Color",
       binding::ConvertSlot(ColourModel::YIQ),
       L"ConvertToYIQ",
       INVOKE_FUNC,
       {}},
      {&binding::kIidColour,
       "Color",
       binding::ConvertSlot(ColourModel::Lab),
       L"ConvertToLab",
       INVOKE_FUNC,
       {}},
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
      {&binding::kIidShape, L"Fill"},        {&binding::kIidShape, L"Outline"},
      {&binding::kIidFill, L"Type"},         {&binding::kIidFill, L"UniformColor"},
      {&binding::kIidOutline, L"Type"},      {&binding::kIidOutline, L"Color"},
      {&binding::kIidColour, L"CopyAssign"}, {&binding::kIidShapes, L"_NewEnum"},
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

TEST_F(BindingTypeLibrary, TheLibraryIsAWin32One) {
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library_->GetLibAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->syskind, SYS_WIN32);
  library_->ReleaseTLibAttr(attributes);
}

}  // namespace
}  // namespace pigmentry::e2e
