#pragma once
// The global keyboard as the game polls it, whichever window has the focus.

#include <array>
#include <cstdint>

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

// Per virtual key: whether it is down, and whether it went down since its last query. While the
// toolkit has the keyboard (an open menu or a modal dialog), presses are its own: such a key
// reads as up, and without a press, until it is released.
class KeyTable {
 public:
  void Press(int vk);
  void Release(int vk);
  // Down without a press to report: a key already held when the program started.
  void MarkDown(int vk);
  // Bit 15 while the key is down, bit 0 when it was pressed since the previous query;
  // the query clears bit 0.
  int16_t Query(int vk);
  void Clear();
  // Whether a press or release came in since the previous call.
  bool TakeChanged();
  void SetToolkitHasKeyboard(bool has);

 private:
  static bool Valid(int vk) { return vk >= 0 && vk < 256; }
  std::array<bool, 256> down_{};
  std::array<bool, 256> pressed_since_{};
  std::array<bool, 256> toolkits_{};
  bool changed_ = false;
  bool toolkit_has_keyboard_ = false;
};

// Brings the presses and releases that happened since the last query into the table.
class KeySource {
 public:
  virtual ~KeySource() = default;
  // May skip reading the device when it was read moments ago.
  virtual void Update(KeyTable& keys) = 0;
  // Reads the device now: the caller is about to sleep on WaitDescriptor.
  virtual void UpdateNow(KeyTable& keys) { Update(keys); }
  // A file descriptor that turns readable when key events arrive; -1 when there is none.
  virtual int WaitDescriptor() const { return -1; }
  // Takes in every key event that happened before this call, asking the device if need be.
  virtual void Sync(KeyTable& keys) { UpdateNow(keys); }
};

// Installs a key source with a fresh table and returns the one it replaces (nullptr: none).
KeySource* SetKeySource(KeySource* source);

int16_t GetAsyncKeyState(int vk);

// For the event pump: takes in everything the key source holds and says whether a key went down
// or up since the previous call, including presses the game's own queries took in meanwhile.
// Sleeping after a true answer could leave a press unseen.
bool KeysChangedSinceLastLook();
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
