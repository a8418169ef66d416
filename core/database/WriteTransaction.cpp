#include "database/WriteTransaction.h"

#include <string>

#include "database/DatabaseErrors.h"
#include "database/SqliteStatement.h"

namespace zelk::db {

WriteTransaction::WriteTransaction(sqlite3* db) : db_(db) {
    if (!sqlite3_get_autocommit(db_)) {
        throw EEngineError(
            "The database is being read by a command that is still running; the "
            "change was not written.");
    }
    ExecuteSql(db_, "begin immediate");
    if (FileHasMoved(db_)) {
        sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
        ThrowEngineError(db_, SQLITE_READONLY_DBMOVED);
    }
    open_ = true;
}

WriteTransaction::~WriteTransaction() {
    // An interrupted or failed statement may have ended the transaction already.
    if (open_ && !sqlite3_get_autocommit(db_)) {
        sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    }
}

void WriteTransaction::WatchRows(std::string_view table) {
    watched_ = table;
    rowsBefore_ = CountRows(db_, table);
}

void WriteTransaction::Commit(std::int64_t rowsAdded) {
    if (!watched_.empty()) {
        const std::int64_t expected = rowsBefore_ + rowsAdded;
        const std::int64_t actual = CountRows(db_, watched_);
        if (actual != expected) {
            const auto rows = [](std::int64_t n) {
                return std::to_string(n) + (n == 1 ? " row" : " rows");
            };
            throw EEngineError("The database file '" + DatabaseFileName(db_) +
                               "' changed other rows of " + watched_ + " than those written (" +
                               rows(actual) + " instead of " + rows(expected) +
                               "): its schema is not the program's. Nothing was written.");
        }
    }
    if (FileHasMoved(db_)) ThrowEngineError(db_, SQLITE_READONLY_DBMOVED);
    ExecuteSql(db_, "commit");
    open_ = false;
    // The replacement may come between the check and the commit: then the
    // change is in the replaced file, and the user must hear it.
    if (FileHasMoved(db_)) {
        throw EEngineError("The database file '" + DatabaseFileName(db_) +
                           "' was replaced while the change was written: the change went into "
                           "the replaced file, not into the one now there. Make it again.");
    }
}

}  // namespace zelk::db
