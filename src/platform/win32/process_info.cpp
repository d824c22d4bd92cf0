// What the program knows of its own process: the name it was started as
// and the arguments it was given.
#include <string>
#include <string_view>

#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

std::wstring Win32Form::ExeName() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring Win32Form::CommandArgs() const {
  // The command line without the program's own path: a quoted path ends at
  // the closing quote, an unquoted one at the first blank or tab.
  const std::wstring_view line = ::GetCommandLineW();
  std::size_t at = 0;
  if (!line.empty() && line[0] == L'"') {
    const std::size_t close = line.find(L'"', 1);
    at = close == std::wstring_view::npos ? line.size() : close + 1;
  }
  while (at < line.size() && line[at] != L' ' && line[at] != L'\t') {
    ++at;
  }
  while (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) {
    ++at;
  }
  return std::wstring(line.substr(at));
}

}  // namespace pigmentry::platform::win32
