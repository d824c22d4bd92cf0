// DLLs of the system come from the system folder only: a file of the same
// name beside the program or in its current directory (a Downloads folder, a
// shared drive) is never loaded in place of the system's.
#pragma once

#include <windows.h>

namespace pigmentry::platform::win32 {

// Takes the current directory, and where the system allows the program's
// own folder, out of the search for every DLL loaded by name from here on,
// by the program or by the system DLLs it calls. The first thing the
// program does.
void KeepDllSearchInSystemFolder();

// Loads a DLL of the system folder by its full path (e.g. L"oleacc.dll");
// nullptr when it cannot. The DLLs it loads in turn are looked for in the
// system folder first, not in the program's.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace pigmentry::platform::win32
