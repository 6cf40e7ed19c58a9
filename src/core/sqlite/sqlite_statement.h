#pragma once

#include "core/sqlite/sqlite_failure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class SqliteDatabase;
struct sqlite3;
struct sqlite3_stmt;

// One prepared statement, finalized on every way out. Every failure is a
// SqliteFailure carrying SQLite's own message.
class SqliteStatement {
public:
    // What may follow the one statement in the text.
    enum class Rest { Ignored, OnlyBlanks };

    SqliteStatement(sqlite3* db, const QByteArray& text, Rest rest = Rest::Ignored);
    SqliteStatement(sqlite3* db, const char* text) : SqliteStatement(db, QByteArray(text)) {}
    SqliteStatement(const SqliteDatabase& db, const QByteArray& text, Rest rest = Rest::Ignored);
    SqliteStatement(const SqliteDatabase& db, const char* text)
        : SqliteStatement(db, QByteArray(text)) {}
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, qint64 value);
    // The text is copied.
    SqliteStatement& bind(int index, const QString& value);
    // The text is read in place: it must stay alive and unchanged until step().
    SqliteStatement& bindInPlace(int index, const QString& value);
    // UTF-8 bytes as text (never a null, even when empty), read in place like
    // bindInPlace: they reach the database as they are, so they must be valid UTF-8.
    SqliteStatement& bindUtf8InPlace(int index, QByteArrayView utf8);
    // Bytes as a blob (never a null, even when empty), read in place like bindInPlace.
    SqliteStatement& bind(int index, const QByteArray& value);
    SqliteStatement& bindBlobInPlace(int index, QByteArrayView value);
    // Column `column` of the current row of `row`, as it is (any type, copied).
    SqliteStatement& bindColumn(int index, const SqliteStatement& row, int column);

    // Advances to the next row; false when the statement is done (or the
    // text held no statement at all).
    bool step();
    // Makes the statement ready to run again with new values.
    void reset();

    // The columns of the rows and their names.
    int columnCount() const;
    QString columnName(int column) const;
    // A column of the current row: as a number, as the UTF-8 bytes of its
    // text (empty for a null; valid until the next step), decoded, as a blob,
    // and as the blob's bytes in place (valid until the next step).
    qint64 integer(int column) const;
    QByteArrayView utf8(int column) const;
    QString text(int column) const;
    QByteArray blob(int column) const;
    QByteArrayView blobBytes(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Makes a statement kept for reuse ready to run again when it leaves scope,
// on every way out, so that a step that fails does not leave it half run:
//     const StatementReset ready(insert);
//     insert.step();
// A row it gives is read before the scope ends.
class StatementReset {
public:
    explicit StatementReset(SqliteStatement& statement) : m_statement(statement) {}
    ~StatementReset() { m_statement.reset(); }
    StatementReset(const StatementReset&) = delete;
    StatementReset& operator=(const StatementReset&) = delete;

private:
    SqliteStatement& m_statement;
};
