#include <gtest/gtest.h>
#include "platform/toolkit.h"
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  Application toolkit(argc, argv);
  return RUN_ALL_TESTS();
}
