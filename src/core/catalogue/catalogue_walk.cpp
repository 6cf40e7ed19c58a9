// Catalogue::forEachMovie: every movie in title order, one row at a time.
#include "core/catalogue/catalogue.h"

#include "core/catalogue/sqlite_statement.h"
#include "core/catalogue/statements.h"
#include "core/formats/utf8_text.h"
#include "core/report/failure.h"

#include <array>
#include <sqlite3.h>

namespace {

// The position of a column of the read, found by name as Recordset finds it:
// the exact name first, else the first one that differs only in case.
int columnPosition(sqlite3_stmt* stmt, const QString& name) {
    const int columns = sqlite3_column_count(stmt);
    int loose = -1;
    for (int c = 0; c < columns; ++c) {
        const QString column = QString::fromUtf8(sqlite3_column_name(stmt, c));
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
void readText(sqlite3_stmt* stmt, int column, QString& out) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    const qsizetype size = bytes ? sqlite3_column_bytes(stmt, column) : 0;
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
    SqliteStatement read(m_connection.handle(), Statements::kReadAll.toUtf8());
    sqlite3_stmt* stmt = read.get();
    const int idPosition = columnPosition(stmt, QStringLiteral("id"));
    std::array<int, DvdRecord::kFieldCount> positions{};
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        positions[std::size_t(i)] = columnPosition(stmt, kDvdColumns[std::size_t(i)]);
    }
    DvdRecord movie;
    while (read.step()) {
        readText(stmt, idPosition, movie.id);
        for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
            readText(stmt, positions[std::size_t(i)], movie.field(i));
        }
        visit(movie);
    }
}

qint64 Catalogue::count() {
    SqliteStatement read(m_connection.handle(), "select count(*) from dvd");
    return read.step() ? sqlite3_column_int64(read.get(), 0) : 0;
}
