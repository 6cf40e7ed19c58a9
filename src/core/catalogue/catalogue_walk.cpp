// Catalogue::forEachMovie: every movie in title order, one row at a time.
#include "core/catalogue/catalogue.h"

#include "core/catalogue/statements.h"
#include "core/formats/utf8_text.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_statement.h"

#include <array>

namespace {

// The position of a column of the read, found by name as Recordset finds it:
// the exact name first, else the first one that differs only in case.
int columnPosition(const SqliteStatement& stmt, MovieColumn movieColumn) {
    const QString& name = catalogueColumnName(movieColumn);
    const int columns = stmt.columnCount();
    int loose = -1;
    for (int c = 0; c < columns; ++c) {
        const QString column = stmt.columnName(c);
        if (column == name) {
            return c;
        }
        if (loose < 0 && column.compare(name, Qt::CaseInsensitive) == 0) {
            loose = c;
        }
    }
    if (loose < 0) {
        throw Failure(QStringLiteral("The catalogue has no column named '%1'.").arg(name));
    }
    return loose;
}

// The column's value as text ("" for a null), decoded into `out` so that
// its buffer is reused from row to row; plain ASCII, the bulk of a
// catalogue, is widened without the general decoder.
void readText(const SqliteStatement& stmt, int column, QString& out) {
    const QByteArrayView value = stmt.utf8(column);
    const char* bytes = value.data();
    const qsizetype size = value.size();
    out.resize(size);
    QChar* text = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            out = fromUtf8KeepingMark(QByteArrayView(bytes, size));
            return;
        }
        text[i] = QChar(byte);
    }
}

} // namespace

void Catalogue::forEachMovie(const std::function<void(const DvdRecord&)>& visit) {
    SqliteStatement read(m_connection.database(), Statements::kReadAll.toUtf8());
    const int idPosition = columnPosition(read, MovieColumn::Id);
    std::array<int, DvdRecord::kFieldCount> positions{};
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        positions[std::size_t(i)] = columnPosition(read, fieldColumn(i));
    }
    DvdRecord movie;
    while (read.step()) {
        readText(read, idPosition, movie.id);
        for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
            readText(read, positions[std::size_t(i)], movie.field(i));
        }
        visit(movie);
    }
}

qint64 Catalogue::count() {
    SqliteStatement read(m_connection.database(), "select count(*) from dvd");
    return read.step() ? read.integer(0) : 0;
}
