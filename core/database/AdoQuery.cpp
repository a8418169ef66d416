#include "database/AdoQuery.h"

#include <algorithm>
#include <cctype>

#include "base/Unicode.h"
#include "database/DatabaseErrors.h"
#include "database/WriteTransaction.h"

namespace zelk::db {

namespace {

constexpr std::size_t kSpareRows = 8;

// The statement with the table's rowid put in front of its columns, when it is
// a plain select; empty otherwise.
std::string KeyedStatement(std::string_view sql) {
    std::size_t i = 0;
    while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
    constexpr std::string_view kSelect = "select";
    if (sql.size() < i + kSelect.size() + 1) return {};
    for (std::size_t k = 0; k < kSelect.size(); ++k) {
        if (std::tolower(static_cast<unsigned char>(sql[i + k])) != kSelect[k]) return {};
    }
    const std::size_t rest = i + kSelect.size();
    if (!std::isspace(static_cast<unsigned char>(sql[rest]))) return {};
    return "select _rowid_," + std::string(sql.substr(rest));
}

}  // namespace

TADOQuery::TADOQuery(std::string name, TADOConnection& connection)
    : name_(std::move(name)), connection_(connection) {
    spareRows_.reserve(kSpareRows);
}

void TADOQuery::Fail(std::string_view message) const {
    throw EDatabaseError(name_, message);
}

void TADOQuery::SetSQL(std::string_view text, std::initializer_list<std::string_view> parameters) {
    // Assigned in place: a lookup cursor is given the same text each time.
    if (sql_ != text) sql_.assign(text);
    parameters_.resize(parameters.size());
    std::size_t i = 0;
    for (std::string_view parameter : parameters) parameters_[i++].assign(parameter);
}

TADOQuery::Row TADOQuery::NewRow() {
    if (spareRows_.empty()) return Row();
    Row row = std::move(spareRows_.back());
    spareRows_.pop_back();
    row.values.clear();
    return row;
}

std::string TADOQuery::ToWindowText(std::string engineText) const {
    const base::CodePage codePage = connection_.WindowCodePage();
    if (codePage == base::kCodePageUtf8) return engineText;
    return base::Utf16ToAnsi(base::Utf8ToUtf16(engineText), codePage);
}

std::string TADOQuery::ToEngineText(std::string_view windowText) const {
    const base::CodePage codePage = connection_.WindowCodePage();
    if (codePage == base::kCodePageUtf8) return std::string(windowText);
    return base::Utf16ToUtf8(base::AnsiToUtf16(windowText, codePage));
}

void TADOQuery::BindParameters(SqliteStatement& statement) const {
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        statement.BindText(static_cast<int>(i + 1), ToEngineText(parameters_[i]));
    }
}

SqliteStatement* TADOQuery::PrepareKeyed() {
    // A cursor that serves lookups opens the same text again and again with
    // other parameters: its keyed form and compiled statement are kept.
    if (!keyed_.made || keyed_.sql != sql_) {
        const std::string keyed = KeyedStatement(sql_);
        keyed_.sql = sql_;
        keyed_.engineText = keyed.empty() ? std::string() : ToEngineText(keyed);
        keyed_.statement = nullptr;
        keyed_.namesAt = nullptr;
        keyed_.made = true;
    }
    if (keyed_.engineText.empty()) return nullptr;
    if (!keyed_.statement || keyed_.generation != connection_.StatementGeneration()) {
        try {
            keyed_.statement = &connection_.Prepare(keyed_.engineText);
        } catch (const EEngineError&) {
            keyed_.statement = nullptr;
            return nullptr;  // no rowid to keep (a join, a view, an aggregate): read-only
        }
        keyed_.generation = connection_.StatementGeneration();
        keyed_.namesAt = nullptr;
    }
    return keyed_.statement;
}

