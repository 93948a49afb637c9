#pragma once
// An SQLite database file, opened for one piece of work. Statements and transactions are values
// that finish themselves; every failure throws a DatabaseError that says what kind it is.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// What the program does differently: the rest (a full disk, a folder that cannot be written,
// a lock held too long) it can only report, with the reason the message gives.
enum class DatabaseFailure {
  kMissing,  // no such file, opened for reading
  kCorrupt,  // the file is no database, or a damaged one
  kOther,
};

class DatabaseError : public std::runtime_error {
 public:
  DatabaseError(DatabaseFailure failure, const std::string& what)
      : std::runtime_error(what), failure_(failure) {}
  DatabaseFailure Failure() const { return failure_; }

 private:
  DatabaseFailure failure_;
};

class Database {
 public:
  enum class Access {
    kRead,   // an existing file, or read-only where it cannot be written
    kWrite,  // created when missing, in folders made private to the player
  };
  // Waits up to busy_wait_ms for a lock another connection holds, at every statement.
  Database(const std::string& path, Access access, int busy_wait_ms);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs statements that return no rows.
  void Execute(std::string_view sql);
  int64_t LastInsertId() const;

  struct Data;  // the backend's connection
  Data& Native() const { return *data_; }

 private:
  std::unique_ptr<Data> data_;
};

class Statement {
 public:
  Statement(const Database& database, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters count from 1.
  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, std::string_view text);
  // Runs to the next row; false when there is none left.
  bool Step();
  // Makes it ready to run again, keeping its parameters.
  void Reset();

  // Columns of the current row count from 0.
  int64_t Int(int column) const;
  std::string Text(int column) const;
  bool IsNull(int column) const;

 private:
  struct Data;
  std::unique_ptr<Data> data_;
};

// One consistent view of the file. A write transaction holds the write lock from its start,
// waiting for it as the database allows. Rolls back what it did unless committed.
class Transaction {
 public:
  enum class Kind { kRead, kWrite };
  explicit Transaction(Database& database, Kind kind = Kind::kWrite);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Database& database_;
  bool open_ = true;
};

// Renames a database file, with the journal of a write it did not finish. The reason, when it
// cannot, as a short phrase; "" when it could.
std::string MoveDatabaseFile(const std::string& from, const std::string& to);
bool DatabaseFileExists(const std::string& path);
