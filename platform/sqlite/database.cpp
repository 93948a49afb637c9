#include "platform/database.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <utility>

namespace {

namespace fs = std::filesystem;

DatabaseFailure FailureOf(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB ? DatabaseFailure::kCorrupt
                                                               : DatabaseFailure::kOther;
}

// The library's message, with the system's reason where there is one.
[[noreturn]] void Fail(sqlite3* connection, int code) {
  std::string what = connection ? sqlite3_errmsg(connection) : sqlite3_errstr(code);
  if (int error = connection ? sqlite3_system_errno(connection) : 0; error != 0)
    what += std::string(" (") + std::strerror(error) + ")";
  throw DatabaseError(FailureOf(code), what);
}

void Check(sqlite3* connection, int code) {
  if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE) Fail(connection, code);
}

// Missing folders are made private to the player, as the settings file's are.
void MakeFolders(const fs::path& folder) {
  std::error_code error;
  if (folder.empty() || fs::exists(folder, error)) return;
  MakeFolders(folder.parent_path());
  if (fs::create_directory(folder, error)) {
    fs::permissions(folder, fs::perms::owner_all, error);
  } else if (error) {
    throw DatabaseError(DatabaseFailure::kOther,
                        "cannot make the folder " + folder.string() + " (" + error.message() + ")");
  }
}

}  // namespace

struct Database::Data {
  sqlite3* connection = nullptr;
};

struct Statement::Data {
  sqlite3* connection = nullptr;
  sqlite3_stmt* statement = nullptr;
};

Database::Database(const std::string& path, Access access, int busy_wait_ms)
    : data_(std::make_unique<Data>()) {
  int flags = SQLITE_OPEN_READWRITE;
  if (access == Access::kWrite) {
    MakeFolders(fs::path(path).parent_path());
    flags |= SQLITE_OPEN_CREATE;
  } else if (!DatabaseFileExists(path)) {
    throw DatabaseError(DatabaseFailure::kMissing, "no such file");
  }
  // A file that cannot be written opens for reading only.
  int code = sqlite3_open_v2(path.c_str(), &data_->connection, flags, nullptr);
  if (code != SQLITE_OK) {
    // The failed connection is closed once its message has been read.
    struct Closer {
      sqlite3* connection;
      ~Closer() { sqlite3_close(connection); }
    } failed{std::exchange(data_->connection, nullptr)};
    Fail(failed.connection, code);
  }
  sqlite3_extended_result_codes(data_->connection, 1);
  sqlite3_busy_timeout(data_->connection, busy_wait_ms);
}

Database::~Database() {
  // Closes once the last statement is finalised, should one outlive it.
  sqlite3_close_v2(data_->connection);
}

void Database::Execute(std::string_view sql) {
  std::string text(sql);
  Check(data_->connection,
        sqlite3_exec(data_->connection, text.c_str(), nullptr, nullptr, nullptr));
}

int64_t Database::LastInsertId() const {
  return sqlite3_last_insert_rowid(data_->connection);
}

Statement::Statement(const Database& database, std::string_view sql)
    : data_(std::make_unique<Data>()) {
  data_->connection = database.Native().connection;
  Check(data_->connection,
        sqlite3_prepare_v2(data_->connection, sql.data(), static_cast<int>(sql.size()),
                           &data_->statement, nullptr));
}

Statement::~Statement() {
  sqlite3_finalize(data_->statement);
}

Statement& Statement::Bind(int index, int64_t value) {
  Check(data_->connection, sqlite3_bind_int64(data_->statement, index, value));
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  Check(data_->connection, sqlite3_bind_text(data_->statement, index, text.data(),
                                             static_cast<int>(text.size()), SQLITE_TRANSIENT));
  return *this;
}

bool Statement::Step() {
  int code = sqlite3_step(data_->statement);
  Check(data_->connection, code);
  return code == SQLITE_ROW;
}

void Statement::Reset() {
  // The error of the last step was thrown by Step already.
  sqlite3_reset(data_->statement);
}

int64_t Statement::Int(int column) const {
  return sqlite3_column_int64(data_->statement, column);
}

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(data_->statement, column);
  return text ? std::string(reinterpret_cast<const char*>(text),
                            static_cast<size_t>(sqlite3_column_bytes(data_->statement, column)))
              : std::string();
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(data_->statement, column) == SQLITE_NULL;
}

Transaction::Transaction(Database& database, Kind kind) : database_(database) {
  database_.Execute(kind == Kind::kWrite ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction() {
  sqlite3* connection = database_.Native().connection;
  // A failed write may have rolled the transaction back already.
  if (open_ && !sqlite3_get_autocommit(connection))
    sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  database_.Execute("COMMIT");
  open_ = false;
}

bool DatabaseFileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::string MoveDatabaseFile(const std::string& from, const std::string& to) {
  std::error_code error;
  if (fs::exists(to, error)) return to + " exists already";
  fs::rename(from, to, error);
  if (error) return error.message();
  // The journal goes with its file: rolled back into anything else, it would damage it.
  const std::string journal = from + "-journal";
  if (fs::exists(journal, error)) fs::rename(journal, to + "-journal", error);
  return error ? "the journal: " + error.message() : "";
}