bool TADOQuery::ReadKeyedColumns(sqlite3_stmt* raw) {
    // The engine recompiles a statement whose schema changed under it, and
    // the recompiled one has its column names in new memory: while the first
    // name stays where it was, the columns are those read last time.
    const char* probe = sqlite3_column_name(raw, 0);
    if (probe && probe == keyed_.namesAt) return keyed_.keyable;
    keyed_.namesAt = probe;
    keyed_.keyable = false;
    keyed_.columns.clear();
    keyed_.origins.clear();
    const int count = sqlite3_column_count(raw);
    // The rowid must be that of the very table the columns come from (through
    // a view it would name rows of something else).
    const char* table = count > 1 ? sqlite3_column_table_name(raw, 0) : nullptr;
    if (!table) return false;
    for (int c = 1; c < count; ++c) {
        const char* columnTable = sqlite3_column_table_name(raw, c);
        const char* database = sqlite3_column_database_name(raw, c);
        const char* origin = sqlite3_column_origin_name(raw, c);
        const char* name = sqlite3_column_name(raw, c);
        if (!columnTable || !origin || !database || !name ||
            std::string_view(columnTable) != table || std::string_view(database) != "main") {
            keyed_.columns.clear();
            keyed_.origins.clear();
            return false;
        }
        keyed_.origins.emplace_back(origin);
        keyed_.columns.emplace_back(name);
    }
    keyed_.table = table;
    keyed_.keyable = true;
    return true;
}

bool TADOQuery::FetchKeyed() {
    SqliteStatement* statement = PrepareKeyed();
    if (!statement) return false;
    // Bind and take the first step before reading the result's columns: the
    // step recompiles the statement if the schema has changed since it was
    // prepared, and the columns must be those of the current schema.
    StatementResetter resetter(*statement);
    BindParameters(*statement);
    // A failing step (a damaged page, a lock) is the engine's error to report
    // as it is: the plain statement would only meet it again, or worse, after
    // the engine has rolled back the transaction it ran in.
    bool hasRow = false;
    try {
        hasRow = statement->Step();
    } catch (const EEngineError& error) {
        // The step recompiles a statement whose schema changed, and the
        // keyed one may no longer compile (the engines since 3.36 give a
        // view in the table's place no rowid): read-only, as when it could
        // not be prepared. Any other failure is the file's, reported.
        if ((error.code() & 0xff) != SQLITE_ERROR) throw;
        keyed_.statement = nullptr;
        return false;
    }
    const int count = statement->ColumnCount();
    if (!ReadKeyedColumns(statement->get())) return false;
    columns_.assign(keyed_.columns.begin(), keyed_.columns.end());
    for (; hasRow; hasRow = statement->Step()) {
        Row row = NewRow();
        row.rowid = statement->ColumnInt64(0);
        row.values.reserve(static_cast<std::size_t>(count - 1));
        for (int c = 1; c < count; ++c) {
            Value value = statement->ColumnOptionalText(c);
            if (value) value = ToWindowText(std::move(*value));
            row.values.push_back(std::move(value));
        }
        rows_.push_back(std::move(row));
    }
    table_ = keyed_.table;
    origins_.assign(keyed_.origins.begin(), keyed_.origins.end());
    return true;
}

void TADOQuery::FetchReadOnly() {
    SqliteStatement& statement = connection_.Prepare(ToEngineText(sql_));
    StatementResetter resetter(statement);
    BindParameters(statement);
    bool hasRow = statement.Step();  // first, so that the columns are current (see FetchKeyed)
    const int count = statement.ColumnCount();
    for (int c = 0; c < count; ++c) columns_.emplace_back(statement.ColumnName(c));
    for (; hasRow; hasRow = statement.Step()) {
        Row row = NewRow();
        for (int c = 0; c < count; ++c) {
            Value value = statement.ColumnOptionalText(c);
            if (value) value = ToWindowText(std::move(*value));
            row.values.push_back(std::move(value));
        }
        rows_.push_back(std::move(row));
    }
}

void TADOQuery::Open() {
    if (Active()) return;
    connection_.OpenCurrentFile();
    try {
        if (!FetchKeyed()) {
            Close();
            FetchReadOnly();
        }
    } catch (...) {
        Close();  // an opening that fails leaves the cursor closed
        throw;
    }
    state_ = State::Browse;
    current_ = 0;
}

