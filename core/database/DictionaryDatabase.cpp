#include "database/DictionaryDatabase.h"

#include <optional>
#include <stdexcept>
#include <unordered_set>

#include "database/ConnectionSettings.h"
#include "database/DatabaseErrors.h"
#include "database/WriteTransaction.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"

namespace zelk::db {

using base::DictionaryEntry;
using base::MergePolicy;
using platform::QuotedPath;

namespace {

constexpr const char* kSchema =
    "create table chr12 (chr1 text collate nocase, chr2 text);"
    "create index chr12_chr1 on chr12 (chr1);"
    "create table sv (oid integer default 1, val text);";

void BindReplacement(SqliteStatement& statement, int index, const DictionaryEntry& entry) {
    if (entry.replacement) {
        statement.BindText(index, *entry.replacement);
    } else {
        statement.BindNull(index);
    }
}

std::filesystem::path TemporaryPrefix(const std::filesystem::path& path) {
    std::filesystem::path prefix = path;
    return prefix += ".new-";
}

void CreateSchema(const std::filesystem::path& path, std::string_view savedSentence) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(platform::PathText(path).c_str(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const auto closer = [&] { sqlite3_close_v2(db); };
    try {
        if (rc != SQLITE_OK) {
            throw EEngineError("Could not create file " + QuotedPath(path) + ".", rc);
        }
        const std::string_view password = kDatabasePassword;
        KeyDatabase(db, password.data(), static_cast<int>(password.size()));
        ConfigureConnection(db);
        ExecuteSql(db, kSchema);
        SqliteStatement insert(db, "insert into sv (oid, val) values (1, ?)");
        insert.BindText(1, savedSentence);
        insert.Step();
    } catch (...) {
        closer();
        throw;
    }
    closer();
}

// Puts the finished file in place of the database at path while holding
// the old database's write lock, so that no writer is half-way through a
// change that would land in the replaced file. Where the system replaces no
// open file, the lock is let go just before: the system then refuses the
// replacement while any writer has the file open. A file that is no
// database of the program's is simply replaced, with any journal beside it,
// which would otherwise be played back into the new file.
void ReplaceDatabase(const std::filesystem::path& finished, const std::filesystem::path& path) {
    std::optional<TADOConnection> old(std::in_place,
                                      BuildConnectionString(platform::PathText(path)));
    bool locked = false;
    try {
        ExecuteSql(old->Handle(), "begin immediate");
        locked = true;
    } catch (const EEngineError& error) {
        const int primary = error.code() & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
            throw EEngineError(QuotedPath(path) +
                                   " is being written by another process; it was left as it is. "
                                   "Try again when that has finished.",
                               error.code());
        }
    }
    if (!locked) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(path) += "-journal", ignored);
    }
    if (!platform::OpenFilesCanBeReplaced()) old.reset();
    const std::error_code replaced = platform::ReplaceFile(finished, path);
    if (old && locked) sqlite3_exec(old->Handle(), "rollback", nullptr, nullptr, nullptr);
    if (!replaced) return;
    const bool heldOpen =
        replaced == std::errc::permission_denied && !platform::OpenFilesCanBeReplaced();
    throw std::runtime_error("Cannot replace " + QuotedPath(path) + ": " + replaced.message() +
                             (heldOpen ? "; a program that has it open (the window) keeps it. "
                                         "Close that program and try again."
                                       : "."));
}

// Puts the finished file at path unless a file appeared there meanwhile.
void PlaceNewDatabase(const std::filesystem::path& finished, const std::filesystem::path& path) {
    const std::error_code error = platform::PlaceIfAbsent(finished, path);
    if (error == std::errc::file_exists) {
        throw std::runtime_error(QuotedPath(path) + " already exists; it was left as it is.");
    }
    if (error) {
        throw std::runtime_error("Cannot create " + QuotedPath(path) + ": " + error.message() +
                                 ".");
    }
}

}  // namespace

