#include "core/catalogue/connection.h"

#include "core/catalogue/dvd_record.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_statement.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>

Connection::~Connection() {
    close();
}

namespace {

// Opens the file and reads its schema, so that a file that is not a
// database fails here and not at the first statement. The catalogue is the
// user's only copy: it keeps the rollback journal and gets full sync.
SqliteDatabase openAndProbe(const QString& path, SqliteDatabase::Access access) {
    try {
        return {path, access, "PRAGMA synchronous=FULL"};
    } catch (const SqliteFailure& failure) {
        throw SqliteFailure(
            QStringLiteral("Could not open the catalogue %1: %2").arg(path, failure.description()),
            failure.code(), failure.systemError(), failure.message());
    }
}

} // namespace

void Connection::open(const QString& path, Access access) {
    if (m_db.isOpen()) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is open."));
    }
    if (path.isEmpty()) {
        throw Failure(QStringLiteral("No catalogue file was named."));
    }
    const SqliteDatabase::Access mode = access == Access::ReadOnly
                                            ? SqliteDatabase::Access::ReadOnly
                                            : SqliteDatabase::Access::ReadWrite;
    SqliteDatabase db;
    try {
        db = openAndProbe(path, mode);
    } catch (const SqliteFailure& failure) {
        // A change cut short (a killed program, a full disk) left its journal
        // beside the file, and a reader may not undo it. Undoing it only puts
        // back the last committed state, which is what any writer would do on
        // opening, so one brief writable open does it and the read goes on.
        if (failure.kind() != SqliteFailure::Kind::RollbackNeedsWriter) {
            throw;
        }
        try {
            openAndProbe(path, SqliteDatabase::Access::ReadWrite).release();
        } catch (const Failure&) {
            throw Failure(QStringLiteral("Could not open the catalogue %1: a change to it was "
                                         "cut short and must be undone first, but the file "
                                         "cannot be written.")
                              .arg(path));
        }
        db = openAndProbe(path, mode);
    }
    m_db = std::move(db);
    m_guard = GuardedFile(path);
}

// SQLite reads a statement only up to a NUL character, and a lone UTF-16
// surrogate has no UTF-8 form: either would make the text that reaches the
// database differ from the text the program built, so both are refused.
void requireStorableText(QStringView text) {
    const QChar* chars = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = chars[i];
        if (ch.isNull()) {
            throw Failure(
                QStringLiteral("The text holds a NUL character, which cannot be stored."));
        }
        if (ch.isHighSurrogate() && i + 1 < size && chars[i + 1].isLowSurrogate()) {
            ++i;
        } else if (ch.isSurrogate()) {
            throw Failure(QStringLiteral("The text holds an incomplete UTF-16 character (U+%1), "
                                         "which cannot be stored.")
                              .arg(ch.unicode(), 4, 16, QLatin1Char('0')));
        }
    }
}

int Connection::execute(const QString& statement) {
    if (!m_db.isOpen()) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is closed."));
    }
    requireStorableText(statement);
    try {
        SqliteStatement stmt(m_db, statement.toUtf8(), SqliteStatement::Rest::OnlyBlanks);
        while (stmt.step()) {
        }
    } catch (const Failure&) {
        // A statement of its own that failed while committing is taken back
        // whole; one inside a transaction is left to whoever began it.
        if (!m_db.inTransaction()) {
            settle();
        }
        throw;
    }
    return m_db.changes();
}

void Connection::settle() noexcept {
    if (!m_db.isOpen()) {
        return;
    }
    if (m_db.inTransaction()) {
        m_db.executeIgnoringFailure("rollback");
    }
    // A failed commit leaves a hot journal that SQLite plays back only when
    // it next takes a read lock: a read does it now, while the file is still
    // open for writing. On a file opened only for reading it fails harmlessly.
    if (m_db.hasJournal()) {
        m_db.executeIgnoringFailure("select count(*) from sqlite_master");
    }
}

