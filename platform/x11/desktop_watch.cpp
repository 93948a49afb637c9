#include "platform/x11/desktop_watch.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace {

struct Free {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, Free>;

xcb_atom_t Intern(xcb_connection_t* c, std::string_view name) {
  Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.data()), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// A window's CARDINAL list, empty when it has none or is gone.
std::vector<uint32_t> Cardinals(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property) {
  Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 64), nullptr));
  if (!reply || reply->format != 32) return {};
  const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
  return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::vector<xcb_window_t> Children(xcb_connection_t* c, xcb_window_t window) {
  Reply<xcb_query_tree_reply_t> reply(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
  if (!reply) return {};
  const xcb_window_t* children = xcb_query_tree_children(reply.get());
  return {children, children + xcb_query_tree_children_length(reply.get())};
}

bool Viewable(xcb_connection_t* c, xcb_window_t window) {
  Reply<xcb_get_window_attributes_reply_t> reply(
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
  return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The first value of a window's property of that type, as bytes; empty when it has none.
std::string Property(xcb_connection_t* c, xcb_window_t window, std::string_view name,
                     xcb_atom_t type) {
  Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, Intern(c, name), type, 0, 256), nullptr));
  if (!reply || reply->type != type) return "";
  const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
  return {data, data + xcb_get_property_value_length(reply.get())};
}

}  // namespace

std::string WindowManagerName(xcb_connection_t* c) {
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const std::string check = Property(c, root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
  if (check.size() != sizeof(xcb_window_t)) return "";
  xcb_window_t window = 0;
  std::copy(check.begin(), check.end(), reinterpret_cast<char*>(&window));
  return Property(c, window, "_NET_WM_NAME", Intern(c, "UTF8_STRING"));
}

// A dock's reserved edges: left, right, top, bottom, then the start and end of each along its
// edge, as _NET_WM_STRUT_PARTIAL lists them.
struct DesktopWatch::Strut {
  std::array<uint32_t, 12> values{};
};

struct DesktopWatch::Connection {
  xcb_connection_t* c = nullptr;
  xcb_window_t root = 0;
  // Every window of the toolkit's connection has an id of this client's range.
  uint32_t toolkit_base = 0;
  uint32_t toolkit_mask = 0;
  xcb_atom_t work_area = 0;
  xcb_atom_t strut = 0;
  xcb_atom_t strut_partial = 0;
  int root_width = 0;
  int root_height = 0;

  ~Connection() {
    if (c) xcb_disconnect(c);
  }
  bool Toolkits(xcb_window_t window) const { return (window & ~toolkit_mask) == toolkit_base; }
};

std::unique_ptr<DesktopWatch> DesktopWatch::Open(xcb_connection_t* toolkit) {
  auto connection = std::make_unique<Connection>();
  Connection& w = *connection;
  w.c = xcb_connect(nullptr, nullptr);
  if (!toolkit || xcb_connection_has_error(w.c)) return nullptr;
  const xcb_setup_t* setup = xcb_get_setup(toolkit);
  w.toolkit_base = setup->resource_id_base;
  w.toolkit_mask = setup->resource_id_mask;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(w.c)).data;
  w.root = screen->root;
  w.root_width = screen->width_in_pixels;
  w.root_height = screen->height_in_pixels;
  w.work_area = Intern(w.c, "_NET_WORKAREA");
  w.strut = Intern(w.c, "_NET_WM_STRUT");
  w.strut_partial = Intern(w.c, "_NET_WM_STRUT_PARTIAL");
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                        XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(w.c, w.root, XCB_CW_EVENT_MASK, &mask);
  std::unique_ptr<DesktopWatch> watch(new DesktopWatch(std::move(connection)));
  watch->ReadStruts();
  xcb_flush(w.c);
  return watch;
}

DesktopWatch::DesktopWatch(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection)) {}

DesktopWatch::~DesktopWatch() = default;

int DesktopWatch::Descriptor() const {
  return xcb_get_file_descriptor(connection_->c);
}

void DesktopWatch::KeepAbove(unsigned long window) {
  Forget(window);
  kept_.push_back(window);
}

void DesktopWatch::Forget(unsigned long window) {
  std::erase(kept_, window);
}

