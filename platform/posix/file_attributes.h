#pragma once
// What a file that replaces another keeps of it; platform sources only.

#include <sys/stat.h>

#include <optional>
#include <string>

// Gives the new file at fd what the old one at old_fd has: its group, mode, access control list
// and other extended attributes, and its owner where the player may set it. Nothing when all
// is kept, or what could not be, as a short phrase.
std::optional<std::string> KeepAttributes(int fd, int old_fd, const struct stat& old);
