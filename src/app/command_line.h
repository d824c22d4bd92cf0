// Module CommandLine: splits the program's argument string into arguments.
//
// Blanks and tabs separate arguments; double quotes make blanks and tabs
// part of an argument and are removed. There is no escape character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pigmentry::platform {
class Window;
}

namespace pigmentry::app::CommandLine {

// The arguments in elements 1 to n, in the order in which they begin;
// element 0 is a spare slot, so the result holds n + 1 elements. It stays
// empty but for blanks and tabs quoted before the first argument begins. At most `limit` arguments
// are read (none for a limit below 1): the scan ends at the first character of the argument beyond
// it.
[[nodiscard]] std::vector<std::wstring> SplitArguments(std::wstring_view args, std::int32_t limit);

// SplitArguments on the argument part of the running program's command line.
[[nodiscard]] std::vector<std::wstring> SplitCommandLine(const platform::Window& me,
                                                         std::int32_t limit);

}  // namespace pigmentry::app::CommandLine
