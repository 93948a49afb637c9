// A file system over the real one that fails where a test asks: while a fault is set, it is the
// library's default, so the game's own opening of its database goes through it unknowing.

#include <sqlite3.h>

#include <cerrno>

#include "platform/testing.h"

namespace {

constexpr const char* kName = "noruka-fault";

int (*database_fault)(DatabaseStep) = nullptr;
sqlite3_vfs* real_vfs = nullptr;
sqlite3_vfs fault_vfs;

// The library's code for a step that fails with this errno; SQLITE_OK to let it run.
int Faulted(DatabaseStep step, int io_error) {
  int error = database_fault ? database_fault(step) : 0;
  if (error == 0) return SQLITE_OK;
  if (error == ENOSPC) return SQLITE_FULL;
  if (step == DatabaseStep::kLock) return SQLITE_BUSY;
  return io_error;
}

// A file of the real file system, followed in memory by the real file's own state.
struct FaultFile {
  sqlite3_file base;
  sqlite3_file* Real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

sqlite3_file* RealOf(sqlite3_file* file) {
  return reinterpret_cast<FaultFile*>(file)->Real();
}

int Close(sqlite3_file* file) {
  return RealOf(file)->pMethods->xClose(RealOf(file));
}
int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
  if (int code = Faulted(DatabaseStep::kRead, SQLITE_IOERR_READ)) return code;
  return RealOf(file)->pMethods->xRead(RealOf(file), buffer, amount, offset);
}
int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
  if (int code = Faulted(DatabaseStep::kWrite, SQLITE_IOERR_WRITE)) return code;
  return RealOf(file)->pMethods->xWrite(RealOf(file), buffer, amount, offset);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
  if (int code = Faulted(DatabaseStep::kTruncate, SQLITE_IOERR_TRUNCATE)) return code;
  return RealOf(file)->pMethods->xTruncate(RealOf(file), size);
}
int Sync(sqlite3_file* file, int flags) {
  if (int code = Faulted(DatabaseStep::kSync, SQLITE_IOERR_FSYNC)) return code;
  return RealOf(file)->pMethods->xSync(RealOf(file), flags);
}
int FileSize(sqlite3_file* file, sqlite3_int64* size) {
  return RealOf(file)->pMethods->xFileSize(RealOf(file), size);
}
int Lock(sqlite3_file* file, int level) {
  if (int code = Faulted(DatabaseStep::kLock, SQLITE_BUSY)) return code;
  return RealOf(file)->pMethods->xLock(RealOf(file), level);
}
int Unlock(sqlite3_file* file, int level) {
  return RealOf(file)->pMethods->xUnlock(RealOf(file), level);
}
int CheckReservedLock(sqlite3_file* file, int* reserved) {
  return RealOf(file)->pMethods->xCheckReservedLock(RealOf(file), reserved);
}
int FileControl(sqlite3_file* file, int operation, void* argument) {
  return RealOf(file)->pMethods->xFileControl(RealOf(file), operation, argument);
}
int SectorSize(sqlite3_file* file) {
  return RealOf(file)->pMethods->xSectorSize(RealOf(file));
}
int DeviceCharacteristics(sqlite3_file* file) {
  return RealOf(file)->pMethods->xDeviceCharacteristics(RealOf(file));
}

// Version 1: no shared memory, so no write-ahead log under a test's faults.
const sqlite3_io_methods kFaultMethods = {
    1,
    Close,
    Read,
    Write,
    Truncate,
    Sync,
    FileSize,
    Lock,
    Unlock,
    CheckReservedLock,
    FileControl,
    SectorSize,
    DeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out_flags) {
  file->pMethods = nullptr;
  if (int code = Faulted(DatabaseStep::kOpen, SQLITE_CANTOPEN)) return code;
  int code = real_vfs->xOpen(real_vfs, name, RealOf(file), flags, out_flags);
  if (RealOf(file)->pMethods) file->pMethods = &kFaultMethods;
  return code;
}

int Delete(sqlite3_vfs*, const char* name, int sync_directory) {
  if (int code = Faulted(DatabaseStep::kDelete, SQLITE_IOERR_DELETE)) return code;
  return real_vfs->xDelete(real_vfs, name, sync_directory);
}

}  // namespace

void SetDatabaseFaultForTesting(int (*fault)(DatabaseStep step)) {
  if (!real_vfs) {
    real_vfs = sqlite3_vfs_find(nullptr);
    fault_vfs = *real_vfs;
    fault_vfs.zName = kName;
    fault_vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + real_vfs->szOsFile;
    fault_vfs.xOpen = Open;
    fault_vfs.xDelete = Delete;
  }
  database_fault = fault;
  sqlite3_vfs_register(fault ? &fault_vfs : real_vfs, 1);
}
