#include "generated_catalogue.h"

#include "core/catalogue/catalogue_schema.h"
#include "core/catalogue/side_tables.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/resource.h>

namespace {

void run(sqlite3* db, const QByteArray& statement) {
    if (sqlite3_exec(db, statement.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

const char kLoans[] =
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200)"
    " insert into loan_borrower (name, fold) select 'Borrower ' || i, 'borrower ' || i from n;"
    "insert into loan (copy_id, borrower_id, direction, out, due, returned)"
    " select id, 1 + id %% 200, case when id %% 7 = 0 then 'borrowed' else 'lent' end,"
    " date('now', 'localtime', '-40 days'),"
    " date('now', 'localtime', case when id %% 40 = 0 then '-20 days' else '+30 days' end),"
    " case when id %% 10 = 0 then '' else date('now', 'localtime', '-25 days') end"
    " from shelf_copy where id <= %d";

void writeShelf(sqlite3* db, int movies, GeneratedShelf shelf) {
    if (shelf.copies == 0 && shelf.loans == 0) {
        return;
    }
    const SideSchema* schema =
        sideSchemaOf(shelf.loans > 0 ? QStringLiteral("loan") : QStringLiteral("shelf_copy"));
    for (const char* statement : schema->statements) {
        run(db, statement);
    }
    // The copies as the formats and shelves a collection has: "4K UHD" one
    // in four, "Shelf B" one in 26.
    static const char* formats[] = {"DVD", "Blu-ray", "4K UHD", "VHS"};
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into shelf_copy (movie_id, format, edition, barcode, location,"
                       " status) values (?, ?, ?, ?, ?, 'owned')",
                       -1, &insert, nullptr);
    const int copies = std::max(shelf.copies, shelf.loans);
    for (int i = 0; i < copies; ++i) {
        sqlite3_bind_int64(insert, 1, 1 + (qint64(i) * 7919) % movies);
        sqlite3_bind_text(insert, 2, formats[i % 4], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, i % 5 == 0 ? "Steelbook" : "", -1, SQLITE_STATIC);
        const QByteArray barcode = generatedBarcode(i).toUtf8();
        sqlite3_bind_text(insert, 4, barcode.constData(), int(barcode.size()), SQLITE_TRANSIENT);
        const QByteArray location = QByteArrayLiteral("Shelf ") + char('A' + i % 26);
        sqlite3_bind_text(insert, 5, location.constData(), int(location.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (shelf.loans > 0) {
        run(db, QString::asprintf(kLoans, shelf.loans).toUtf8());
    }
}

} // namespace

QString generatedBarcode(int copy) {
    const QString digits = QStringLiteral("5%1").arg(copy, 11, 10, QLatin1Char('0'));
    int sum = 0;
    for (int k = 0; k < 12; ++k) {
        sum += digits[k].digitValue() * (k % 2 == 0 ? 1 : 3);
    }
    return digits + QString::number((10 - sum % 10) % 10);
}

void writeGeneratedCatalogue(const QString& path, int count, GeneratedShelf shelf) {
    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        throw std::runtime_error("cannot create the benchmark catalogue");
    }
    sqlite3_exec(db, kCatalogueSchema, nullptr, nullptr, nullptr);
    sqlite3_exec(db, "begin;", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into dvd (title, year, genre, cast, director, runtime, rating, "
                       "studio) values (?,?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    static const char* genres[] = {"Drama", "Comedy", "Action", "Thriller", "Documentary"};
    static const char* ratings[] = {"G", "PG", "PG-13", "R"};
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < count; ++i) {
        const QByteArray fields[8] = {
            QStringLiteral("Movie %1 of the %2 collection")
                .arg(next() % 1000000)
                .arg(i % 97)
                .toUtf8(),
            QByteArray::number(1920 + int(next() % 100)),
            genres[next() % 5],
            QStringLiteral("Actor %1, Actress %2").arg(next() % 5000).arg(next() % 5000).toUtf8(),
            QStringLiteral("Director %1").arg(next() % 3000).toUtf8(),
            QStringLiteral("%1:%2")
                .arg(1 + next() % 3)
                .arg(next() % 60, 2, 10, QLatin1Char('0'))
                .toUtf8(),
            ratings[next() % 4],
            QStringLiteral("Studio %1").arg(next() % 200).toUtf8()};
        for (int f = 0; f < 8; ++f) {
            sqlite3_bind_text(insert, f + 1, fields[f].constData(), int(fields[f].size()),
                              SQLITE_TRANSIENT);
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    writeShelf(db, count, shelf);
    sqlite3_exec(db, "commit;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

const QString& largeGeneratedCatalogue() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.path() + QStringLiteral("/dbDVD.mdb");
        writeGeneratedCatalogue(file, 100000);
        return file;
    }();
    return path;
}

double peakMemoryMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}
