#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/form.h"
#include "platform/system_metrics.h"
#include "platform/testing.h"

namespace {

std::vector<std::string> closed;

void RecordClose(Form& form) {
  closed.push_back(form.Name());
}
// Closing the holder closes the others first, as a menu holder does.
void CloseOthers(Form& form) {
  RecordClose(form);
  UnloadAllFormsExcept(form.Name());
}
const FormDesign kAlpha{.name = "frmAlpha", .close = RecordClose};
const FormDesign kBeta{.name = "frmBeta", .close = RecordClose};
const FormDesign kHolder{.name = "frmHolder", .close = CloseOthers};

TEST(Forms, UnloadAllFormsExceptClosesEveryOtherFormEvenWhileHandlersUnloadMore) {
  Reference(kAlpha);
  Reference(kBeta);
  UnloadAllFormsExcept("frmBeta");
  EXPECT_EQ(LoadedFormNames(), std::vector<std::string>{"frmBeta"});
  UnloadAllFormsExcept("frmbeta");  // names compare case-sensitively
  EXPECT_TRUE(LoadedFormNames().empty());

  Reference(kHolder);
  Reference(kAlpha);
  Reference(kBeta);
  closed.clear();
  UnloadAllFormsExcept("");
  EXPECT_TRUE(LoadedFormNames().empty());
  EXPECT_EQ(closed, (std::vector<std::string>{"frmHolder", "frmAlpha", "frmBeta"}));
}

// A primary monitor right of another one, with a panel along its top.
TEST(Desktop, TheLayoutLiesOnThePrimaryMonitorAndBorderlessWindowsKeepOffPanels) {
  const DisplayMetrics metrics{.left_px = 1280, .work_area = {1280, 30, 1920, 1050}};
  OverrideDisplayMetrics(&metrics);
  auto on_desktop = [](PixelRect layout, bool inside_work_area) {
    const PixelRect r = DesktopRect(layout, inside_work_area);
    return std::tuple(r.x, r.y, r.width, r.height);
  };
  EXPECT_EQ(on_desktop({0, 0, 1920, 1080}, true), std::tuple(1280, 30, 1920, 1050))
      << "a window over the whole monitor is cut to its usable area";
  EXPECT_EQ(on_desktop({0, 0, 1920, 1080}, false), std::tuple(1280, 0, 1920, 1080));
  EXPECT_EQ(on_desktop({932, 991, 34, 35}, true), std::tuple(2212, 991, 34, 35))
      << "a window inside the usable area only moves to the monitor";
  EXPECT_EQ(on_desktop({10, 0, 50, 20}, true), std::tuple(1290, 0, 50, 20))
      << "nothing left after cutting: kept whole";
  OverrideDisplayMetrics(nullptr);
}

}  // namespace
