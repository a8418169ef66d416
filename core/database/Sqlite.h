// The one place that includes the SQLCipher header: SQLITE_HAS_CODEC must be
// defined before it for sqlite3_key() to be declared.
#pragma once

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlcipher/sqlite3.h>

namespace zelk::db {

// Gives db the password, with the settings of the files the program has
// always written (those of SQLCipher 3: 64,000 rounds of PBKDF2-HMAC-SHA1,
// AES-256-CBC, HMAC-SHA1, 1,024-byte pages), whatever SQLCipher the program
// is built with, so that a file moves between systems. A SQLCipher of that
// version knows no other settings and takes no notice of the pragma.
inline int KeyDatabase(sqlite3* db, const char* password, int size) {
    const int rc = sqlite3_key(db, password, size);
    if (rc != SQLITE_OK) return rc;
    return sqlite3_exec(db, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr);
}

}  // namespace zelk::db
