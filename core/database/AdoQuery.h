#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/AdoConnection.h"

namespace zelk::db {

// A client-side cursor on the connection. Open runs its statement and fetches
// the whole result, first row current. When every column of the result comes
// from one table the rows stay changeable: each row keeps the table's rowid,
// and post and delete write to the database at once. Otherwise the result is
// read-only.
class TADOQuery {
  public:
    enum class State { Inactive, Browse, Edit, Insert };

    TADOQuery(std::string name, TADOConnection& connection);
    TADOQuery(const TADOQuery&) = delete;
    TADOQuery& operator=(const TADOQuery&) = delete;

    const std::string& Name() const { return name_; }
    TADOConnection& Connection() const { return connection_; }

    // The statement text, in the window code page; it takes effect at the
    // next Open. Parameters fill its "?" placeholders in order.
    void SetSQL(std::string_view text, std::initializer_list<std::string_view> parameters = {});
    const std::string& SQL() const { return sql_; }

    void Open();
    // Drops the result and any unfinished change; nothing on a closed cursor.
    void Close() noexcept;
    bool Active() const { return state_ != State::Inactive; }
    State GetState() const { return state_; }
    bool ReadOnly() const { return table_.empty(); }

    int RecordCount() const;
    bool IsEmpty() const { return rows_.empty(); }

    // The column's value in the current row (or in the row being changed),
    // as text in the window code page; null, or no current row, reads as "".
    std::string FieldAsString(std::string_view field) const;
    bool FieldIsNull(std::string_view field) const;
    // Gives a column of the row being changed or added a text value.
    void SetFieldAsString(std::string_view field, std::string_view value);

    // Starts changing the current row; on an empty result, as Insert.
    void Edit();
    // Start a new row with every column empty, at the end or at the current row.
    void Append();
    void Insert();
    // Writes the row being changed or added, then returns to browsing.
    void Post();
    // Drops the row being changed or added.
    void Cancel();
    // Deletes the current row from the database at once.
    void Delete();

  private:
    using Value = std::optional<std::string>;
    struct Row {
        std::int64_t rowid = 0;
        std::vector<Value> values;
    };

    [[noreturn]] void Fail(std::string_view message) const;
    void RequireActive() const;
    void RequireChangeable() const;
    std::size_t FieldIndex(std::string_view field) const;
    void StartNewRow(std::size_t position);
    SqliteStatement* PrepareKeyed();
    bool ReadKeyedColumns(sqlite3_stmt* raw);
    bool FetchKeyed();
    void FetchReadOnly();
    void BindParameters(SqliteStatement& statement) const;
    // Binds the changed columns of the row being written, in order; gives
    // the next parameter's index.
    int BindChanged(SqliteStatement& statement, const std::vector<std::size_t>& changed);
    void WriteChangedRow(const std::vector<std::size_t>& changed);
    void WriteNewRow(const std::vector<std::size_t>& changed);
    std::string ToWindowText(std::string engineText) const;
    std::string ToEngineText(std::string_view windowText) const;
    Row ReadRow(std::int64_t rowid);
    // A row to fill, with the storage of one the cursor dropped when it can.
    Row NewRow();

    std::string name_;
    TADOConnection& connection_;
    std::string sql_;
    std::vector<std::string> parameters_;

    State state_ = State::Inactive;
    std::string table_;                 // the table rows are written to; empty when read-only
    std::vector<std::string> columns_;  // result column names
    std::vector<std::string> origins_;  // the table column behind each result column
    std::vector<Row> rows_;
    std::vector<Row> spareRows_;  // dropped rows whose storage the next result reuses
    std::size_t current_ = 0;

    // The keyed form of the last statement text and its compiled statement,
    // valid while the connection's statement generation stays the same.
    struct KeyedForm {
        bool made = false;
        std::string sql;
        std::string engineText;  // empty: the statement has no keyed form
        SqliteStatement* statement = nullptr;
        std::uint64_t generation = 0;
        // What the compiled statement's columns are, read when its column
        // names were at namesAt.
        const char* namesAt = nullptr;
        bool keyable = false;
        std::string table;
        std::vector<std::string> columns;
        std::vector<std::string> origins;
    };
    KeyedForm keyed_;

    // The row being changed or added.
    std::vector<Value> buffer_;
    std::vector<bool> modified_;
    std::size_t insertAt_ = 0;
};

}  // namespace zelk::db
