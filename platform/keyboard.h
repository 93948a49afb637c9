#pragma once
// The global keyboard as the game polls it, whichever window has the focus.

#include <array>
#include <cstdint>

inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_0 = 0x30;        // main-row digits 0x30 to 0x39
inline constexpr int VK_NUMPAD0 = 0x60;  // keypad digits 0x60 to 0x69, only while Num Lock is on

// Per virtual key: whether it is down, and whether it went down since its last query.
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

 private:
  static bool Valid(int vk) { return vk >= 0 && vk < 256; }
  std::array<bool, 256> down_{};
  std::array<bool, 256> pressed_since_{};
};

// Brings the presses and releases that happened since the last query into the table.
class KeySource {
 public:
  virtual ~KeySource() = default;
  virtual void Update(KeyTable& keys) = 0;
};

// Installs a key source with a fresh table and returns the one it replaces (nullptr: none).
KeySource* SetKeySource(KeySource* source);

int16_t GetAsyncKeyState(int vk);
