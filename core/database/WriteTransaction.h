#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/Sqlite.h"

namespace zelk::db {

// One change of the database, all or nothing, written into the file that is
// at the database's path when it commits: a file replaced meanwhile (a
// restore, a new database made over it) fails the change with a message that
// says so, instead of writing into the replaced file where nobody sees it.
// Rolls back unless committed.
class WriteTransaction {
  public:
    // Begins at once, with the write lock. Refuses to start inside another
    // transaction, whose end could drop the change unseen.
    explicit WriteTransaction(sqlite3* db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    // Counts table's rows now, so that the commit can prove the change
    // touched no row but its own: a schema of the file's own (a conflict
    // clause that replaces rows) must not change rows the program did not
    // write.
    void WatchRows(std::string_view table);

    // Commits, after checking that the watched table holds exactly
    // rowsAdded rows more (fewer, when negative) than it did.
    void Commit(std::int64_t rowsAdded = 0);

  private:
    sqlite3* db_;
    bool open_ = false;
    std::string watched_;  // empty: no table watched
    std::int64_t rowsBefore_ = 0;
};

}  // namespace zelk::db
