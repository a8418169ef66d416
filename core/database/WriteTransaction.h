#pragma once

#include <cstdint>
#include <string_view>

#include "Sqlite.h"

namespace zelk {

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

    // Fails unless table holds exactly expected rows: a schema of the file's
    // own (a conflict clause that replaces rows) must not change rows the
    // program did not write.
    void RequireRowCount(std::string_view table, std::int64_t expected) const;

    void Commit();

  private:
    sqlite3* db_;
    bool open_ = false;
};

}  // namespace zelk
