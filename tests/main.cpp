#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/application.h"

int main(int argc, char** argv) {
  // Pixels are checked without a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // A death test runs again in a child that ends without its destructors, so what the tests
  // make in the temporary folder goes into one of this run's own, removed at its end; the
  // children inherit it.
  std::filesystem::path scratch;
  if (!std::getenv("NORUKA_TEST_TMPDIR")) {
    std::string pattern = (std::filesystem::temp_directory_path() / "noruka-tests-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    scratch = pattern;
    setenv("NORUKA_TEST_TMPDIR", pattern.c_str(), 1);
    setenv("TMPDIR", pattern.c_str(), 1);
  }
  int status;
  {
    Application toolkit(argc, argv);
    status = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
  return status;
}
