#include "app/command_line.h"

#include <algorithm>

#include "platform/ui.h"

namespace pigmentry::app::CommandLine {

namespace {

constexpr wchar_t kTab = L'\t';
constexpr wchar_t kBlank = L' ';
constexpr wchar_t kQuote = L'"';

bool IsSeparator(wchar_t ch) { return ch == kTab || ch == kBlank; }

// Where the run of characters from `from` that continue an argument ends:
// at the next quote, or the next blank or tab outside quotes.
std::size_t EndOfOrdinary(std::wstring_view args, std::size_t from, bool inQuotes) {
  const std::wstring_view stops = inQuotes ? L"\"" : L"\" \t";
  return std::min(args.find_first_of(stops, from), args.size());
}

}  // namespace

std::vector<std::wstring> SplitArguments(std::wstring_view args, std::int32_t limit) {
  const std::int32_t maxArguments = std::max<std::int32_t>(limit, 0);
  std::vector<std::wstring> result(1);
  bool inArgument = false;
  bool inQuotes = false;
  for (std::size_t at = 0; at < args.size(); ++at) {
    const wchar_t ch = args[at];
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
    // It and the ordinary characters after it go in at once.
    const std::size_t end = EndOfOrdinary(args, at + 1, inQuotes);
    result.back().append(args.substr(at, end - at));
    at = end - 1;
  }
  return result;
}

std::vector<std::wstring> SplitCommandLine(const platform::Window& me, std::int32_t limit) {
  return SplitArguments(me.CommandArgs(), limit);
}

}  // namespace pigmentry::app::CommandLine
