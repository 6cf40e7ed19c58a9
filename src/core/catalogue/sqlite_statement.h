#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// SQLite's message for the last failure on a connection.
QString sqliteMessage(sqlite3* db);

// One prepared statement, finalized on every way out. Every failure is a
// Failure carrying SQLite's own message.
class SqliteStatement {
public:
    // What may follow the one statement in the text.
    enum class Rest { Ignored, OnlyBlanks };

    SqliteStatement(sqlite3* db, const QByteArray& text, Rest rest = Rest::Ignored);
    SqliteStatement(sqlite3* db, const char* text) : SqliteStatement(db, QByteArray(text)) {}
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, qint64 value);
    // The text is copied.
    SqliteStatement& bind(int index, const QString& value);
    // The text is read in place: it must stay alive and unchanged until step().
    SqliteStatement& bindInPlace(int index, const QString& value);
    // Bytes as a blob (never a null, even when empty), read in place like bindInPlace.
    SqliteStatement& bind(int index, const QByteArray& value);

    // Advances to the next row; false when the statement is done (or the
    // text held no statement at all).
    bool step();
    // Makes the statement ready to run again with new values.
    void reset();
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};
