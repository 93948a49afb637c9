#pragma once
// Where an installed copy of the game lies, and where it keeps the player's data instead.

#include <string>

// Whether the directory (a real path) is where the game gets installed: this build's install
// destination or a directory where packages put programs.
bool IsInstallDirectory(const std::string& directory);

// $XDG_DATA_HOME, or ~/.local/share; "" when there is no home directory.
std::string UserDataDirectory();

// $HOME, or the player's entry in the password database; "" when neither names one.
std::string HomeDirectory();
