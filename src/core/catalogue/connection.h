#pragma once

#include "core/sqlite/sqlite_database.h"
#include "core/system/write_guard.h"

#include "core/catalogue/movie_column.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// The catalogue connection: one SQLite database file, opened read-write (or
// only for reading), never created.
class Connection {
public:
    enum class Access { ReadWrite, ReadOnly };

    // How long a statement waits for another program's lock before failing.
    static constexpr int kBusyTimeoutMs = SqliteDatabase::kBusyTimeoutMs;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the database file named exactly so; a missing file is an error.
    void open(const QString& path, Access access = Access::ReadWrite);
    // Runs exactly one statement; anything after it other than blanks is
    // refused. Returns the number of rows the statement changed.
    int execute(const QString& statement);
    bool isOpen() const { return m_db.isOpen(); }
    // Closes the file, after settle(); nothing happens when it is not open.
    void close();
    // After a failed change: ends any transaction still open and lets SQLite
    // play back what a write cut short (a full disk, a file-size limit) left
    // in the file, so that the file is as it was before the change and no
    // journal stays beside it for the next program to trip over. Never fails.
    void settle() noexcept;

    SqliteDatabase& database() { return m_db; }
    const SqliteDatabase& database() const { return m_db; }

private:
    SqliteDatabase m_db;
    // The open file is never written over by the program's own writers.
    GuardedFile m_guard;
};

// Fails (a Failure) when the text cannot reach the database exactly as it
// is: it holds a NUL character or half of a UTF-16 pair.
void requireStorableText(QStringView text);

// A read: the statement runs at open() and every row is read then, so
// walking the rows never touches the database again. Every operation but
// isOpen() fails on a record-set that is not open.
class Recordset {
public:
    void open(const QString& statement, Connection& connection);
    // True past the last row.
    bool atEnd() const;
    // The current row's value of a column, as text ("" for a null column).
    QString value(const QString& column) const;
    QString value(MovieColumn column) const;
    // Moves to the next row.
    void next();
    bool isOpen() const { return m_open; }
    void close();

    int rowCount() const { return m_rowCount; }
    // The position of a column by name (case-insensitive); fails when there is none.
    int fieldIndex(const QString& column) const;
    int fieldIndex(MovieColumn column) const;
    // The current row's value at a column position, valid until close().
    QStringView field(int index) const;

private:
    void requireOpen() const;
    void requireRow() const;

    bool m_open = false;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    // Every value of every row, one after the other; value i (row-major)
    // spans m_offsets[i] .. m_offsets[i + 1]. One buffer instead of a string
    // per value keeps a read of a large catalogue fast and small.
    QString m_text;
    std::vector<qsizetype> m_offsets;
    int m_rowCount = 0;
    int m_current = 0;
};
