#pragma once
// Reading the settings file at a place found for it; platform sources only.

#include "platform/posix/file_descriptor.h"
#include "platform/posix/settings_place.h"
#include "platform/settings_io.h"

// The file at place, when it is a regular file within the limit. The open file is handed to
// opened, for a look at its attributes.
SettingsRead ReadPlace(const Place& place, FileDescriptor* opened = nullptr);
