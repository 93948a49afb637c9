// Measures, from outside the game, how long the screen takes to answer a key: presses the
// key through XTEST, then reads the screen until the cursor's arrow stands at the expected
// column and (when asked) the cell's pixels have changed. Prints the microseconds.
// Usage: x11_probe KEYSYM ARROW_X ARROW_Y CELL_X CELL_Y CELL_SIZE MUST_CHANGE
//    or: x11_probe watch NAME
//    or: x11_probe changes X Y WIDTH HEIGHT SECONDS
// The second form prints "map SECONDS" and "unmap SECONDS" (monotonic clock) for every
// top-level window of that name as it appears and disappears, until killed. The third reads
// the rectangle every 200 microseconds for that many seconds and prints the monotonic time of
// every change it sees.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace {

std::vector<unsigned long> Pixels(Display* display, int x, int y, int width, int height) {
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
  std::vector<unsigned long> pixels;
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i)
      pixels.push_back(XGetPixel(image, i, j));
  }
  XDestroyImage(image);
  return pixels;
}

bool ArrowAt(Display* display, int x, int y) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
  bool red = (XGetPixel(image, 0, 0) & 0xFFFFFF) == 0xFF0000;
  XDestroyImage(image);
  return red;
}

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool Named(Display* display, Window window, const char* name) {
  char* title = nullptr;
  bool same = XFetchName(display, window, &title) && title && std::strcmp(title, name) == 0;
  if (title) XFree(title);
  return same;
}

int Changes(Display* display, int x, int y, int width, int height, double seconds) {
  auto shown = Pixels(display, x, y, width, height);
  double end = Seconds() + seconds;
  while (Seconds() < end) {
    auto now = Pixels(display, x, y, width, height);
    if (now != shown) {
      std::printf("%.6f\n", Seconds());
      shown = std::move(now);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return 0;
}

int Watch(Display* display, const char* name) {
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  std::set<Window> shown;
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    double now = Seconds();
    if (event.type == MapNotify && Named(display, event.xmap.window, name)) {
      shown.insert(event.xmap.window);
      std::printf("map %.6f\n", now);
    } else if ((event.type == UnmapNotify && shown.erase(event.xunmap.window)) ||
               (event.type == DestroyNotify && shown.erase(event.xdestroywindow.window))) {
      std::printf("unmap %.6f\n", now);
    }
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "watch") == 0) {
    Display* display = XOpenDisplay(nullptr);
    return display ? Watch(display, argv[2]) : 2;
  }
  if (argc == 7 && std::strcmp(argv[1], "changes") == 0) {
    Display* display = XOpenDisplay(nullptr);
    return display ? Changes(display, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                             std::atoi(argv[5]), std::atof(argv[6]))
                   : 2;
  }
  if (argc != 8) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 2;
  KeyCode key = XKeysymToKeycode(display, XStringToKeysym(argv[1]));
  int arrow_x = std::atoi(argv[2]), arrow_y = std::atoi(argv[3]);
  int cell_x = std::atoi(argv[4]), cell_y = std::atoi(argv[5]), size = std::atoi(argv[6]);
  bool must_change = std::atoi(argv[7]) != 0;
  auto before = Pixels(display, cell_x, cell_y, size, size);

  auto start = std::chrono::steady_clock::now();
  XTestFakeKeyEvent(display, key, True, 0);
  XFlush(display);
  bool done = false;
  while (!done) {
    done = ArrowAt(display, arrow_x, arrow_y) &&
           (!must_change || Pixels(display, cell_x, cell_y, size, size) != before);
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(2)) break;
  }
  auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  XTestFakeKeyEvent(display, key, False, 0);
  XCloseDisplay(display);
  if (!done) return 1;
  std::printf("%lld\n", static_cast<long long>(elapsed.count()));
  return 0;
}