void TADOQuery::Close() noexcept {
    state_ = State::Inactive;
    table_.clear();
    columns_.clear();
    origins_.clear();
    // A few dropped rows keep their storage for the next result (the room for
    // them is reserved, so that this cannot fail).
    for (Row& row : rows_) {
        if (spareRows_.size() >= kSpareRows) break;
        spareRows_.push_back(std::move(row));
    }
    rows_.clear();
    buffer_.clear();
    modified_.clear();
    current_ = 0;
}

void TADOQuery::RequireActive() const {
    if (!Active()) Fail(messages::kClosedDataset);
}

void TADOQuery::RequireChangeable() const {
    if (ReadOnly()) Fail(messages::kReadOnlyDataset);
}

int TADOQuery::RecordCount() const {
    RequireActive();
    return static_cast<int>(rows_.size());
}

std::size_t TADOQuery::FieldIndex(std::string_view field) const {
    // Column names compare as the engine compares them: ASCII letters in
    // either case.
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    const auto same = [&](const std::string& column) {
        return column.size() == field.size() &&
               std::equal(column.begin(), column.end(), field.begin(),
                          [&](char a, char b) { return fold(a) == fold(b); });
    };
    const auto it = std::find_if(columns_.begin(), columns_.end(), same);
    if (it == columns_.end()) Fail(FieldNotFoundMessage(field));
    return static_cast<std::size_t>(it - columns_.begin());
}

bool TADOQuery::FieldIsNull(std::string_view field) const {
    const std::size_t index = FieldIndex(field);
    if (state_ == State::Edit || state_ == State::Insert) return !buffer_[index].has_value();
    if (rows_.empty()) return true;
    return !rows_[current_].values[index].has_value();
}

std::string TADOQuery::FieldAsString(std::string_view field) const {
    const std::size_t index = FieldIndex(field);
    const Value& value = (state_ == State::Edit || state_ == State::Insert)
                             ? buffer_[index]
                             : (rows_.empty() ? Value() : rows_[current_].values[index]);
    return value.value_or(std::string());
}

void TADOQuery::SetFieldAsString(std::string_view field, std::string_view value) {
    const std::size_t index = FieldIndex(field);
    if (state_ != State::Edit && state_ != State::Insert) Fail(messages::kNotEditing);
    buffer_[index] = std::string(value);
    modified_[index] = true;
}

void TADOQuery::StartNewRow(std::size_t position) {
    RequireActive();
    RequireChangeable();
    if (state_ == State::Edit || state_ == State::Insert) Cancel();
    buffer_.assign(columns_.size(), Value());
    modified_.assign(columns_.size(), false);
    insertAt_ = position;
    state_ = State::Insert;
}

void TADOQuery::Append() {
    StartNewRow(rows_.size());
}

void TADOQuery::Insert() {
    StartNewRow(current_);
}

void TADOQuery::Edit() {
    RequireActive();
    if (state_ == State::Edit || state_ == State::Insert) return;
    if (rows_.empty()) {
        Insert();
        return;
    }
    RequireChangeable();
    buffer_ = rows_[current_].values;
    modified_.assign(columns_.size(), false);
    state_ = State::Edit;
}

void TADOQuery::Cancel() {
    if (state_ == State::Edit || state_ == State::Insert) state_ = State::Browse;
    buffer_.clear();
    modified_.clear();
}

TADOQuery::Row TADOQuery::ReadRow(std::int64_t rowid) {
    std::string sql = "select ";
    for (std::size_t c = 0; c < origins_.size(); ++c) {
        if (c) sql += ", ";
        sql += QuoteIdentifier(origins_[c]);
    }
    sql += " from " + QuoteIdentifier(table_) + " where _rowid_ = ?";
    SqliteStatement& statement = connection_.Prepare(sql);
    StatementResetter resetter(statement);
    statement.BindInt64(1, rowid);
    Row row;
    row.rowid = rowid;
    if (!statement.Step()) {
        row.values = buffer_;
        return row;
    }
    for (int c = 0; c < statement.ColumnCount(); ++c) {
        Value value = statement.ColumnOptionalText(c);
        if (value) value = ToWindowText(std::move(*value));
        row.values.push_back(std::move(value));
    }
    return row;
}

