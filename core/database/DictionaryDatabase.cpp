#include "DictionaryDatabase.h"

#include <unistd.h>

#include <random>
#include <stdexcept>
#include <unordered_set>

#include "ConnectionSettings.h"
#include "DatabaseErrors.h"

namespace zelk {

namespace {

constexpr const char* kSchema =
    "create table chr12 (chr1 text collate nocase, chr2 text);"
    "create index chr12_chr1 on chr12 (chr1);"
    "create table sv (oid integer default 1, val text);";

// Rolls back unless committed.
class WriteTransaction {
  public:
    explicit WriteTransaction(sqlite3* db) : db_(db) { ExecuteSql(db_, "begin immediate"); }
    ~WriteTransaction() {
        if (!committed_) sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void Commit() {
        ExecuteSql(db_, "commit");
        committed_ = true;
    }

  private:
    sqlite3* db_;
    bool committed_ = false;
};

void BindReplacement(SqliteStatement& statement, int index, const DictionaryEntry& entry) {
    if (entry.replacement) {
        statement.BindText(index, *entry.replacement);
    } else {
        statement.BindNull(index);
    }
}

std::filesystem::path TemporarySibling(const std::filesystem::path& path) {
    std::random_device random;
    return path.parent_path() / (path.filename().string() + ".new-" + std::to_string(::getpid()) +
                                 "-" + std::to_string(random() % 1000000));
}

void CreateSchema(const std::filesystem::path& path, std::string_view savedSentence) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const auto closer = [&] { sqlite3_close_v2(db); };
    try {
        if (rc != SQLITE_OK) {
            throw EEngineError("Could not create file '" + path.string() + "'.", rc);
        }
        const std::string_view password = kDatabasePassword;
        sqlite3_key(db, password.data(), static_cast<int>(password.size()));
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

}  // namespace

void CreateDictionaryDatabase(const std::filesystem::path& path,
                              const std::vector<DictionaryEntry>& entries,
                              std::string_view savedSentence, bool overwrite) {
    std::error_code error;
    if (!overwrite && std::filesystem::exists(path, error)) {
        throw std::runtime_error("'" + path.string() + "' already exists; it was left as it is.");
    }
    const std::filesystem::path temporary = TemporarySibling(path);
    try {
        CreateSchema(temporary, savedSentence);
        {
            TADOConnection connection(BuildConnectionString(temporary.string()));
            ImportDictionary(connection, entries, ImportMode::ReplaceKeys);
        }
        std::filesystem::rename(temporary, path);
    } catch (...) {
        std::filesystem::remove(temporary, error);
        throw;
    }
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

ImportSummary ImportDictionary(TADOConnection& connection,
                               const std::vector<DictionaryEntry>& entries, ImportMode mode) {
    sqlite3* db = connection.Handle();
    ImportSummary summary;
    WriteTransaction transaction(db);
    if (mode == ImportMode::ReplaceAll) ExecuteSql(db, "delete from chr12");
    // Keys this import has written: they are the import's own to change again.
    std::unordered_set<std::string> written;
    SqliteStatement find(db, "select _rowid_ from chr12 where chr1 = ? limit 1");
    SqliteStatement update(db, "update chr12 set chr1 = ?, chr2 = ? where _rowid_ = ?");
    SqliteStatement insert(db, "insert into chr12 (chr1, chr2) values (?, ?)");
    for (const DictionaryEntry& entry : entries) {
        find.Reset();
        find.BindText(1, entry.key);
        if (find.Step()) {
            const std::int64_t rowid = find.ColumnInt64(0);
            find.Reset();
            if (mode == ImportMode::KeepExisting && !written.contains(entry.key)) {
                ++summary.kept;
                continue;
            }
            update.Reset();
            update.BindText(1, entry.key);
            BindReplacement(update, 2, entry);
            update.BindInt64(3, rowid);
            update.Step();
            ++summary.changed;
        } else {
            insert.Reset();
            insert.BindText(1, entry.key);
            BindReplacement(insert, 2, entry);
            insert.Step();
            ++summary.added;
        }
        if (mode == ImportMode::KeepExisting) written.insert(entry.key);
    }
    find.Reset();
    update.Reset();
    insert.Reset();
    transaction.Commit();
    return summary;
}

}  // namespace zelk
