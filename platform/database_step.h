#pragma once

// The file-system steps of a database at which a test can make it fail
// (SetDatabaseFaultForTesting).
enum class DatabaseStep { kOpen, kRead, kWrite, kSync, kTruncate, kDelete, kLock };
