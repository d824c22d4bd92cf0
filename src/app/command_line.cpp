#include "app/command_line.h"

#include <algorithm>

#include "platform/ui.h"

namespace pigmentry::app::CommandLine {

namespace {

constexpr wchar_t kTab = L'\t';
constexpr wchar_t kBlank = L' ';
constexpr wchar_t kQuote = L'"';

bool IsSeparator(wchar_t ch) { return ch == kTab || ch == kBlank; }

}  // namespace

std::vector<std::wstring> SplitArguments(std::wstring_view args, std::int32_t limit) {
  const std::int32_t maxArguments = std::max<std::int32_t>(limit, 0);
  std::vector<std::wstring> result(1);
  bool inArgument = false;
  bool inQuotes = false;
  for (const wchar_t ch : args) {
    if (ch == kQuote) {
      // A quote neither begins nor ends an argument.
      inQuotes = !inQuotes;
      continue;
    }
    if (IsSeparator(ch) && !inQuotes) {
      inArgument = false;
      continue;
    }
    if (IsSeparator(ch) && !inArgument) {
      // A blank or tab inside quotes with no argument in progress begins
      // none: it joins the argument begun last, or the spare element 0
      // before any has begun. So `/x=1 " /y=2"` still reads as two options.
      result.back().push_back(ch);
      continue;
    }
    // An ordinary character begins an argument when none is in progress.
    if (!inArgument) {
      if (static_cast<std::int32_t>(result.size()) - 1 == maxArguments) {
        break;
      }
      inArgument = true;
      result.emplace_back();
    }
    result.back().push_back(ch);
  }
  return result;
}

std::vector<std::wstring> SplitCommandLine(const platform::Window& me, std::int32_t limit) {
  return SplitArguments(me.CommandArgs(), limit);
}

}  // namespace pigmentry::app::CommandLine
