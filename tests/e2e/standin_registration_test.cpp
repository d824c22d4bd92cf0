// The stand-in host's registration in the test prefix, as the real host's
// 32-bit installer leaves it on a 64-bit Windows: the class and its ProgID
// in the 32-bit registry view only, a local server, and a win32 type library.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "bridge/com/binding.h"
#include "support/registry.h"

namespace pigmentry::e2e {
namespace {

TEST(StandInRegistration, IsWhatTheHostsThirtyTwoBitInstallerLeaves) {
  const std::wstring application = L"CLSID\\" + GuidText(CLSID_ApplicationClass);
  const std::wstring colour = L"CLSID\\" + GuidText(CLSID_ColorClass);

  for (const std::wstring& key : {application, colour}) {
    std::wstring server;
    ASSERT_TRUE(ReadClassesValue(key + L"\\LocalServer32", KEY_WOW64_32KEY, &server)) << key;
    EXPECT_NE(server.find(L"pigmentry_standin"), std::wstring::npos) << server;
    EXPECT_FALSE(ReadClassesValue(key + L"\\InprocServer32", KEY_WOW64_32KEY)) << key;
    EXPECT_FALSE(ReadClassesValue(key, KEY_WOW64_64KEY)) << key << " in the 64-bit view";
  }

  // The ProgID is one of the keys the two views share (Windows 7 on): the
  // 32-bit installer's lands there, where a 64-bit process asking for the
  // 32-bit view does not look under Wine; the 64-bit stand-in, used where no
  // 32-bit program runs, writes it into the 32-bit view.
  const std::wstring progId = host_class::kApplicationProgId;
  std::wstring progIdClass;
  ASSERT_TRUE(ReadClassesValue(progId + L"\\CLSID", KEY_WOW64_32KEY, &progIdClass) ||
              ReadClassesValue(progId + L"\\CLSID", 0, &progIdClass));
  EXPECT_EQ(progIdClass, GuidText(CLSID_ApplicationClass));
  std::wstring classProgId;
  ASSERT_TRUE(ReadClassesValue(application + L"\\ProgID", KEY_WOW64_32KEY, &classProgId));
  EXPECT_EQ(classProgId, progId);

  // The type library: its win32 entry, no win64 one, and the interfaces'
  // marshaler keys pointing at it.
  const std::wstring libraryId = GuidText(LIBID_PigmentryStandInHost);
  const std::wstring library = L"TypeLib\\" + libraryId + L"\\1.0\\0\\";
  std::wstring file;
  ASSERT_TRUE(ReadClassesValue(library + L"win32", 0, &file));
  EXPECT_NE(file.find(L"pigmentry_binding.tlb"), std::wstring::npos) << file;
  EXPECT_FALSE(ReadClassesValue(library + L"win64", 0));
  for (const IID* iid :
       {&IID_IApplication, &IID_IShapes, &IID_IShape, &IID_IFill, &IID_IOutline, &IID_IColor}) {
    const std::wstring key = L"Interface\\" + GuidText(*iid);
    std::wstring marshaler;
    ASSERT_TRUE(ReadClassesValue(key + L"\\ProxyStubClsid32", 0, &marshaler)) << key;
    EXPECT_EQ(marshaler, L"{00020424-0000-0000-C000-000000000046}") << key;
    std::wstring owner;
    ASSERT_TRUE(ReadClassesValue(key + L"\\TypeLib", 0, &owner)) << key;
    EXPECT_EQ(owner, libraryId) << key;
  }
}

}  // namespace
}  // namespace pigmentry::e2e
