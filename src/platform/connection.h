#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

struct sqlite3;

// The catalogue connection: one SQLite database file opened read-write,
// never created. The connection text is the one the program has always
// used ("...;Data Source=<file>;..."); only its Data Source matters here.
class Connection {
public:
    enum StateValue { adStateClosed = 0, adStateOpen = 1 };

    // How long a statement waits for another program's lock before failing.
    static constexpr int kBusyTimeoutMs = 3000;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const QString& connectionText);
    // Runs exactly one statement; anything after it other than blanks is
    // refused. Returns the number of rows the statement changed.
    int Execute(const QString& statement);
    int State() const { return m_db ? adStateOpen : adStateClosed; }
    void Close();

    sqlite3* handle() const { return m_db; }

    // The file named by "Data Source=" in a connection text ("" when absent):
    // up to the next ";", or between quotes as quotedValue writes it.
    static QString dataSource(const QString& connectionText);
    // A value as a connection text carries it: unchanged, or, when it holds a
    // ";" or starts with a quote, between double quotes with each double
    // quote inside doubled, so that any file path reads back whole.
    static QString quotedValue(const QString& value);

private:
    sqlite3* m_db = nullptr;
};

// A read: the statement runs at Open and every row is read then (a static,
// read-only cursor), so walking it never touches the database again.
class Recordset {
public:
    enum CursorType { adOpenStatic = 3 };
    enum LockType { adLockReadOnly = 1 };

    void Open(const QString& statement, Connection& connection, int cursorType = adOpenStatic,
              int lockType = adLockReadOnly);
    bool Eof() const; // the record-set's EOF (a C macro takes that name)
    // The current row's value of a column, as text ("" for a null column).
    QString Fields(const QString& column) const;
    void MoveNext();
    int State() const { return m_open ? Connection::adStateOpen : Connection::adStateClosed; }
    void Close();

    int recordCount() const { return m_rowCount; }
    // The position of a column by name (case-insensitive); fails when there is none.
    int fieldIndex(const QString& column) const;
    // The current row's value at a column position, valid until Close.
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
