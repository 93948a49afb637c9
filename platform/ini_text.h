#pragma once
// The text of an INI file, read and edited the way the profile-string functions do it:
// section and key names match without regard to ASCII case, spaces around "=" and around
// values do not count, CRLF or LF line ends and a UTF-8 byte-order mark are accepted.

#include <optional>
#include <string>
#include <string_view>

// The value of the first matching key in the first matching section, trimmed of spaces.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with key set to value in section, creating either when missing. Every other line
// stays byte for byte, and new lines take the file's line ends. Nothing when a name or the value
// cannot stand in an INI line: a line break or NUL, a key with "=" or beginning with "[", a
// section name with "]", an empty name.
std::optional<std::string> SetIniValue(std::string_view text, std::string_view section,
                                       std::string_view key, std::string_view value);
