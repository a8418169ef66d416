// The one place that includes the SQLCipher header: SQLITE_HAS_CODEC must be
// defined before it for sqlite3_key() to be declared.
#pragma once

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlcipher/sqlite3.h>
