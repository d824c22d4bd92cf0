// A DLL that carries a system DLL's name and sits beside the program (a
// Downloads folder, a shared drive) or in its current directory is never
// loaded in place of the system's. Under Wine an override makes Wine look
// for a native oleacc.dll as Windows does, beside the program first;
// Windows ignores it.
#include <windows.h>
// <windows.h> first: the other SDK headers build on it. initguid.h makes
// oleacc.h define IID_IAccessible here (MinGW's import library has a stub).
#include <gtest/gtest.h>
#include <initguid.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <string>
#include <utility>

#include "bridge/com/com_support.h"
#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

using bridge::com::Apartment;
using bridge::com::Bstr;
using Microsoft::WRL::ComPtr;
using platform::ControlId;

constexpr const wchar_t* kPlanted = L"oleacc.dll";
// What the planted DLL leaves beside itself when it is loaded.
constexpr const wchar_t* kEvidence = L"oleacc.dll.loaded";
constexpr const wchar_t* kProgram = L"Pigmentry.exe";

// The planted DLL, built for this bitness into a folder of its own: beside
// the tests it would stand in for their own oleacc.dll.
std::wstring BuiltPlantedDll() { return OwnFolder() + L"planted\\oleacc.dll"; }

// A fresh folder, removed with what it holds.
class TestFolder {
 public:
  explicit TestFolder(std::wstring path) : path_(std::move(path)) {
    Remove();
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder() { Remove(); }

  [[nodiscard]] const std::wstring& Path() const { return path_; }
  [[nodiscard]] std::wstring PathOf(const wchar_t* name) const { return path_ + L"\\" + name; }
  [[nodiscard]] bool CopyIn(const std::wstring& from, const wchar_t* name) const {
    return ::CopyFileW(from.c_str(), PathOf(name).c_str(), FALSE) != FALSE;
  }
  [[nodiscard]] bool Holds(const wchar_t* name) const {
    return ::GetFileAttributesW(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  void Remove() const {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(PathOf(L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
          ::DeleteFileW(PathOf(found.cFileName).c_str());
        }
      } while (::FindNextFileW(search, &found) != FALSE);
      ::FindClose(search);
    }
    ::RemoveDirectoryW(path_.c_str());
  }

  std::wstring path_;
};

// Makes Wine take a native oleacc.dll before its own in Pigmentry.exe, as
// Windows would, for the life of the object. Wine's own setting for one
// program: a WINEDLLOVERRIDES that this process sets in its environment does
// not reach the loader of the child it starts.
class NativeOleaccFirst {
 public:
  NativeOleaccFirst() {
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_,
                          nullptr) != ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    static constexpr wchar_t kOrder[] = L"native,builtin";
    set_ = ::RegSetValueExW(key_, L"oleacc", 0, REG_SZ, reinterpret_cast<const BYTE*>(kOrder),
                            sizeof(kOrder)) == ERROR_SUCCESS;
  }
  NativeOleaccFirst(const NativeOleaccFirst&) = delete;
  NativeOleaccFirst& operator=(const NativeOleaccFirst&) = delete;
  ~NativeOleaccFirst() {
    if (key_ != nullptr) {
      ::RegDeleteValueW(key_, L"oleacc");
      ::RegCloseKey(key_);
    }
  }
  [[nodiscard]] bool Set() const { return set_; }

 private:
  static constexpr const wchar_t* kKey =
      L"Software\\Wine\\AppDefaults\\Pigmentry.exe\\DllOverrides";
  HKEY key_ = nullptr;
  bool set_ = false;
};

// The accessible name of a control as an assistive tool reads it: the
// control's WM_GETOBJECT makes the program load oleacc.dll.
std::wstring AccessibleName(HWND control) {
  ComPtr<IAccessible> object;
  if (FAILED(::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible,
                                          reinterpret_cast<void**>(object.GetAddressOf())))) {
    return L"(no accessible object)";
  }
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  Bstr name;
  if (object->get_accName(self, name.Out()) != S_OK) {
    return L"(no name)";
  }
  return name.Text();
}

class PlantedDll : public testing::Test {
 protected:
  Apartment apartment;
};

// The planted DLL does leave its evidence when something loads it: its
// absence below means it was not loaded.
TEST_F(PlantedDll, LeavesEvidenceWhenLoaded) {
  const TestFolder folder(OwnFolder() + L"planted-dll-check");
  // Under another name: this process already holds the system's oleacc.dll.
  ASSERT_TRUE(folder.CopyIn(BuiltPlantedDll(), L"planted.dll"));
  // It refuses to stay loaded.
  EXPECT_EQ(::LoadLibraryW(folder.PathOf(L"planted.dll").c_str()), nullptr);
  EXPECT_TRUE(folder.Holds(L"planted.dll.loaded"));
}

struct PlantingCase {
  const char* where;
  bool programInFolder;
  bool startedInFolder;
};

TEST_F(PlantedDll, IsNeverLoadedInPlaceOfTheSystemOne) {
  const PlantingCase cases[] = {
      {"beside the program", true, false},
      {"beside the program, started in its folder", true, true},
      // The system folder comes before the current directory in the
      // system's own search, so this one holds for a DLL the system has.
      {"in the current directory", false, true},
  };
  const NativeOleaccFirst nativeFirst;
  ASSERT_TRUE(nativeFirst.Set());
  for (const PlantingCase& c : cases) {
    SCOPED_TRACE(c.where);
    const TestFolder folder(OwnFolder() + L"planted-dll-test");
    ASSERT_TRUE(folder.CopyIn(BuiltPlantedDll(), kPlanted));
    StartPlace place;
    if (c.programInFolder) {
      ASSERT_TRUE(folder.CopyIn(OwnFolder() + kProgram, kProgram));
      place.program = folder.PathOf(kProgram);
    }
    if (c.startedInFolder) {
      place.currentDirectory = folder.Path();
    }
    {
      RunningProgram program(L"", {}, place);
      ASSERT_NE(program.WaitForWindow(), nullptr);
      // The name comes from the program's own accessible object, which it
      // builds on the system's oleacc.dll.
      EXPECT_EQ(AccessibleName(program.Control(ControlId::txtC0)), L"Red");
      EXPECT_TRUE(program.Close());
    }
    EXPECT_FALSE(folder.Holds(kEvidence)) << "the planted oleacc.dll was loaded";
  }
}

}  // namespace
}  // namespace pigmentry::e2e
