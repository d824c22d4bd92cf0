// Splitting the argument string into arguments.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/form_fixture.h"

namespace pigmentry::app::CommandLine {
namespace {

using Args = std::vector<std::wstring>;

// n words "a", "b", ... (cycling through the alphabet), one blank apart.
std::wstring Words(int n) {
  std::wstring text;
  for (int i = 0; i < n; ++i) {
    if (i > 0) {
      text += L' ';
    }
    text += static_cast<wchar_t>(L'a' + i % 26);
  }
  return text;
}

Args FirstWords(int n) {
  Args words;
  for (int i = 0; i < n; ++i) {
    words.emplace_back(1, static_cast<wchar_t>(L'a' + i % 26));
  }
  return words;
}

struct SplitCase {
  const char* name;
  std::wstring args;
  std::int32_t limit;
  Args expected;        // elements 1 to n
  std::wstring zero{};  // the spare element 0
};

TEST(SplitArguments, SplitsAtBlanksAndTabsAndHonoursQuotesAndTheLimit) {
  const SplitCase cases[] = {
      {"empty", L"", 256, {}},
      {"blanks and tabs only", L"  \t \t", 256, {}},
      {"runs of separators count as one", L"  a  \tb ", 256, {L"a", L"b"}},
      {"two options", L"/x=10 /y=20", 256, {L"/x=10", L"/y=20"}},
      {"quoted blank joins", L"\"a b\" c", 256, {L"a b", L"c"}},
      {"quotes inside an argument", L"ab\"c d\"e", 256, {L"abc de"}},
      {"quoted blank inside an argument", L"a\" \"b", 256, {L"a b"}},
      {"empty quotes between arguments", L"a \"\" b", 256, {L"a", L"b"}},
      {"empty quotes alone", L"\"\"", 256, {}},
      {"unclosed quote runs to the end", L"\"a b", 256, {L"a b"}},
      {"backslash is ordinary", L"a\\\"b c\"", 256, {L"a\\b c"}},
      {"carriage return and line feed are ordinary", L"a\r\nb c", 256, {L"a\r\nb", L"c"}},
      {"tab inside quotes is kept", L"\"a\tb\"", 256, {L"a\tb"}},
      {"257 words, limit 256", Words(257), 256, FirstWords(256)},
      {"256 words, limit 256", Words(256), 256, FirstWords(256)},
      {"text after the first dropped argument is dropped too", L"a b \"c d\" e", 2, {L"a", L"b"}},
      {"limit 0", L"a b", 0, {}},
      {"negative limit reads nothing", L"a b", -5, {}},
      {"limit 1", L"  first second", 1, {L"first"}},
      // A quoted blank while no argument is in progress begins none: it
      // joins the argument begun last, or element 0 before the first.
      {"quoted blank after a separator joins the argument before", L"x \" y\"", 256, {L"x ", L"y"}},
      {"quoted blank at the start goes to element 0", L"\" \"", 256, {}, L" "},
      {"quoted blanks before the first argument", L"\" \t\"a", 256, {L"a"}, L" \t"},
      {"a quoted option after a blank stays an option",
       L"/x=1 \" /y=2\"",
       256,
       {L"/x=1 ", L"/y=2"}},
      {"quoted blank does not count against the limit", L"x \" y\"", 1, {L"x "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Args result = SplitArguments(c.args, c.limit);
    ASSERT_FALSE(result.empty());
    EXPECT_EQ(result[0], c.zero) << "element 0 is a spare slot";
    EXPECT_EQ(Args(result.begin() + 1, result.end()), c.expected);
  }
}

TEST(SplitCommandLine, ReadsTheArgumentPartOfTheRunningProgram) {
  testing_support::FormFixture fx;
  fx.form.Me().SetCommandArgs(L"/layout=2 \"/x=1 0\"");
  EXPECT_EQ(SplitCommandLine(fx.form.Me(), 256), (Args{L"", L"/layout=2", L"/x=1 0"}));
  EXPECT_EQ(SplitCommandLine(fx.form.Me(), 1), (Args{L"", L"/layout=2"}));
}

}  // namespace
}  // namespace pigmentry::app::CommandLine
