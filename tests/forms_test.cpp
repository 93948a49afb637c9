#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/form.h"
#include "platform/system_metrics.h"
#include "platform/testing.h"
#include "platform/toolkit.h"
#include "rgn/mod_RGN_Proc.h"
#include "tests/scripted_play.h"

namespace {

std::vector<std::string> events;

void RecordLoad(Form& form) {
  events.push_back("load " + form.Name());
}
void RecordClose(Form& form) {
  events.push_back("close " + form.Name());
}
void AddCaption(Form& form) {
  form.AddLabel("LA").SetCaption("design");
  form.Tag = "designed";
}

const FormDesign kAlpha{
    .name = "frmAlpha", .design = AddCaption, .load = RecordLoad, .close = RecordClose};
const FormDesign kBeta{.name = "frmBeta", .load = RecordLoad, .close = RecordClose};
// Closing the holder closes the others first, as a menu holder does.
void CloseOthers(Form& form) {
  RecordClose(form);
  UnloadAllFormsExcept(form.Name());
}
const FormDesign kHolder{.name = "frmHolder", .load = RecordLoad, .close = CloseOthers};

class Forms : public testing::Test {
 protected:
  void TearDown() override { UnloadAllFormsExcept(""); }
};

TEST_F(Forms, ReferenceLoadsOnceUnloadGivesAFreshFormAndUnloadAllSurvivesHandlersUnloadingMore) {
  events.clear();
  Form& alpha = Reference(kAlpha);
  EXPECT_EQ(&Reference(kAlpha), &alpha) << "a loaded form is not loaded again";
  alpha.Label("LA").SetCaption("changed");
  alpha.Tag = "changed";
  EXPECT_TRUE(Unload(alpha));
  EXPECT_FALSE(IsLoaded("frmAlpha"));
  Form& again = Reference(kAlpha);
  EXPECT_EQ(again.Label("LA").Caption(), "design");
  EXPECT_EQ(again.Tag, "designed");

  Reference(kBeta);
  UnloadAllFormsExcept("frmBeta");
  EXPECT_EQ(LoadedFormNames(), std::vector<std::string>{"frmBeta"});
  UnloadAllFormsExcept("frmbeta");  // names compare case-sensitively
  EXPECT_TRUE(LoadedFormNames().empty());

  Reference(kHolder);
  Reference(kAlpha);
  Reference(kBeta);
  UnloadAllFormsExcept("");
  EXPECT_TRUE(LoadedFormNames().empty());
  EXPECT_EQ(events, (std::vector<std::string>{
                        "load frmAlpha", "close frmAlpha", "load frmAlpha", "load frmBeta",
                        "close frmAlpha", "close frmBeta", "load frmHolder", "load frmAlpha",
                        "load frmBeta", "close frmHolder", "close frmAlpha", "close frmBeta"}));
}

TEST_F(Forms, ComposedImageShowsTheLabelsOverTheImage) {
  Form& alpha = Reference(kAlpha);
  alpha.SetBackColor(kWhite);
  alpha.SetWidth(300);   // 20 px
  alpha.SetHeight(150);  // 10 px
  alpha.Cls();
  TextLabel& label = alpha.Label("LA");
  label.SetCaption("");
  label.SetBackColor(Rgb(192, 192, 255));
  label.Move(150, 75, 75, 45);  // 5 x 3 px at (10, 5)
  Snapshot shot = Compose(alpha);
  ASSERT_EQ(std::pair(shot.width, shot.height), std::pair(20, 10));
  EXPECT_EQ(shot.ColorAt(10, 5), Rgb(192, 192, 255));
  EXPECT_EQ(shot.ColorAt(14, 7), Rgb(192, 192, 255));
  EXPECT_EQ(shot.ColorAt(15, 7), kWhite);
  EXPECT_EQ(shot.ColorAt(9, 5), kWhite);
  label.SetVisible(false);
  EXPECT_EQ(Compose(alpha).ColorAt(10, 5), kWhite);
}

TEST(Desktop, TheLayoutLiesOnThePrimaryMonitorAndBorderlessWindowsKeepOffPanels) {
  // A primary monitor right of another one, with a panel along its top.
  DisplayMetrics metrics{.width_px = 1920,
                         .height_px = 1080,
                         .work_area_bottom_px = 1080,
                         .caption_px = 19,
                         .left_px = 1280,
                         .top_px = 0,
                         .work_area = {1280, 30, 1920, 1050}};
  OverrideDisplayMetrics(&metrics);
  auto same = [](PixelRect a, PixelRect b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
  };
  EXPECT_TRUE(same(DesktopRect({0, 0, 1920, 1080}, true), {1280, 30, 1920, 1050}))
      << "a window over the whole monitor is cut to its usable area";
  EXPECT_TRUE(same(DesktopRect({0, 0, 1920, 1080}, false), {1280, 0, 1920, 1080}));
  EXPECT_TRUE(same(DesktopRect({932, 991, 34, 35}, true), {2212, 991, 34, 35}))
      << "a window inside the usable area only moves to the monitor";
  EXPECT_TRUE(same(DesktopRect({10, 0, 50, 20}, true), {1290, 0, 50, 20}))
      << "nothing left after cutting: kept whole";
  OverrideDisplayMetrics(nullptr);
}

TEST(ShellUtilities, WaitPumpsOnceThenSleeps) {
  ScriptedPlay play;
  WaitMilliseconds(1800);
  EXPECT_EQ(play.Pumps(), 1u);
  EXPECT_EQ(play.Elapsed(), 1801u);
}

}  // namespace
