#include "database/AdoConnection.h"

#include <fstream>
#include <system_error>

#include "database/DatabaseErrors.h"
#include "database/StepTimeLimit.h"
#include "platform/Paths.h"

namespace zelk::db {

using platform::PathFromUtf8;
using platform::PathText;
using platform::QuotedPath;

namespace {

constexpr int kBusyTimeoutMs = 2000;
constexpr std::size_t kStatementCacheLimit = 64;

bool StartsWithPlainSqliteHeader(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    char header[16] = {};
    file.read(header, sizeof header);
    return file.gcount() == sizeof header &&
           std::string_view(header, 16) == std::string_view("SQLite format 3\0", 16);
}

}  // namespace

void ConfigureConnection(sqlite3* db) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // A file may bring triggers of its own, which could change or delete
    // rows behind every write the program makes: the program's schema has
    // none, so none run.
    int enabled = 1;
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &enabled);
    if (enabled != 0) throw EEngineError("The database engine cannot turn triggers off.");
    LimitStepTime(db);
}

TADOConnection::TADOConnection(std::string connectionString, base::CodePage windowCodePage)
    : connectionString_(std::move(connectionString)), codePage_(windowCodePage) {}

TADOConnection::~TADOConnection() {
    Close();
}

std::filesystem::path TADOConnection::DataSourcePath() const {
    const std::string source = ConnectionAttribute(connectionString_, "Data Source").value_or("");
    std::error_code error;
    const std::filesystem::path given = PathFromUtf8(source);
    std::filesystem::path path = std::filesystem::absolute(given, error);
    return error ? given : path.lexically_normal();
}

void TADOConnection::ThrowOpenError(int rc) {
    const std::filesystem::path path = DataSourcePath();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        throw EEngineError("Could not find file " + QuotedPath(path) + ".", rc);
    }
    if (std::filesystem::is_directory(path, error)) {
        throw EEngineError(QuotedPath(path) + " is a folder, not a database file.", rc);
    }
    if ((rc & 0xff) == SQLITE_NOTADB) {
        // An encrypted database is made of whole pages; anything else is no
        // database at all.
        const auto size = std::filesystem::file_size(path, error);
        if (!error && size >= 512 && size % 512 == 0) {
            if (StartsWithPlainSqliteHeader(path)) {
                throw EEngineError("Not a valid password: the database " + QuotedPath(path) +
                                       " is not protected with the program's password.",
                                   rc);
            }
            throw EEngineError("Not a valid password for the database " + QuotedPath(path) + ".",
                               rc);
        }
        throw EEngineError("Unrecognized database format " + QuotedPath(path) + ".", rc);
    }
    if ((rc & 0xff) == SQLITE_CANTOPEN || (rc & 0xff) == SQLITE_PERM) {
        throw EEngineError("Could not open file " + QuotedPath(path) + ".", rc);
    }
    try {
        ThrowEngineError(db_, rc);
    } catch (const EEngineError& engineError) {
        const std::string message = engineError.what();
        if (message.find(PathText(path)) != std::string::npos) throw;
        throw EEngineError(message + " (" + PathText(path) + ")", rc);
    }
}

void TADOConnection::Open() {
    if (db_) return;
    const std::string source = ConnectionAttribute(connectionString_, "Data Source").value_or("");
    const std::string password =
        ConnectionAttribute(connectionString_, "Jet OLEDB:Database Password").value_or("");
    if (source.empty()) throw EEngineError("The connection names no database file.");

    std::error_code error;
    const std::filesystem::path path = DataSourcePath();
    const std::filesystem::file_type type = std::filesystem::status(path, error).type();
    if (error == std::errc::too_many_symbolic_link_levels) {
        throw EEngineError("Cannot open " + QuotedPath(path) + ": " + error.message() + ".",
                           SQLITE_CANTOPEN);
    }
    // What is no file would be read as an empty database (a device) or wait
    // for ever for a writer (a FIFO).
    using std::filesystem::file_type;
    if (type == file_type::fifo || type == file_type::socket || type == file_type::block ||
        type == file_type::character) {
        const char* what = type == file_type::fifo     ? "a FIFO (a pipe)"
                           : type == file_type::socket ? "a socket"
                                                       : "a device";
        throw EEngineError(QuotedPath(path) + " is " + what + ", not a database file.",
                           SQLITE_CANTOPEN);
    }
    if (type == file_type::regular && std::filesystem::file_size(path, error) == 0 && !error) {
        // The engine would take an empty file for a new database.
        throw EEngineError("Unrecognized database format " + QuotedPath(path) + ".", SQLITE_NOTADB);
    }

    // One thread uses a connection at a time: the per-call mutex buys nothing.
    const int rc =
        sqlite3_open_v2(source.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    try {
        if (rc != SQLITE_OK) ThrowOpenError(rc);
        if (!password.empty()) {
            const int keyRc = KeyDatabase(db_, password.data(), static_cast<int>(password.size()));
            if (keyRc != SQLITE_OK) ThrowOpenError(keyRc);
        }
        ConfigureConnection(db_);
        // The key is only checked when the file is first read: read now, so
        // that a wrong password or a foreign file fails the open itself.
        char* message = nullptr;
        int probeRc;
        {
            TimedStep timed;
            probeRc =
                sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, &message);
        }
        sqlite3_free(message);
        if (probeRc != SQLITE_OK) ThrowOpenError(probeRc);
    } catch (...) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw;
    }
}

void TADOConnection::OpenCurrentFile() {
    if (db_ && sqlite3_get_autocommit(db_) && FileHasMoved(db_)) Close();
    Open();
}

void TADOConnection::Close() noexcept {
    statements_.clear();
    ++statementGeneration_;
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

sqlite3* TADOConnection::Handle() {
    Open();
    return db_;
}

SqliteStatement& TADOConnection::Prepare(const std::string& sql) {
    sqlite3* db = Handle();
    if (auto it = statements_.find(sql); it != statements_.end()) return it->second;
    SqliteStatement statement(db, sql);
    if (statements_.size() >= kStatementCacheLimit) {
        statements_.clear();
        ++statementGeneration_;
    }
    return statements_.emplace(sql, std::move(statement)).first->second;
}

}  // namespace zelk::db
