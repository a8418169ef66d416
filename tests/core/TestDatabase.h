#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "base/DictionaryEntry.h"

struct sqlite3;

namespace zelk::test {

// Makes Zelk.dll (or path) with the program's schema and these entries.
void MakeDatabase(const std::vector<base::DictionaryEntry>& entries,
                  const std::filesystem::path& path = "Zelk.dll");

// Runs SQL on an encrypted database directly, bypassing the data layer, to set
// up cases the program itself never makes (odd schemas, null values).
void RunSql(const std::string& sql, const std::filesystem::path& path = "Zelk.dll",
            const std::string& password = "Wx#7305");

// The values of one text column of a query, "<null>" for null.
std::vector<std::string> QueryColumn(const std::string& sql,
                                     const std::filesystem::path& path = "Zelk.dll");

// Holds an exclusive lock on a database while it lives, as another program
// in the middle of a long write would.
class ScopedDatabaseLock {
  public:
    explicit ScopedDatabaseLock(const std::filesystem::path& path = "Zelk.dll");
    ~ScopedDatabaseLock();
    ScopedDatabaseLock(const ScopedDatabaseLock&) = delete;
    ScopedDatabaseLock& operator=(const ScopedDatabaseLock&) = delete;
    void Release();

  private:
    sqlite3* db_ = nullptr;
};

}  // namespace zelk::test
