// The desktop watch against a private X server: docks' reserved edges where no window manager
// publishes a work area, and the game's windows kept above other programs' windows.

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/x11/desktop_watch.h"

namespace {

struct Disconnect {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

class DesktopWatchTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    game_.reset(xcb_connect(nullptr, nullptr));
    other_.reset(xcb_connect(nullptr, nullptr));
    watch_ = DesktopWatch::Open(game_.get());
    ASSERT_NE(watch_, nullptr);
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(other_.get())).data;
  }
  void TearDown() override {
    for (auto [c, window] : made_)
      xcb_destroy_window(c, window);
    if (other_) xcb_flush(other_.get());
    if (game_) xcb_flush(game_.get());
  }

  xcb_atom_t Atom(std::string_view name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(
            other_.get(),
            xcb_intern_atom(other_.get(), 0, static_cast<uint16_t>(name.size()), name.data()),
            nullptr),
        &std::free);
    return reply->atom;
  }

  xcb_window_t Window(xcb_connection_t* c, int x, int y, int width, int height) {
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen_->root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(width),
                      static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    made_.emplace_back(c, window);
    return window;
  }

  // A dock with _NET_WM_STRUT_PARTIAL, mapped once the requests are sent.
  xcb_window_t Dock(const std::vector<uint32_t>& strut) {
    const xcb_window_t dock = Window(other_.get(), 0, 0, 10, 10);
    xcb_change_property(other_.get(), XCB_PROP_MODE_REPLACE, dock, Atom("_NET_WM_STRUT_PARTIAL"),
                        XCB_ATOM_CARDINAL, 32, static_cast<uint32_t>(strut.size()), strut.data());
    xcb_map_window(other_.get(), dock);
    return dock;
  }

  // Sends what the other client asked for, then takes in events until the watch reports a
  // change of the docks, for at most 5 s.
  bool DocksChange() {
    xcb_flush(other_.get());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
      if (watch_->TakeEvents()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  // The root's children from the top down, of those given, once the server has done what the
  // game asked for.
  std::vector<xcb_window_t> Stacking(const std::vector<xcb_window_t>& of) {
    free(xcb_get_input_focus_reply(game_.get(), xcb_get_input_focus(game_.get()), nullptr));
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(other_.get(), xcb_query_tree(other_.get(), screen_->root), nullptr),
        &std::free);
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    std::vector<xcb_window_t> order;
    for (int i = xcb_query_tree_children_length(tree.get()) - 1; i >= 0; --i) {
      for (xcb_window_t window : of)
        if (children[i] == window) order.push_back(window);
    }
    return order;
  }

  Connection game_;
  Connection other_;
  std::unique_ptr<DesktopWatch> watch_;
  const xcb_screen_t* screen_ = nullptr;
  std::vector<std::pair<xcb_connection_t*, xcb_window_t>> made_;
};

TEST_F(DesktopWatchTest, DocksReserveTheEdgesOfTheMonitorsTheyReach) {
  const int width = screen_->width_in_pixels;
  const int height = screen_->height_in_pixels;
  const PixelRect left{0, 0, width / 2, height};
  const PixelRect right{width / 2, 0, width - width / 2, height};
  ASSERT_TRUE(watch_->FreeArea(left)) << "no work area is published on this server";

  // 40 px along the bottom of the left monitor only, and 30 px down the left edge.
  const xcb_window_t bottom =
      Dock({0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, static_cast<uint32_t>(width / 2 - 1)});
  ASSERT_TRUE(DocksChange());
  Dock({30, 0, 0, 0, 0, static_cast<uint32_t>(height - 1), 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(DocksChange());
  EXPECT_EQ(*watch_->FreeArea(left), (PixelRect{30, 0, width / 2 - 30, height - 40}));
  EXPECT_EQ(*watch_->FreeArea(right), right);

  // The bottom dock grows across both monitors, then goes.
  const std::vector<uint32_t> wide{0, 0, 0, 60, 0, 0, 0, 0, 0, 0, 0, static_cast<uint32_t>(width)};
  xcb_change_property(other_.get(), XCB_PROP_MODE_REPLACE, bottom, Atom("_NET_WM_STRUT_PARTIAL"),
                      XCB_ATOM_CARDINAL, 32, 12, wide.data());
  ASSERT_TRUE(DocksChange());
  EXPECT_EQ(watch_->FreeArea(right)->height, height - 60);
  xcb_unmap_window(other_.get(), bottom);
  ASSERT_TRUE(DocksChange());
  EXPECT_EQ(*watch_->FreeArea(right), right);

  // Once a window manager publishes a work area, that one counts.
  const uint32_t area[] = {0, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height - 25)};
  xcb_change_property(other_.get(), XCB_PROP_MODE_REPLACE, screen_->root, Atom("_NET_WORKAREA"),
                      XCB_ATOM_CARDINAL, 32, 4, area);
  ASSERT_TRUE(DocksChange());
  EXPECT_FALSE(watch_->FreeArea(left));
  xcb_delete_property(other_.get(), screen_->root, Atom("_NET_WORKAREA"));
  ASSERT_TRUE(DocksChange());
}

TEST_F(DesktopWatchTest, KeepsTheGamesWindowsAboveOthersButNotAboveItsOwn) {
  const xcb_window_t strip = Window(game_.get(), 0, 0, 50, 20);
  const xcb_window_t cursor = Window(game_.get(), 0, 0, 20, 20);
  for (xcb_window_t window : {strip, cursor}) {
    xcb_map_window(game_.get(), window);
    watch_->KeepAbove(window);
  }
  xcb_flush(game_.get());

  // Another program maps a window over them: both go back on top, in their order.
  const xcb_window_t other = Window(other_.get(), 0, 0, 100, 100);
  xcb_map_window(other_.get(), other);
  xcb_flush(other_.get());
  auto kept_on_top = [&] {
    for (int i = 0; i < 500; ++i) {
      watch_->TakeEvents();
      if (Stacking({strip, cursor, other}) == std::vector{cursor, strip, other}) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  };
  EXPECT_TRUE(kept_on_top());

  // It raises its window again: the same.
  const uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(other_.get(), other, XCB_CONFIG_WINDOW_STACK_MODE, &above);
  xcb_flush(other_.get());
  EXPECT_TRUE(kept_on_top());

  // The game's own menu over them stays there.
  const xcb_window_t menu = Window(game_.get(), 0, 0, 30, 30);
  xcb_map_window(game_.get(), menu);
  xcb_flush(game_.get());
  for (int i = 0; i < 20; ++i) {
    watch_->TakeEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(Stacking({strip, cursor, menu}), (std::vector<xcb_window_t>{menu, cursor, strip}));
}

}  // namespace
