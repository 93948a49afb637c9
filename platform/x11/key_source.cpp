#include "platform/x11/key_source.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <array>
#include <deque>

namespace {

constexpr int kNone = -1;

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

bool IsKeypadDigit(KeySym sym) {
  return sym >= XK_KP_0 && sym <= XK_KP_9;
}
bool IsMainDigit(KeySym sym) {
  return sym >= XK_0 && sym <= XK_9;
}

}  // namespace

struct X11KeySource::Connection {
  std::unique_ptr<Display, DisplayCloser> display;
  int xi_opcode = 0;
  int xkb_event_base = 0;
  unsigned num_lock_mask = 0;
  bool num_lock = false;
  bool initial_map_pending = true;
  // Events made of one X event, or of a query of the whole keyboard, waiting to be handed on.
  std::deque<KeyEvent> ready;
  // Per keycode: the virtual key of a main-row digit, ENTER or ESC, or the keypad digit.
  std::array<int, 256> fixed_vk{};
  std::array<int, 256> keypad_digit{};
  // The virtual key each held keycode went down as, so that its release matches even when
  // Num Lock or the keyboard map changed in between.
  std::array<int, 256> pressed_as{};

  void BuildKeyMap() {
    fixed_vk.fill(kNone);
    keypad_digit.fill(kNone);
    int min_code = 0;
    int max_code = 0;
    XDisplayKeycodes(display.get(), &min_code, &max_code);
    for (int code = min_code; code <= max_code && code < 256; ++code) {
      auto kc = static_cast<KeyCode>(code);
      KeySym base = XkbKeycodeToKeysym(display.get(), kc, 0, 0);
      KeySym shifted = XkbKeycodeToKeysym(display.get(), kc, 0, 1);
      if (IsKeypadDigit(shifted) || IsKeypadDigit(base)) {
        keypad_digit[code] = static_cast<int>((IsKeypadDigit(shifted) ? shifted : base) - XK_KP_0);
      } else if (IsMainDigit(base) || IsMainDigit(shifted)) {
        fixed_vk[code] = VK_0 + static_cast<int>((IsMainDigit(base) ? base : shifted) - XK_0);
      } else if (base == XK_Return || base == XK_KP_Enter) {
        fixed_vk[code] = VK_RETURN;
      } else if (base == XK_Escape) {
        fixed_vk[code] = VK_ESCAPE;
      }
    }
  }

  int VirtualKey(int code) const {
    if (code < 0 || code >= 256) return kNone;
    if (keypad_digit[code] != kNone) return num_lock ? VK_NUMPAD0 + keypad_digit[code] : kNone;
    return fixed_vk[code];
  }

  // A release can get lost while the keyboard changes (a new device, another map): the server's
  // own record of the keys that are down now settles it.
  void ReleaseKeysNowUp() {
    char bits[32] = {};
    XQueryKeymap(display.get(), bits);
    for (int code = 0; code < 256; ++code) {
      if (pressed_as[code] != kNone && !((bits[code / 8] >> (code % 8)) & 1)) {
        ready.push_back({pressed_as[code], KeyEvent::Kind::kRelease});
        pressed_as[code] = kNone;
      }
    }
  }

  void ReadInitialKeymap() {
    char bits[32] = {};
    XQueryKeymap(display.get(), bits);
    for (int code = 0; code < 256; ++code) {
      if ((bits[code / 8] >> (code % 8)) & 1) {
        pressed_as[code] = VirtualKey(code);
        if (pressed_as[code] != kNone) ready.push_back({pressed_as[code], KeyEvent::Kind::kHeld});
      }
    }
  }

  // The next key event, from what Xlib has queued and, when read_socket is set, from the
  // socket; never waits for the server.
  std::optional<KeyEvent> Next(bool read_socket) {
    if (initial_map_pending) {
      initial_map_pending = false;
      ReadInitialKeymap();
    }
    int mode = read_socket ? QueuedAfterReading : QueuedAlready;
    while (ready.empty() && XEventsQueued(display.get(), mode) > 0) {
      XEvent event;
      XNextEvent(display.get(), &event);
      Handle(event);
    }
    if (ready.empty()) return std::nullopt;
    KeyEvent next = ready.front();
    ready.pop_front();
    return next;
  }

