#pragma once

#include "database/AdoConnection.h"

namespace zelk::db {

// One consistent read view of the database for a run of lookups, which also
// spares each statement its own locking. It begins lazily, on the first call
// of Begin(), so that an empty run never touches the database, and ends with
// the scope. Nothing is written inside it.
class ReadTransaction {
  public:
    explicit ReadTransaction(TADOConnection& connection) : connection_(connection) {}
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

    // Opens the connection if needed and begins the transaction, unless one is
    // already running on the connection.
    void Begin();
    // Ends the transaction, if this one began it; Begin may begin anew.
    void End() noexcept;

  private:
    TADOConnection& connection_;
    bool begun_ = false;
};

}  // namespace zelk::db
