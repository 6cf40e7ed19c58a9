#include "support/temp_catalogue.h"

#include "core/catalogue/catalogue_schema.h"
#include "core/catalogue/dvd_record.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

TempCatalogue::TempCatalogue() {
    QDir().mkpath(programFolder());
    QDir().mkpath(dataFolder());
}

void TempCatalogue::createCatalogue(const QString& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, kCatalogueSchema, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

void TempCatalogue::createInstalledCatalogue() const {
    QDir().mkpath(QFileInfo(catalogueFile()).path());
    createCatalogue(catalogueFile());
}

void TempCatalogue::addMovies(const QString& path, const QList<QStringList>& movies) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(db,
                       "insert into dvd (title, year, genre, cast, director, runtime, rating, "
                       "studio) values (?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &stmt, nullptr);
    for (const QStringList& movie : movies) {
        EXPECT_LE(movie.size(), DvdRecord::kFieldCount);
        sqlite3_clear_bindings(stmt);
        for (int f = 0; f < int(movie.size()); ++f) {
            const QByteArray text = movie[f].toUtf8();
            if (!movie[f].isNull()) {
                sqlite3_bind_text(stmt, f + 1, text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE) << sqlite3_errmsg(db);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    EXPECT_EQ(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

void TempCatalogue::addTitles(const QString& path, const QStringList& titles) {
    QList<QStringList> movies;
    for (const QString& title : titles) {
        movies.append(QStringList{title});
    }
    addMovies(path, movies);
}

void TempCatalogue::exec(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

QStringList TempCatalogue::rows(const QString& path, const QString& columns) {
    QStringList out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        sqlite3_close(db);
        return out;
    }
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql =
        (QStringLiteral("select ") + columns + QStringLiteral(" from dvd order by id")).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList cells;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                cells << (text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, c))
                               : QStringLiteral("<null>"));
            }
            out << cells.join(QLatin1Char('|'));
        }
    } else {
        ADD_FAILURE() << sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

QByteArray TempCatalogue::checksum(const QString& path) {
    return QCryptographicHash::hash(rows(path).join(QChar(0x1e)).toUtf8(),
                                    QCryptographicHash::Sha256)
        .toHex();
}

QString TempCatalogue::quickCheck(const QString& path) {
    sqlite3* db = nullptr;
    QString result;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

QByteArray TempCatalogue::fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
