#include "platform/x11/window_hints.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

void SkipTaskbarAndPager(Display* display, unsigned long window) {
  Atom states[] = {XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                   XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False)};
  // The toolkit adds its own states to these when it maps the window.
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(states), 2);
}

bool IsXWayland(Display* display) {
  int opcode = 0;
  int event = 0;
  int error = 0;
  return XQueryExtension(display, "XWAYLAND", &opcode, &event, &error) != 0;
}

void SetBackgroundPixels(xcb_connection_t* c, unsigned long window, const uint32_t* argb, int width,
                         int height) {
  if (width <= 0 || height <= 0 || width > UINT16_MAX || height > UINT16_MAX) return;
  const auto id = static_cast<xcb_window_t>(window);
  std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
      xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr), &std::free);
  if (!geometry) return;
  // The pixels go as they are: 32 bits a pixel, the low byte blue, which is what a depth of 24
  // or 32 takes on the servers the game meets; any other depth keeps no background.
  const xcb_setup_t* setup = xcb_get_setup(c);
  bool fits = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
  const xcb_format_t* formats = xcb_setup_pixmap_formats(setup);
  for (int i = 0; i < xcb_setup_pixmap_formats_length(setup); ++i) {
    if (formats[i].depth == geometry->depth) fits = fits && formats[i].bits_per_pixel == 32;
  }
  if (!fits || (geometry->depth != 24 && geometry->depth != 32)) return;

  const xcb_pixmap_t pixmap = xcb_generate_id(c);
  xcb_create_pixmap(c, geometry->depth, pixmap, id, static_cast<uint16_t>(width),
                    static_cast<uint16_t>(height));
  const xcb_gcontext_t gc = xcb_generate_id(c);
  xcb_create_gc(c, gc, pixmap, 0, nullptr);
  // In bands of rows that fit one request.
  const uint32_t row_bytes = static_cast<uint32_t>(width) * 4;
  const uint32_t max_bytes = xcb_get_maximum_request_length(c) * 4 - 64;
  const int rows = std::max(1, static_cast<int>(max_bytes / row_bytes));
  for (int y = 0; y < height; y += rows) {
    const int band = std::min(rows, height - y);
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<uint16_t>(width),
                  static_cast<uint16_t>(band), 0, static_cast<int16_t>(y), 0, geometry->depth,
                  row_bytes * static_cast<uint32_t>(band),
                  reinterpret_cast<const uint8_t*>(argb + static_cast<size_t>(y) * width));
  }
  xcb_change_window_attributes(c, id, XCB_CW_BACK_PIXMAP, &pixmap);
  xcb_free_gc(c, gc);
  xcb_free_pixmap(c, pixmap);
}
