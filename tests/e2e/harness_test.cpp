// The harness as the end-to-end tests rely on it: what it is asked to do and
// cannot do fails the test that asked, with the system's reason.
#include "support/harness.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>

namespace pigmentry::e2e {
namespace {

// For every end-to-end test: a harness failure is a failure of the running
// test.
class HarnessFailuresFailTheTest : public ::testing::Environment {
 public:
  void SetUp() override {
    OnHarnessFailure([](const std::string& what) { ADD_FAILURE() << what; });
  }
};

[[maybe_unused]] ::testing::Environment* const kHarnessFailures =
    ::testing::AddGlobalTestEnvironment(new HarnessFailuresFailTheTest);

TEST(Harness, AProgramThatCannotStartFailsTheTestWithTheSystemsError) {
  EXPECT_NONFATAL_FAILURE(
      {
        const RunningProgram program(L"", {}, {OwnFolder() + L"no_such_program.exe", L""});
      },
      "no_such_program.exe\": Win32 error 2 (");
}

}  // namespace
}  // namespace pigmentry::e2e
