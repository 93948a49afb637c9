#pragma once
// Finding the settings file one name at a time from "/", following only the links that are safe
// to follow, in the folder the game found at start; platform sources only.

#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/posix/file_descriptor.h"
#include "platform/settings_io.h"

// A name in an open folder, reached with every link on the way followed.
struct Place {
  FileDescriptor folder;  // opened with O_PATH, for the *at calls
  std::string folder_path;
  std::string name;
  struct stat status {};  // of the name itself, never a link; st_mode 0 when there is none

  bool Exists() const { return status.st_mode != 0; }
};

// A place, or why there is none: missing (a folder that is not there and may be made, or was
// never seen) or failed.
struct Found {
  std::optional<Place> place;
  bool missing = false;
  std::string reason;  // when failed
  int error = 0;       // the errno behind the reason, when there is one
};

// The settings file's place. A missing file is a place that does not exist; a link that leads
// to no file fails. With make, the folder is made when the location allows it.
Found FindSettingsFile(const SettingsLocation& where, bool make);

// Another name in the folder of place, found the same way.
Found FindBeside(const Place& place, const std::string& name);

// Root makes files and folders as the owner of the folder they go in, so that a game run with
// sudo leaves nothing its player cannot change. False, with errno set, when it cannot.
bool GiveToFolderOwner(int fd, int folder);
