#include "platform/ini_text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// One line of the file: its raw bytes (with any '\r') and what it says.
struct Line {
  std::string_view raw;
  std::string_view content;  // without '\r', byte-order mark and surrounding blanks
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string_view raw = text.substr(start, end == std::string_view::npos ? end : end - start);
    std::string_view content = raw;
    if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    if (start == 0 && content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
      content.remove_prefix(kByteOrderMark.size());
    }
    lines.push_back({raw, Trim(content)});
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
  if (content.empty() || content.front() != '[') return std::nullopt;
  size_t close = content.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(content.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> KeyOf(std::string_view content) {
  size_t equals = content.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(content.substr(0, equals));
}

bool FitsOnALine(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool SectionNameFits(std::string_view section) {
  return !Trim(section).empty() && FitsOnALine(section) &&
         section.find(']') == std::string_view::npos;
}

bool KeyFits(std::string_view key) {
  return !Trim(key).empty() && FitsOnALine(key) && key.find('=') == std::string_view::npos &&
         Trim(key).front() != '[';
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  bool in_section = false;
  for (const Line& line : SplitLines(text)) {
    if (auto name = SectionName(line.content)) {
      in_section = SameName(*name, Trim(section));
    } else if (in_section) {
      if (auto found = KeyOf(line.content); found && SameName(*found, Trim(key))) {
        return std::string(Trim(line.content.substr(line.content.find('=') + 1)));
      }
    }
  }
  return std::nullopt;
}

std::optional<std::string> SetIniValue(std::string_view text, std::string_view section,
                                       std::string_view key, std::string_view value) {
  if (!SectionNameFits(section) || !KeyFits(key) || !FitsOnALine(value)) return std::nullopt;
  std::vector<Line> lines = SplitLines(text);
  const bool ends_with_newline = text.empty() || text.back() == '\n';
  const std::string line_end = text.find("\r\n") != std::string_view::npos ? "\r" : "";
  std::vector<std::string> out;
  for (const Line& line : lines)
    out.emplace_back(line.raw);

  auto section_at = lines.end();
  for (auto it = lines.begin(); it != lines.end(); ++it) {
    if (auto name = SectionName(it->content); name && SameName(*name, Trim(section))) {
      section_at = it;
      break;
    }
  }
  std::string entry(key);
  entry.append("=").append(value).append(line_end);
  if (section_at == lines.end()) {
    std::string header("[");
    header.append(section).append("]").append(line_end);
    out.push_back(std::move(header));
    out.push_back(entry);
  } else {
    size_t first = static_cast<size_t>(section_at - lines.begin()) + 1;
    size_t last_filled = first - 1;  // the header, or the last non-blank line of the section
    bool replaced = false;
    for (size_t i = first; i < lines.size() && !replaced && !SectionName(lines[i].content); ++i) {
      if (auto found = KeyOf(lines[i].content); found && SameName(*found, Trim(key))) {
        // Only the value changes: the key keeps its spelling and spacing.
        std::string_view raw = lines[i].raw;
        bool had_cr = !raw.empty() && raw.back() == '\r';
        out[i].assign(raw.substr(0, raw.find('=') + 1)).append(value).append(had_cr ? "\r" : "");
        replaced = true;
      } else if (!lines[i].content.empty()) {
        last_filled = i;
      }
    }
    if (!replaced) out.insert(out.begin() + static_cast<long>(last_filled) + 1, entry);
  }

  std::string result;
  for (size_t i = 0; i < out.size(); ++i) {
    result += out[i];
    if (i + 1 < out.size() || ends_with_newline) result += '\n';
  }
  return result;
}
