#pragma once
// The global keyboard as the game polls it, whichever window has the focus.
//
// Key events reach the game in the order the device reported them, one change of a key at a
// time: each pass of a wait loop (the queries between two pumps) sees the next change, as a
// poller fast enough to catch every one would. All queries of one pass answer from the same
// state, so a query never takes in a press only to clear it unseen.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_0 = 0x30;        // main-row digits 0x30 to 0x39
inline constexpr int VK_NUMPAD0 = 0x60;  // keypad digits 0x60 to 0x69, only while Num Lock is on

// What a key did, as its device reported it.
struct KeyEvent {
  enum class Kind {
    kPress,
    kRelease,
    kHeld,  // found down when the device was first read: down, but no press to report
  };
  int vk = 0;
  Kind kind = Kind::kPress;
};

// Per virtual key: whether it is down, and whether it went down since its last query. While the
// toolkit has the keyboard (an open menu or a modal dialog), presses are its own: such a key
// reads as up, and without a press, until it is released.
class KeyTable {
 public:
  // Whether the event moves its key down or up; auto-repeat of a held key does not.
  bool Changes(const KeyEvent& event) const;
  void Apply(const KeyEvent& event);
  // Bit 15 while the key is down, bit 0 when it was pressed since the previous query;
  // the query clears bit 0.
  int16_t Query(int vk);
  // Forgets a press not yet reported; a held key stays down.
  void ForgetPress(int vk);
  void Clear();
  void SetToolkitHasKeyboard(bool has);

 private:
  static bool Valid(int vk) { return vk >= 0 && vk < 256; }
  std::array<bool, 256> down_{};
  std::array<bool, 256> pressed_since_{};
  std::array<bool, 256> toolkits_{};
  bool toolkit_has_keyboard_ = false;
};

// Delivers the key events of a device in order. It only reads: what the events mean for the
// game is decided above it.
class KeySource {
 public:
  virtual ~KeySource() = default;
  // The next key event, in order; nothing when none has come in. Reads the device without
  // blocking when read_device is set; otherwise gives only what an earlier read or Sync took in.
  virtual std::optional<KeyEvent> Next(bool read_device) = 0;
  // Takes in every event that happened before this call, so that Next(false) gives them.
  virtual void Sync() = 0;
  // A file descriptor that turns readable when key events arrive; -1 when there is none.
  virtual int WaitDescriptor() const { return -1; }
};

// Installs a key source with a fresh table and returns the one it replaces (nullptr: none).
KeySource* SetKeySource(KeySource* source);

// The state of a key as the current pass sees it. The first query of a pass takes in the next
// change of a key, if one has come in.
int16_t GetAsyncKeyState(int vk);

// A discarding reading: takes in every key event that happened before the call and forgets
// the named keys' presses, so that only presses made after it count. Held keys stay down.
void DiscardPresses(std::span<const int> vks);
inline void DiscardPresses(std::initializer_list<int> vks) {
  DiscardPresses(std::span<const int>(vks.begin(), vks.size()));
}

// For the pump: a new pass begins.
void BeginKeyPass();
// For the pump: whether a change of a key has come in that no pass has seen yet. Sleeping
// then would leave it waiting.
bool KeyChangeWaiting();
// Readable when key events arrive; -1 when the key source has no such descriptor.
int KeyEventDescriptor();

// Held by the toolkit while its menu or a modal dialog has the keyboard: the keys pressed
// meanwhile choose menu items and close dialogs, and the game's polls do not see them.
class ToolkitKeyboard {
 public:
  ToolkitKeyboard();
  ~ToolkitKeyboard();
  ToolkitKeyboard(const ToolkitKeyboard&) = delete;
  ToolkitKeyboard& operator=(const ToolkitKeyboard&) = delete;
};