std::size_t CreateDictionaryDatabase(const std::filesystem::path& path,
                                     const std::vector<DictionaryEntry>& entries,
                                     std::string_view savedSentence, bool overwrite) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw std::runtime_error(QuotedPath(path) + " is a folder; nothing was created.");
    }
    if (!overwrite && std::filesystem::exists(path, error)) {
        throw std::runtime_error(QuotedPath(path) + " already exists; it was left as it is.");
    }
    platform::RemoveDeadTemporaries(TemporaryPrefix(path));
    const std::filesystem::path temporary = platform::TemporaryPath(TemporaryPrefix(path));
    std::size_t rows = 0;
    try {
        try {
            CreateSchema(temporary, savedSentence);
            TADOConnection connection(BuildConnectionString(platform::PathText(temporary)));
            ImportDictionary(connection, entries, MergePolicy::ReplaceKeys);
            rows = static_cast<std::size_t>(CountRows(connection.Handle(), "chr12"));
        } catch (const EEngineError& failure) {
            throw EEngineError("Cannot create " + QuotedPath(path) + ": " + failure.what(),
                               failure.code());
        }
        if (std::filesystem::exists(path, error)) {
            if (!overwrite) {
                throw std::runtime_error(QuotedPath(path) +
                                         " already exists; it was left as it is.");
            }
            ReplaceDatabase(temporary, path);
        } else {
            PlaceNewDatabase(temporary, path);
        }
    } catch (...) {
        std::filesystem::remove(temporary, error);
        std::filesystem::remove(std::filesystem::path(temporary) += "-journal", error);
        throw;
    }
    return rows;
}

std::vector<DictionaryEntry> ExportDictionary(TADOConnection& connection) {
    SqliteStatement& statement =
        connection.Prepare("select chr1, chr2 from chr12 order by _rowid_");
    StatementResetter resetter(statement);
    std::vector<DictionaryEntry> entries;
    while (statement.Step()) {
        entries.push_back({statement.ColumnText(0), statement.ColumnOptionalText(1)});
    }
    return entries;
}

base::ImportSummary ImportDictionary(TADOConnection& connection,
                                     const std::vector<DictionaryEntry>& entries,
                                     MergePolicy policy) {
    connection.OpenCurrentFile();
    sqlite3* db = connection.Handle();
    base::ImportSummary summary;
    WriteTransaction transaction(db);
    if (policy == MergePolicy::ReplaceAll) ExecuteSql(db, "delete from chr12");
    transaction.WatchRows("chr12");
    // The rows this import has written: a later entry for their key is the
    // import's own to change, whatever the mode. Keys compare as the column
    // compares them, since the engine finds the row.
    std::unordered_set<std::int64_t> written;
    SqliteStatement find(db, "select _rowid_ from chr12 where chr1 = ? limit 1");
    SqliteStatement update(db, "update chr12 set chr1 = ?, chr2 = ? where _rowid_ = ?");
    SqliteStatement insert(db, "insert into chr12 (chr1, chr2) values (?, ?)");
    for (const DictionaryEntry& entry : entries) {
        find.Reset();
        find.BindText(1, entry.key);
        if (find.Step()) {
            const std::int64_t rowid = find.ColumnInt64(0);
            find.Reset();
            const bool own = written.contains(rowid);
            if (policy == MergePolicy::KeepExisting && !own) {
                ++summary.kept;
                continue;
            }
            update.Reset();
            update.BindText(1, entry.key);
            BindReplacement(update, 2, entry);
            update.BindInt64(3, rowid);
            update.Step();
            ++(own ? summary.repeated : summary.changed);
            written.insert(rowid);
        } else {
            insert.Reset();
            insert.BindText(1, entry.key);
            BindReplacement(insert, 2, entry);
            insert.Step();
            ++summary.added;
            written.insert(sqlite3_last_insert_rowid(db));
        }
    }
    find.Reset();
    update.Reset();
    insert.Reset();
    transaction.Commit(static_cast<std::int64_t>(summary.added));
    return summary;
}

}  // namespace zelk::db
