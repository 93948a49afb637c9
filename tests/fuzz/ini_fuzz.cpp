// Fuzzes the INI reader and writer and the high-score caption builder with arbitrary files:
// nothing may crash, and a value written must read back.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "platform/ini_text.h"
#include "scores/high_score_display.h"

namespace {
std::string Trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int rank = input.ConsumeIntegralInRange(0, 6);
  const std::string section = input.ConsumeRandomLengthString(16);
  const std::string key = input.ConsumeRandomLengthString(16);
  const std::string value = input.ConsumeRandomLengthString(64);
  const std::string text = input.ConsumeRemainingBytesAsString();

  (void)FindIniValue(text, section, key);
  (void)HighScoreCaption(rank, text);
  (void)HighScoreCaption(rank, value);

  if (const std::optional<std::string> written = SetIniValue(text, section, key, value)) {
    if (FindIniValue(*written, section, key) != Trimmed(value)) std::abort();
    if (SetIniValue(*written, section, key, value) != written) std::abort();
  } else if (value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos &&
             section.find_first_of(std::string_view("]\r\n\0", 4)) == std::string::npos &&
             key.find_first_of(std::string_view("=\r\n\0", 4)) == std::string::npos &&
             !Trimmed(section).empty() && !Trimmed(key).empty() && Trimmed(key)[0] != '[') {
    std::abort();  // refused what fits
  }
  return 0;
}
