#include "database/ReadTransaction.h"

#include <utility>

namespace zelk::db {

void ReadTransaction::Begin() {
    if (begun_) return;
    connection_.OpenCurrentFile();
    sqlite3* db = connection_.Handle();
    if (!sqlite3_get_autocommit(db)) return;  // someone else's transaction is running
    ExecuteSql(db, "begin");
    begun_ = true;
}

ReadTransaction::~ReadTransaction() {
    End();
}

void ReadTransaction::End() noexcept {
    if (!std::exchange(begun_, false) || !connection_.Connected()) return;
    sqlite3* db = connection_.Handle();
    // Nothing was written, so ending it cannot lose anything.
    if (sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
    }
}

}  // namespace zelk::db
