#include "tools/voxacurve/SqliteDatabase.h"

void Check(sqlite3* db, int result)
{
    if (result != SQLITE_OK && result != SQLITE_DONE)
        throw DatabaseError(sqlite3_errmsg(db));
}

void Execute(sqlite3* db, const char* sql)
{
    Check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

Statement Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    Check(db, sqlite3_prepare_v2(db, sql, -1, &statement, nullptr));
    return Statement(statement);
}

void Step(sqlite3* db, sqlite3_stmt* statement)
{
    const int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    Check(db, result);
}

Database OpenDatabase(const std::string& path)
{
    sqlite3* db = nullptr;
    const int result
        = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database database(db);
    if (result != SQLITE_OK)
        throw DatabaseError(db ? sqlite3_errmsg(db) : "out of memory");
    return database;
}
