#pragma once
// Small owners and checked calls around the SQLite library for the database
// export.

#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>

// A failed call of the library, with its message.
class DatabaseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// Throws DatabaseError with the database's message unless result is
// SQLITE_OK or SQLITE_DONE.
void Check(sqlite3* db, int result);

void Execute(sqlite3* db, const char* sql);

Statement Prepare(sqlite3* db, const char* sql);

// Runs a bound statement to its end and makes it ready for new values.
void Step(sqlite3* db, sqlite3_stmt* statement);

// Opens the file for writing, making it when it is not there.
Database OpenDatabase(const std::string& path);
