// run-sql [--hold SECONDS] FILE SQL: runs SQL on an encrypted database
// directly, for the shell tests' hostile files (triggers, views, schemas of
// their own), and prints the rows it gives, a line each, columns between
// tabs. With --hold it keeps the connection, and any transaction the SQL left
// open, for that long before it ends: a reader or writer in mid-work.

#include <unistd.h>

#include <iostream>
#include <string>

#include "database/Sqlite.h"

int main(int argc, char** argv) {
    int hold = 0;
    int first = 1;
    if (argc == 5 && std::string(argv[1]) == "--hold") {
        hold = std::stoi(argv[2]);
        first = 3;
    }
    if (argc != first + 2) {
        std::cerr << "usage: run-sql [--hold SECONDS] FILE SQL\n";
        return 2;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[first], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::cerr << "run-sql: cannot open " << argv[first] << "\n";
        return 1;
    }
    zelk::db::KeyDatabase(db, "Wx#7305", 7);
    char* error = nullptr;
    const auto printRow = [](void*, int count, char** values, char**) {
        for (int i = 0; i < count; ++i)
            std::cout << (i ? "\t" : "") << (values[i] ? values[i] : "");
        std::cout << "\n";
        return 0;
    };
    const int rc = sqlite3_exec(db, argv[first + 1], printRow, nullptr, &error);
    if (rc != SQLITE_OK) std::cerr << "run-sql: " << (error ? error : "failed") << "\n";
    sqlite3_free(error);
    if (rc == SQLITE_OK && hold > 0) {
        std::cout << "holding" << std::endl;
        sleep(static_cast<unsigned>(hold));
    }
    sqlite3_close_v2(db);
    return rc == SQLITE_OK ? 0 : 1;
}
