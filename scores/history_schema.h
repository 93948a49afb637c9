#pragma once
// The layout of the history file, versioned in its user_version: each step takes a file from
// the version before it to its own, so that a file of any earlier version is brought up to date.

#include "platform/database.h"
#include "scores/local_date_time.h"

inline constexpr int kHistoryVersion = 2;

// The file's version: 0 for a new, empty one.
int SchemaVersion(const Database& database);

// Throws for a version later than this game knows: such a file is left as it is.
void RequireKnownVersion(int version);

// Inside a write transaction, brings the file up to version to (at most kHistoryVersion).
// Scores of the high-score table recorded before the history's first time attack, or before
// first_start in a history without one, are carried over into it. A file of a later version
// than this game knows throws.
void UpgradeSchema(Database& database, int to, const LocalDateTime& first_start);
