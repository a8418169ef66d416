#include "database/SqliteStatement.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "database/DatabaseErrors.h"
#include "database/StepTimeLimit.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SystemErrors.h"

namespace zelk::db {

namespace {

std::filesystem::path FolderOf(const std::string& file) {
    return file.empty() ? std::filesystem::path() : platform::PathFromUtf8(file).parent_path();
}

std::string SecondsText(std::chrono::milliseconds time) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(time.count()) / 1000.0);
    return text;
}

}  // namespace

std::string DatabaseFileName(sqlite3* db) {
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    return name ? name : "";
}

bool FileHasMoved(sqlite3* db) {
    int moved = 0;
    return sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved;
}

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    quoted += '"';
    return quoted;
}

std::int64_t CountRows(sqlite3* db, std::string_view table) {
    SqliteStatement count(db, "select count(*) from " + QuoteIdentifier(table));
    count.Step();
    return count.ColumnInt64(0);
}

void ThrowEngineError(sqlite3* db, int rc) {
    const int primary = rc & 0xff;
    switch (primary) {
        case SQLITE_READONLY:
            if (rc == SQLITE_READONLY_DBMOVED) {
                throw EEngineError("The database file '" + DatabaseFileName(db) +
                                       "' was moved or replaced while it was open; the change "
                                       "was not written. The next try uses the file now there.",
                                   rc);
            }
            throw EEngineError("Cannot update. Database or object is read-only.", rc);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            throw EEngineError(
                "The database file '" + DatabaseFileName(db) + "' is in use by another process.",
                rc);
        case SQLITE_FULL:
            throw EEngineError("The disk is full: the change could not be written.", rc);
        case SQLITE_NOTADB:
            throw EEngineError("Not a valid password, or the file is not a database.", rc);
        // SQLCipher reports a page it cannot decrypt or authenticate as out of
        // memory once the connection has met it, and real want of memory
        // fails elsewhere first: on these encrypted files it is damage.
        case SQLITE_NOMEM:
        case SQLITE_CORRUPT:
            throw EEngineError("The database file '" + DatabaseFileName(db) +
                                   "' is damaged (database disk image is malformed); restore it "
                                   "from a backup.",
                               rc);
        case SQLITE_INTERRUPT:
            throw EEngineError("The database file '" + DatabaseFileName(db) +
                                   "' gave no answer within " + SecondsText(StepTimeLimit()) +
                                   " seconds, and the command was stopped: a table of it may be "
                                   "a view that does not end.",
                               rc);
        case SQLITE_IOERR: {
            const int error = db ? sqlite3_system_errno(db) : 0;
            throw EEngineError(
                "Disk I/O error on the database file '" + DatabaseFileName(db) + "'" +
                    (error ? ": " + platform::SystemErrorText(error) : std::string()) + ".",
                rc);
        }
        case SQLITE_CANTOPEN:
            // Reading needs only the file; writing also needs a journal file
            // beside it, in the same folder.
            if (const std::filesystem::path folder = FolderOf(DatabaseFileName(db));
                !folder.empty() && !platform::CanCreateFilesIn(folder)) {
                throw EEngineError("Cannot update the database: the folder " +
                                       platform::QuotedPath(folder) +
                                       " does not allow the journal file to be created beside "
                                       "the database file.",
                                   rc);
            }
            break;
        default:
            break;
    }
    const char* text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw EEngineError(text ? text : sqlite3_errstr(rc), rc);
}

void ExecuteSql(sqlite3* db, const char* sql) {
    TimedStep timed;
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK) ThrowEngineError(db, rc);
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) {
    const int rc =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        ThrowEngineError(db, rc);
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

void SqliteStatement::BindText(int index, std::string_view text) {
    // An empty view may have no storage: bind "" so that the value is '' and not NULL.
    const char* data = text.data() ? text.data() : "";
    const int rc =
        sqlite3_bind_text(stmt_, index, data, static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) ThrowEngineError(sqlite3_db_handle(stmt_), rc);
}

void SqliteStatement::BindNull(int index) {
    const int rc = sqlite3_bind_null(stmt_, index);
    if (rc != SQLITE_OK) ThrowEngineError(sqlite3_db_handle(stmt_), rc);
}

void SqliteStatement::BindInt64(int index, std::int64_t value) {
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK) ThrowEngineError(sqlite3_db_handle(stmt_), rc);
}

bool SqliteStatement::Step() {
    TimedStep timed;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    // With sqlite3_prepare_v2 the step's result code is the specific error.
    ThrowEngineError(sqlite3_db_handle(stmt_), rc);
}

void SqliteStatement::Reset() noexcept {
    if (!stmt_) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int SqliteStatement::ColumnCount() const {
    return sqlite3_column_count(stmt_);
}

std::string_view SqliteStatement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

bool SqliteStatement::ColumnIsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string SqliteStatement::ColumnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return text ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

std::optional<std::string> SqliteStatement::ColumnOptionalText(int column) const {
    if (ColumnIsNull(column)) return std::nullopt;
    return ColumnText(column);
}

std::int64_t SqliteStatement::ColumnInt64(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

}  // namespace zelk::db
