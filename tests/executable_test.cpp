#include <gtest/gtest.h>

#include "platform/testing.h"
#include "platform/toolkit.h"

namespace {

TEST(Executable, AnUnreadableLinkToItEndsTheProgramWithOneLineUnderAFixedName) {
  EXPECT_EXIT(App::FindExecutable("/nonexistent/exe"), testing::ExitedWithCode(1),
              "(^|\n)noruka-keisan: cannot find the running executable: [^\n]*\n$");
}

}  // namespace
