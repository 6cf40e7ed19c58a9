#include "core/catalogue/catalogue.h"

#include "core/catalogue/statements.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_statement.h"

namespace {

const QByteArray kDataVersion = QByteArrayLiteral("PRAGMA data_version");

Recordset read(Connection& connection, const QString& statement) {
    Recordset rows;
    rows.open(statement, connection);
    return rows;
}

} // namespace

DvdRecord recordAt(const Recordset& rows) {
    DvdRecord movie;
    movie.id = rows.value(MovieColumn::Id);
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        movie.field(i) = rows.value(fieldColumn(i));
    }
    return movie;
}

void Catalogue::open(const QString& file, Access access) {
    m_connection.open(file, access);
    m_fileName = file;
}

void Catalogue::close() {
    m_versionWatch.close();
    m_connection.close();
}

std::optional<qint64> Catalogue::dataVersion() {
    if (!isOpen()) {
        return std::nullopt;
    }
    try {
        if (!m_versionWatch.isOpen()) {
            m_versionWatch.open(m_fileName, Access::ReadOnly);
            m_versionWatch.database().setBusyTimeout(kVersionWaitMs);
        }
        // The statement ends with this call, so the watch never holds a lock
        // that would keep a writer waiting.
        SqliteStatement version(m_versionWatch.database(), kDataVersion);
        if (!version.step()) {
            return std::nullopt;
        }
        return version.integer(0);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

Recordset Catalogue::readAll() {
    return read(m_connection, Statements::kReadAll);
}

Recordset Catalogue::readOne(const QString& id) {
    return read(m_connection, Statements::readOne(id));
}

std::vector<DvdRecord> Catalogue::movies() {
    Recordset rows = readAll();
    std::vector<DvdRecord> all;
    all.reserve(std::size_t(rows.rowCount()));
    for (; !rows.atEnd(); rows.next()) {
        all.push_back(recordAt(rows));
    }
    return all;
}

std::optional<DvdRecord> Catalogue::movie(const QString& id) {
    const Recordset rows = readOne(id);
    if (rows.atEnd()) {
        return std::nullopt;
    }
    return recordAt(rows);
}

qint64 Catalogue::add(const DvdRecord& movie) {
    m_connection.execute(Statements::addOne(movie));
    return m_connection.database().lastInsertedRow();
}

bool Catalogue::change(const DvdRecord& movie) {
    return m_connection.execute(Statements::changeOne(movie)) > 0;
}

bool Catalogue::remove(const QString& id) {
    return m_connection.execute(Statements::deleteOne(id)) > 0;
}

void Catalogue::clear() {
    m_connection.execute(Statements::kDeleteAll);
}

void Catalogue::addAll(const std::vector<DvdRecord>& movies) {
    addAll([&movies](const std::function<void(const DvdRecord&)>& add) {
        for (const DvdRecord& movie : movies) {
            add(movie);
        }
    });
}
