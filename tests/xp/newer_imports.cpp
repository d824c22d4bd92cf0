// A program built the default way, for newer Windows: it imports
// GetTickCount64 (Vista's kernel32) and wcscpy_s (Vista's msvcrt.dll), and
// its header asks for the linker's default system version. The XP import
// check must refuse it (checks_catch_faults.sh).
#include <windows.h>

#include <cwchar>

int main() {
  wchar_t text[8] = {};
  wcscpy_s(text, L"tick");
  return static_cast<int>(::GetTickCount64() % 2) + text[0];
}