  void Handle(XEvent& event) {
    if (event.type == xkb_event_base) {
      auto& xkb = reinterpret_cast<XkbEvent&>(event);
      if (xkb.any.xkb_type == XkbStateNotify) {
        num_lock = (xkb.state.locked_mods & num_lock_mask) != 0;
      } else if (xkb.any.xkb_type == XkbNewKeyboardNotify || xkb.any.xkb_type == XkbMapNotify) {
        BuildKeyMap();
        ReleaseKeysNowUp();
      }
      return;
    }
    XGenericEventCookie& cookie = event.xcookie;
    if (cookie.type != GenericEvent || cookie.extension != xi_opcode) return;
    if (!XGetEventData(display.get(), &cookie)) return;
    const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
    int code = raw->detail;
    if (code >= 0 && code < 256) {
      if (cookie.evtype == XI_RawKeyPress) {
        pressed_as[code] = VirtualKey(code);
        if (pressed_as[code] != kNone) ready.push_back({pressed_as[code], KeyEvent::Kind::kPress});
      } else if (cookie.evtype == XI_RawKeyRelease) {
        if (pressed_as[code] != kNone) {
          ready.push_back({pressed_as[code], KeyEvent::Kind::kRelease});
        }
        pressed_as[code] = kNone;
      }
    }
    XFreeEventData(display.get(), &cookie);
  }
};

X11KeySource::X11KeySource(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection)) {}

std::unique_ptr<X11KeySource> X11KeySource::Open(const char* display_name, std::string* why) {
  auto connection = std::make_unique<Connection>();
  Connection& c = *connection;
  c.display.reset(XOpenDisplay(display_name));
  if (!c.display) {
    *why = "cannot open the X display (is DISPLAY set?)";
    return nullptr;
  }
  Display* dpy = c.display.get();

  int event_base = 0;
  int error_base = 0;
  int major = 2;
  int minor = 2;
  if (!XQueryExtension(dpy, "XInputExtension", &c.xi_opcode, &event_base, &error_base) ||
      XIQueryVersion(dpy, &major, &minor) != Success) {
    *why = "the X server has no XInput2 extension, needed to read the keyboard";
    return nullptr;
  }
  int xkb_major = XkbMajorVersion;
  int xkb_minor = XkbMinorVersion;
  int xkb_opcode = 0;
  if (!XkbQueryExtension(dpy, &xkb_opcode, &c.xkb_event_base, &error_base, &xkb_major,
                         &xkb_minor)) {
    *why = "the X server has no XKEYBOARD extension, needed for Num Lock";
    return nullptr;
  }

  unsigned char mask_bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(mask_bits, XI_RawKeyPress);
  XISetMask(mask_bits, XI_RawKeyRelease);
  XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof mask_bits), mask_bits};
  XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);

  XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbStateNotify, XkbModifierLockMask,
                        XkbModifierLockMask);
  XkbSelectEvents(dpy, XkbUseCoreKbd, XkbNewKeyboardNotifyMask | XkbMapNotifyMask,
                  XkbNewKeyboardNotifyMask | XkbMapNotifyMask);
  c.num_lock_mask = XkbKeysymToModifiers(dpy, XK_Num_Lock);
  XkbStateRec state{};
  XkbGetState(dpy, XkbUseCoreKbd, &state);
  c.num_lock = (state.locked_mods & c.num_lock_mask) != 0;
  c.pressed_as.fill(kNone);
  c.BuildKeyMap();
  XSync(dpy, False);
  return std::unique_ptr<X11KeySource>(new X11KeySource(std::move(connection)));
}

X11KeySource::~X11KeySource() = default;

std::optional<KeyEvent> X11KeySource::Next(bool read_device) {
  return connection_->Next(read_device);
}

void X11KeySource::Sync() {
  // The reply comes after every event the server sent before it, and Xlib queues them all.
  XSync(connection_->display.get(), False);
}

int X11KeySource::WaitDescriptor() const {
  return ConnectionNumber(connection_->display.get());
}
