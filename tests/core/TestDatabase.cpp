#include "TestDatabase.h"

#include <stdexcept>

#include "database/DictionaryDatabase.h"
#include "database/Sqlite.h"
#include "platform/Paths.h"

namespace zelk::test {

void MakeDatabase(const std::vector<base::DictionaryEntry>& entries,
                  const std::filesystem::path& path) {
    db::CreateDictionaryDatabase(path, entries, db::kInitialSentence, true);
}

namespace {

sqlite3* OpenRaw(const std::filesystem::path& path, const std::string& password) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(platform::PathText(path).c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + platform::PathText(path));
    }
    if (!password.empty()) db::KeyDatabase(db, password.data(), static_cast<int>(password.size()));
    return db;
}

}  // namespace

void RunSql(const std::string& sql, const std::filesystem::path& path,
            const std::string& password) {
    sqlite3* db = OpenRaw(path, password);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("test SQL failed: " + message);
}

std::vector<std::string> QueryColumn(const std::string& sql, const std::filesystem::path& path) {
    sqlite3* db = OpenRaw(path, "Wx#7305");
    sqlite3_stmt* statement = nullptr;
    std::vector<std::string> values;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            values.emplace_back(text ? text : "<null>");
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return values;
}

ScopedDatabaseLock::ScopedDatabaseLock(const std::filesystem::path& path)
    : db_(OpenRaw(path, "Wx#7305")) {
    if (sqlite3_exec(db_, "begin exclusive", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        throw std::runtime_error("cannot lock " + path.string());
    }
}

ScopedDatabaseLock::~ScopedDatabaseLock() {
    Release();
}

void ScopedDatabaseLock::Release() {
    if (!db_) return;
    sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
    db_ = nullptr;
}

}  // namespace zelk::test