void TADOQuery::Post() {
    RequireActive();
    if (state_ != State::Edit && state_ != State::Insert) Fail(messages::kNotEditing);
    std::vector<std::size_t> changed;
    for (std::size_t c = 0; c < modified_.size(); ++c) {
        if (modified_[c]) changed.push_back(c);
    }
    if (state_ == State::Edit) {
        if (!changed.empty()) WriteChangedRow(changed);
    } else {
        WriteNewRow(changed);
    }
    state_ = State::Browse;
    buffer_.clear();
    modified_.clear();
}

int TADOQuery::BindChanged(SqliteStatement& statement, const std::vector<std::size_t>& changed) {
    int index = 1;
    for (std::size_t c : changed) {
        if (buffer_[c]) {
            statement.BindText(index++, ToEngineText(*buffer_[c]));
        } else {
            statement.BindNull(index++);
        }
    }
    return index;
}

void TADOQuery::WriteChangedRow(const std::vector<std::size_t>& changed) {
    sqlite3* db = connection_.Handle();
    std::string sql = "update " + QuoteIdentifier(table_) + " set ";
    for (std::size_t k = 0; k < changed.size(); ++k) {
        if (k) sql += ", ";
        sql += QuoteIdentifier(origins_[changed[k]]) + " = ?";
    }
    sql += " where _rowid_ = ?";
    WriteTransaction transaction(db);
    transaction.WatchRows(table_);
    {
        SqliteStatement& statement = connection_.Prepare(sql);
        StatementResetter resetter(statement);
        const int rowidIndex = BindChanged(statement, changed);
        statement.BindInt64(rowidIndex, rows_[current_].rowid);
        statement.Step();
    }
    if (sqlite3_changes(db) == 0) {
        throw EEngineError(
            "Row cannot be located for updating. Some values may have been changed since it was "
            "last read.");
    }
    transaction.Commit();
    rows_[current_].values = buffer_;
}

void TADOQuery::WriteNewRow(const std::vector<std::size_t>& changed) {
    sqlite3* db = connection_.Handle();
    std::string sql = "insert into " + QuoteIdentifier(table_);
    if (changed.empty()) {
        sql += " default values";
    } else {
        std::string names, placeholders;
        for (std::size_t k = 0; k < changed.size(); ++k) {
            if (k) names += ", ", placeholders += ", ";
            names += QuoteIdentifier(origins_[changed[k]]);
            placeholders += "?";
        }
        sql += " (" + names + ") values (" + placeholders + ")";
    }
    WriteTransaction transaction(db);
    transaction.WatchRows(table_);
    {
        SqliteStatement& statement = connection_.Prepare(sql);
        StatementResetter resetter(statement);
        BindChanged(statement, changed);
        statement.Step();
    }
    Row row = ReadRow(sqlite3_last_insert_rowid(db));
    transaction.Commit(+1);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(insertAt_), std::move(row));
    current_ = insertAt_;
}

void TADOQuery::Delete() {
    RequireActive();
    if (state_ == State::Insert) {
        Cancel();
        return;
    }
    Cancel();
    if (rows_.empty()) Fail(messages::kEmptyDataset);
    RequireChangeable();
    sqlite3* db = connection_.Handle();
    SqliteStatement& statement =
        connection_.Prepare("delete from " + QuoteIdentifier(table_) + " where _rowid_ = ?");
    WriteTransaction transaction(db);
    transaction.WatchRows(table_);
    {
        StatementResetter resetter(statement);
        statement.BindInt64(1, rows_[current_].rowid);
        statement.Step();
    }
    if (sqlite3_changes(db) == 0) {
        throw EEngineError(
            "Row cannot be located for deleting. It may have been changed or deleted since it "
            "was last read.");
    }
    transaction.Commit(-1);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(current_));
    if (current_ >= rows_.size() && current_ > 0) --current_;
}

}  // namespace zelk::db
