#include "platform/val.h"

#include <charconv>
#include <cstdlib>

double Val(std::string_view text) {
  std::string digits;
  bool seen_digit = false;
  bool seen_point = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
    if ((c == '-' || c == '+') && digits.empty()) {
      digits += c;
    } else if (c >= '0' && c <= '9') {
      digits += c;
      seen_digit = true;
    } else if (c == '.' && !seen_point) {
      digits += c;
      seen_point = true;
    } else {
      break;
    }
  }
  if (!seen_digit) return 0;
  double value = 0;
  const char* begin = digits.data() + (digits[0] == '+' ? 1 : 0);
  std::from_chars(begin, digits.data() + digits.size(), value);
  return value;
}
