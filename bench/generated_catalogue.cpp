#include "generated_catalogue.h"

#include "core/catalogue/catalogue_schema.h"

#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/resource.h>

void writeGeneratedCatalogue(const QString& path, int count) {
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
