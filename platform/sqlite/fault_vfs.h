#pragma once
// A file system over the real one that fails where a test asks (SetDatabaseFaultForTesting).

// Its name for opening a database, or nullptr, the real file system, while no test asks.
const char* FaultVfsName();
