#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/CodePage.h"
#include "database/ConnectionSettings.h"
#include "database/Sqlite.h"
#include "database/SqliteStatement.h"

namespace zelk::db {

// The settings every connection of the program runs with: a wait for a
// lock held by another process, extended error codes, no triggers of the
// file's own, and the step time limit.
void ConfigureConnection(sqlite3* db);

// The program's one database connection. It reads the data source and the
// database password from its connection string, opens itself when a cursor
// first needs it (read-write, never creating the file), stays open until it is
// destroyed, and tries again on the next use after a failed open.
class TADOConnection {
  public:
    explicit TADOConnection(std::string connectionString = BuildConnectionString(),
                            base::CodePage windowCodePage = base::AnsiCodePage());
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    const std::string& ConnectionString() const { return connectionString_; }
    // The code page in which texts cross the data layer.
    base::CodePage WindowCodePage() const { return codePage_; }

    bool Connected() const { return db_ != nullptr; }
    // Opens the file if it is not open yet; raises EEngineError and stays
    // closed when that fails.
    void Open();
    void Close() noexcept;
    // Open, at the start of an operation: when the file at the data source is
    // no longer the one the connection has open (replaced by a restore, a new
    // database, a sync tool), the connection is closed and the current file
    // opened, so that the operation reads and writes the file the user has.
    // Never inside a transaction.
    void OpenCurrentFile();

    // The open engine handle (opening the connection first).
    sqlite3* Handle();

    // A prepared statement for sql, kept for the next call with the same text.
    // Only the compiled form is kept: every run reads the file anew.
    SqliteStatement& Prepare(const std::string& sql);
    // Changes whenever kept statements are dropped (the connection closed, or
    // the cache emptied): a caller that holds on to a statement from Prepare
    // may use it again only while this stays the same.
    std::uint64_t StatementGeneration() const { return statementGeneration_; }

    // The data source as a full path, for messages.
    std::filesystem::path DataSourcePath() const;

  private:
    [[noreturn]] void ThrowOpenError(int rc);

    std::string connectionString_;
    base::CodePage codePage_;
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, SqliteStatement> statements_;
    std::uint64_t statementGeneration_ = 0;
};

}  // namespace zelk::db
