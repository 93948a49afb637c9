#pragma once
// What the game watches of the X desktop, on a connection of its own: other programs' windows
// being mapped or restacked, over which the game's windows go back on top, and the docks'
// reserved edges, for window managers that publish no work area.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/pixel_rect.h"

struct xcb_connection_t;

// The running window manager's own name, as it publishes it; empty when none does.
std::string WindowManagerName(xcb_connection_t* connection);

class DesktopWatch {
 public:
  // Watches the display the toolkit is connected to; nullptr when it cannot connect.
  static std::unique_ptr<DesktopWatch> Open(xcb_connection_t* toolkit);
  ~DesktopWatch();
  DesktopWatch(const DesktopWatch&) = delete;
  DesktopWatch& operator=(const DesktopWatch&) = delete;

  // The connection's socket: readable when something happened.
  int Descriptor() const;

  // Keeps this top-level window of the toolkit above every other program's window, until it
  // is forgotten. The windows kept stay in the order they were added, the last on top.
  void KeepAbove(unsigned long window);
  void Forget(unsigned long window);

  // Takes in what happened and puts the game's windows back on top where another program's
  // window came up. Returns whether the docks' reserved edges changed.
  bool TakeEvents();

  // Where the window manager publishes no work area: the part of the monitor (root pixels) the
  // docks leave free. Nothing while a work area is published.
  std::optional<PixelRect> FreeArea(const PixelRect& monitor) const;

 private:
  struct Connection;
  struct Strut;
  explicit DesktopWatch(std::unique_ptr<Connection> connection);
  void ReadStruts();
  void Raise();

  std::unique_ptr<Connection> connection_;
  std::vector<unsigned long> kept_;
  std::vector<Strut> struts_;
  bool work_area_published_ = false;
};
