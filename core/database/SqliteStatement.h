#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "database/Sqlite.h"

namespace zelk::db {

// Owns one prepared statement. Engine failures are raised as EEngineError with
// a text that tells the user what is wrong.
class SqliteStatement {
  public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }

    void BindText(int index, std::string_view text);
    void BindNull(int index);
    void BindInt64(int index, std::int64_t value);

    // Runs to the next row: true when a row is ready, false when done.
    bool Step();
    // Rewinds the statement and drops its bindings, so that it can run again.
    void Reset() noexcept;

    int ColumnCount() const;
    std::string_view ColumnName(int column) const;
    bool ColumnIsNull(int column) const;
    std::string ColumnText(int column) const;
    std::optional<std::string> ColumnOptionalText(int column) const;
    std::int64_t ColumnInt64(int column) const;

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

// Resets a statement when the scope ends, however it ends.
class StatementResetter {
  public:
    explicit StatementResetter(SqliteStatement& statement) : statement_(statement) {}
    ~StatementResetter() { statement_.Reset(); }
    StatementResetter(const StatementResetter&) = delete;
    StatementResetter& operator=(const StatementResetter&) = delete;

  private:
    SqliteStatement& statement_;
};

// Raises the engine's error for result code rc on db as EEngineError.
[[noreturn]] void ThrowEngineError(sqlite3* db, int rc);

// Runs statements that return no rows (schema, transactions).
void ExecuteSql(sqlite3* db, const char* sql);

// The path of db's main file, for messages; empty when there is none.
std::string DatabaseFileName(sqlite3* db);

// True when the file db has open is no longer the one at its path (renamed,
// replaced, deleted).
bool FileHasMoved(sqlite3* db);

// A table or column name as the engine reads it literally.
std::string QuoteIdentifier(std::string_view name);

// The number of rows of a table.
std::int64_t CountRows(sqlite3* db, std::string_view table);

}  // namespace zelk::db
