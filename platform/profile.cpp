#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/ini_text.h"

namespace {

std::string last_error;

bool Fail(const std::string& why) {
  last_error = why;
  return false;
}

// The whole file; nothing when it cannot be read, with errno telling why.
std::optional<std::string> ReadWholeFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* fallback,
                                  char* buffer, uint32_t size, const char* path) {
  if (!buffer || size == 0) return 0;
  std::string value = fallback ? fallback : "";
  if (section && key && path) {
    if (auto text = ReadWholeFile(path)) {
      if (auto found = FindIniValue(*text, section, key)) value = *found;
    }
  }
  size_t copied = std::min<size_t>(value.size(), size - 1);
  std::memcpy(buffer, value.data(), copied);
  buffer[copied] = '\0';
  return static_cast<uint32_t>(copied);
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* path) {
  if (!section || !key || !value || !path) return Fail("nothing to write");
  if (!IniSectionNameFits(section) || !IniKeyFits(key) || !IniValueFits(value)) {
    return Fail("the name or value does not fit on one line of the file");
  }
  std::string old_text;
  mode_t mode = 0644;
  if (auto text = ReadWholeFile(path)) {
    old_text = std::move(*text);
    struct stat status {};
    if (stat(path, &status) == 0) mode = status.st_mode & 07777;
  } else if (errno != ENOENT) {
    return Fail(std::strerror(errno));
  }
  std::string new_text = SetIniValue(old_text, section, key, value);

  // Written beside the file and renamed over it: a reader sees the old or the new file whole.
  std::string temp = std::string(path) + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return Fail(std::strerror(errno));
  bool written = WriteAll(fd, new_text) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  int saved_errno = errno;
  if (close(fd) != 0 && written) {
    written = false;
    saved_errno = errno;
  }
  if (!written || rename(temp.c_str(), path) != 0) {
    if (written) saved_errno = errno;
    unlink(temp.c_str());
    return Fail(std::strerror(saved_errno));
  }
  return true;
}

std::string ProfileError() {
  return last_error;
}

bool DirectoryWritable(const std::string& directory) {
  return access(directory.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataDirectory() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return data_home;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/share";
}