bool DesktopWatch::TakeEvents() {
  Connection& w = *connection_;
  bool raise = false;
  bool docks_changed = false;
  bool read_struts = false;
  while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(w.c)}) {
    // The toolkit's own windows come and go and restack as the game says: they fight nothing.
    switch (event->response_type & 0x7F) {
      case XCB_MAP_NOTIFY: {
        auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
        if (map->event != w.root || w.Toolkits(map->window)) break;
        raise = true;
        read_struts = true;
        break;
      }
      case XCB_CONFIGURE_NOTIFY: {
        auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(event.get());
        if (configure->window == w.root) {
          w.root_width = configure->width;
          w.root_height = configure->height;
          read_struts = true;
        } else if (configure->event == w.root && !w.Toolkits(configure->window)) {
          raise = true;
        }
        break;
      }
      case XCB_CIRCULATE_NOTIFY: {
        auto* circulate = reinterpret_cast<xcb_circulate_notify_event_t*>(event.get());
        if (!w.Toolkits(circulate->window)) raise = true;
        break;
      }
      case XCB_UNMAP_NOTIFY:
      case XCB_DESTROY_NOTIFY:
      case XCB_REPARENT_NOTIFY:
        read_struts = true;
        break;
      case XCB_PROPERTY_NOTIFY: {
        auto* property = reinterpret_cast<xcb_property_notify_event_t*>(event.get());
        if (property->atom == w.work_area || property->atom == w.strut ||
            property->atom == w.strut_partial) {
          read_struts = true;
        }
        break;
      }
      default:
        break;  // errors about windows gone meanwhile, and events of no interest
    }
  }
  if (read_struts) {
    const std::vector<Strut> before = struts_;
    const bool published_before = work_area_published_;
    ReadStruts();
    docks_changed =
        published_before != work_area_published_ ||
        !std::equal(before.begin(), before.end(), struts_.begin(), struts_.end(),
                    [](const Strut& a, const Strut& b) { return a.values == b.values; });
  }
  if (raise) Raise();
  xcb_flush(w.c);
  return docks_changed;
}

void DesktopWatch::Raise() {
  const uint32_t above = XCB_STACK_MODE_ABOVE;
  for (unsigned long window : kept_) {
    xcb_configure_window(connection_->c, static_cast<xcb_window_t>(window),
                         XCB_CONFIG_WINDOW_STACK_MODE, &above);
  }
}

void DesktopWatch::ReadStruts() {
  Connection& w = *connection_;
  work_area_published_ = !Cardinals(w.c, w.root, w.work_area).empty();
  struts_.clear();
  if (work_area_published_) return;
  // Docks are children of the root, or of the frame a reparenting window manager gave them.
  std::vector<xcb_window_t> windows = Children(w.c, w.root);
  for (size_t i = 0, top_level = windows.size(); i < top_level; ++i) {
    if (w.Toolkits(windows[i])) continue;
    for (xcb_window_t child : Children(w.c, windows[i]))
      windows.push_back(child);
  }
  const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  for (xcb_window_t window : windows) {
    std::vector<uint32_t> values = Cardinals(w.c, window, w.strut_partial);
    if (values.size() < 12) values = Cardinals(w.c, window, w.strut);
    if (values.size() < 4 || !Viewable(w.c, window)) continue;
    Strut strut;
    std::copy_n(values.begin(), std::min<size_t>(values.size(), 12), strut.values.begin());
    if (values.size() < 12) {
      // Without the partial form, each edge is reserved along its whole length.
      for (size_t edge = 0; edge < 4; ++edge)
        strut.values[5 + 2 * edge] = UINT32_MAX;
    }
    struts_.push_back(strut);
    // A dock that changes its reserved edges tells it through this window's properties.
    xcb_change_window_attributes(w.c, window, XCB_CW_EVENT_MASK, &mask);
  }
}

std::optional<PixelRect> DesktopWatch::FreeArea(const PixelRect& monitor) const {
  if (work_area_published_) return std::nullopt;
  const Connection& w = *connection_;
  const int monitor_right = monitor.x + monitor.width;
  const int monitor_bottom = monitor.y + monitor.height;
  int left = monitor.x;
  int top = monitor.y;
  int right = monitor_right;
  int bottom = monitor_bottom;
  // Whether a range along an edge, from start to end inclusive, meets the monitor's [from, to).
  auto meets = [](uint32_t start, uint32_t end, int from, int to) {
    return static_cast<int64_t>(start) < to && static_cast<int64_t>(end) >= from;
  };
  for (const Strut& strut : struts_) {
    const auto& v = strut.values;
    if (v[0] > 0 && meets(v[4], v[5], monitor.y, monitor_bottom))
      left = std::max(left, static_cast<int>(v[0]));
    if (v[1] > 0 && meets(v[6], v[7], monitor.y, monitor_bottom))
      right = std::min(right, w.root_width - static_cast<int>(v[1]));
    if (v[2] > 0 && meets(v[8], v[9], monitor.x, monitor_right))
      top = std::max(top, static_cast<int>(v[2]));
    if (v[3] > 0 && meets(v[10], v[11], monitor.x, monitor_right))
      bottom = std::min(bottom, w.root_height - static_cast<int>(v[3]));
  }
  if (right <= left || bottom <= top) return monitor;
  return PixelRect{left, top, right - left, bottom - top};
}
