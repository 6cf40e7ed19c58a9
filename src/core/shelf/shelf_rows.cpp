#include "core/shelf/shelf_rows.h"

#include "core/catalogue/connection.h"
#include "core/catalogue/side_tables.h"
#include "core/report/failure.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_input.h"
#include "core/sqlite/sqlite_statement.h"

namespace ShelfRows {

void run(const SqliteDatabase& db, const char* text) {
    SqliteStatement statement(db, text);
    while (statement.step()) {
    }
}

bool haveTables(const SqliteDatabase& db) {
    return db.hasTable(QStringLiteral("shelf_copy"));
}

void makeTables(const SqliteDatabase& db) {
    const SideSchema* schema = sideSchemaOf(QStringLiteral("shelf_copy"));
    for (const char* statement : schema->statements) {
        run(db, statement);
    }
}

bool movieExists(const SqliteDatabase& db, qint64 movieId) {
    SqliteStatement query(db, "select 1 from dvd where id = ?1");
    query.bind(1, movieId);
    return query.step();
}

ShelfCopy readCopy(const SqliteStatement& row, int first) {
    ShelfCopy copy;
    copy.id = row.integer(first);
    copy.movieId = row.integer(first + 1);
    copy.format = ShelfNames::format(row.text(first + 2)).value_or(CopyFormat::Other);
    copy.edition = row.text(first + 3);
    copy.barcode = row.text(first + 4);
    copy.discs = int(row.integer(first + 5));
    copy.location = row.text(first + 6);
    copy.acquired = QDate::fromString(row.text(first + 7), Qt::ISODate);
    copy.price = row.text(first + 8);
    copy.currency = row.text(first + 9);
    copy.condition = row.text(first + 10);
    copy.note = row.text(first + 11);
    copy.status = ShelfNames::status(row.text(first + 12)).value_or(CopyStatus::Owned);
    return copy;
}

void bindCopy(SqliteStatement& statement, const ShelfCopy& copy) {
    if (!copy.barcode.isEmpty()) {
        if (const QString problem = Barcode::problem(copy.barcode); !problem.isEmpty()) {
            throw Failure(problem);
        }
    }
    if (copy.discs < 0) {
        throw Failure(QStringLiteral("A copy cannot have %1 discs.").arg(copy.discs));
    }
    const QStringList texts = {copy.edition, copy.location, copy.currency, copy.condition,
                               copy.note};
    for (const QString& text : texts) {
        requireStorableText(text);
    }
    statement.bind(1, copy.movieId).bind(2, ShelfNames::name(copy.format));
    statement.bind(3, copy.edition.trimmed()).bind(4, copy.barcode);
    statement.bind(5, qint64(copy.discs)).bind(6, copy.location.trimmed());
    statement.bind(7, copy.acquired.isValid() ? copy.acquired.toString(Qt::ISODate) : QString());
    statement.bind(8, ShelfInput::price(copy.price)).bind(9, copy.currency.trimmed());
    statement.bind(10, copy.condition.trimmed()).bind(11, copy.note);
    statement.bind(12, ShelfNames::name(copy.status));
}

} // namespace ShelfRows