void Connection::close() {
    if (m_db.isOpen()) {
        settle();
        m_db.release();
        m_guard = GuardedFile();
    }
}

void Recordset::open(const QString& statement, Connection& connection) {
    if (m_open) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is open."));
    }
    if (!connection.isOpen()) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is closed."));
    }
    SqliteStatement stmt(connection.database(), statement.toUtf8(),
                         SqliteStatement::Rest::OnlyBlanks);
    const int columns = stmt.columnCount();
    QStringList names;
    QHash<QString, int> index;
    for (int c = 0; c < columns; ++c) {
        names << stmt.columnName(c);
        index.insert(names.back(), c);
    }
    // Every value is decoded straight into one growing buffer; plain ASCII,
    // the bulk of a catalogue, is widened without the general decoder.
    QString text;
    qsizetype used = 0;
    std::vector<qsizetype> offsets{0};
    // Every value is decoded on its own, keeping a U+FEFF at its start.
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    int rows = 0;
    while (stmt.step()) {
        for (int c = 0; c < columns; ++c) {
            const QByteArrayView value = stmt.utf8(c);
            const char* bytes = value.data();
            const qsizetype size = value.size();
            // UTF-16 never needs more code units than UTF-8 has bytes.
            if (used + size > text.size()) {
                text.resize(std::max<qsizetype>(2 * text.size(), used + size + 4096));
            }
            QChar* out = text.data() + used;
            bool ascii = true;
            for (qsizetype i = 0; i < size; ++i) {
                const auto byte = static_cast<unsigned char>(bytes[i]);
                ascii = ascii && byte < 0x80;
                out[i] = QChar(byte);
            }
            used = ascii ? used + size
                         : toUtf16.appendToBuffer(out, QByteArrayView(bytes, size)) - text.data();
            offsets.push_back(used);
        }
        ++rows;
    }
    text.truncate(used);
    text.squeeze();

    m_columns = std::move(names);
    m_columnIndex = std::move(index);
    m_text = std::move(text);
    m_offsets = std::move(offsets);
    m_rowCount = rows;
    m_current = 0;
    m_open = true;
}

void Recordset::requireOpen() const {
    if (!m_open) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is closed."));
    }
}

void Recordset::requireRow() const {
    requireOpen();
    if (m_current >= m_rowCount) {
        throw Failure(QStringLiteral("There is no current row."));
    }
}

bool Recordset::atEnd() const {
    requireOpen();
    return m_current >= m_rowCount;
}

int Recordset::fieldIndex(const QString& column) const {
    requireOpen();
    int c = m_columnIndex.value(column, -1);
    for (int i = 0; c < 0 && i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(column, Qt::CaseInsensitive) == 0) {
            c = i;
        }
    }
    if (c < 0) {
        throw Failure(QStringLiteral("The catalogue has no column named '%1'.").arg(column));
    }
    return c;
}

QStringView Recordset::field(int index) const {
    requireRow();
    if (index < 0 || index >= m_columns.size()) {
        throw Failure(QStringLiteral("The catalogue has no column %1.").arg(index + 1));
    }
    const std::size_t value =
        std::size_t(m_current) * std::size_t(m_columns.size()) + std::size_t(index);
    return QStringView(m_text).mid(m_offsets[value], m_offsets[value + 1] - m_offsets[value]);
}

int Recordset::fieldIndex(MovieColumn column) const {
    return fieldIndex(catalogueColumnName(column));
}

QString Recordset::value(const QString& column) const {
    const int index = fieldIndex(column);
    // A null column reads as the empty text.
    return field(index).toString();
}

QString Recordset::value(MovieColumn column) const {
    return value(catalogueColumnName(column));
}

void Recordset::next() {
    requireRow();
    ++m_current;
}

void Recordset::close() {
    requireOpen();
    m_open = false;
    m_text = QString();
    m_offsets = {};
    m_rowCount = 0;
    m_current = 0;
}
