#include "core/snapshots/salvage.h"

#include "core/catalogue/catalogue_schema.h"
#include "core/covers/cover_schema.h"
#include "core/snapshots/snapshot_failure.h"
#include "core/snapshots/sqlite_file.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <sqlite3.h>

namespace {

constexpr qint64 kLowest = std::numeric_limits<qint64>::min();
constexpr qint64 kHighest = std::numeric_limits<qint64>::max();

QString quoted(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// The columns of a table other than the one that is its row number.
QStringList columnsOf(sqlite3* db, const QString& table) {
    QStringList columns;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        return columns;
    }
    QString rowNumber;
    int keys = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const QString name =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        const QString type =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
        if (sqlite3_column_int(stmt, 5) > 0) {
            ++keys;
            if (type.compare(QLatin1String("integer"), Qt::CaseInsensitive) == 0) {
                rowNumber = name;
            }
        }
        columns << name;
    }
    sqlite3_finalize(stmt);
    if (keys == 1 && !rowNumber.isEmpty()) {
        columns.removeOne(rowNumber);
    }
    return columns;
}

// Walks the rows of one table in the order of their row numbers. Where a
// row or a whole page cannot be read, the walk looks for the first row
// number after it from which reading works again, first in growing steps,
// then halving back, and goes on from there.
class RowWalker {
public:
    RowWalker(sqlite3* db, const QString& table, const QStringList& columns) {
        QStringList selected{QStringLiteral("rowid")};
        for (const QString& column : columns) {
            selected << quoted(column);
        }
        const QByteArray sql = QStringLiteral("select %1 from %2 where rowid >= ?1 order by rowid")
                                   .arg(selected.join(QLatin1Char(',')), quoted(table))
                                   .toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &m_stmt, nullptr) != SQLITE_OK) {
            m_stmt = nullptr;
        }
    }
    ~RowWalker() { sqlite3_finalize(m_stmt); }
    RowWalker(const RowWalker&) = delete;
    RowWalker& operator=(const RowWalker&) = delete;

    bool readable() const { return m_stmt; }

    // Calls `row` with the statement on every readable row; returns the
    // number of damaged places stepped past.
    qint64 walk(const std::function<void(sqlite3_stmt*)>& row) {
        qint64 damaged = 0;
        qint64 next = kLowest;
        for (;;) {
            int rc = start(next);
            for (; rc == SQLITE_ROW; rc = sqlite3_step(m_stmt)) {
                const qint64 id = sqlite3_column_int64(m_stmt, 0);
                if (id < next) { // a damaged tree leading backwards
                    rc = SQLITE_CORRUPT;
                    break;
                }
                row(m_stmt);
                if (id == kHighest) {
                    return damaged;
                }
                next = id + 1;
            }
            if (rc == SQLITE_DONE) {
                return damaged;
            }
            ++damaged;
            const std::optional<qint64> resume = firstReadableAfter(next);
            if (!resume) {
                return damaged;
            }
            next = *resume;
        }
    }

private:
    int start(qint64 from) {
        sqlite3_reset(m_stmt);
        sqlite3_bind_int64(m_stmt, 1, from);
        return sqlite3_step(m_stmt);
    }
    bool readsFrom(qint64 from) {
        const int rc = start(from);
        return rc == SQLITE_ROW || rc == SQLITE_DONE;
    }
    // The lowest row number above `failed` from which reading works.
    std::optional<qint64> firstReadableAfter(qint64 failed) {
        qint64 bad = failed;
        qint64 step = 1;
        qint64 good = 0;
        for (;;) {
            good = failed > kHighest - step ? kHighest : failed + step;
            if (readsFrom(good)) {
                break;
            }
            if (good == kHighest) {
                return std::nullopt;
            }
            bad = good;
            step = step > kHighest / 2 ? kHighest : step * 2;
        }
        while (good - bad > 1) {
            const qint64 middle = bad + (good - bad) / 2;
            (readsFrom(middle) ? good : bad) = middle;
        }
        return good;
    }

    sqlite3_stmt* m_stmt = nullptr;
};

void exec(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw SnapshotFailure(
            SnapshotFailure::Kind::Failed,
            QStringLiteral("Could not write the salvaged catalogue: %1.").arg(text));
    }
}

// Where a table's rows go in the target.
class RowCopier {
public:
    RowCopier(sqlite3* target, const QString& table, const QStringList& columns) : m_db(target) {
        if (!target) {
            return;
        }
        QStringList names{QStringLiteral("rowid")};
        QStringList marks{QStringLiteral("?")};
        for (const QString& column : columns) {
            names << quoted(column);
            marks << QStringLiteral("?");
        }
        const QByteArray sql =
            QStringLiteral("insert into %1 (%2) values (%3)")
                .arg(quoted(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
                .toUtf8();
        if (sqlite3_prepare_v2(target, sql.constData(), -1, &m_stmt, nullptr) != SQLITE_OK) {
            fail();
        }
    }
    ~RowCopier() { sqlite3_finalize(m_stmt); }
    RowCopier(const RowCopier&) = delete;
    RowCopier& operator=(const RowCopier&) = delete;

    void copy(sqlite3_stmt* row) {
        if (!m_stmt) {
            return;
        }
        sqlite3_reset(m_stmt);
        for (int i = 0; i < sqlite3_column_count(row); ++i) {
            sqlite3_bind_value(m_stmt, i + 1, sqlite3_column_value(row, i));
        }
        if (sqlite3_step(m_stmt) != SQLITE_DONE) {
            fail();
        }
    }

private:
    [[noreturn]] void fail() const {
        throw SnapshotFailure(SnapshotFailure::Kind::Failed,
                              QStringLiteral("Could not write the salvaged catalogue: %1.")
                                  .arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

// The tables of the source (other than SQLite's own) with their statements,
// dvd first; nothing when even the list of tables is damaged.
QList<QPair<QString, QString>> tablesOf(sqlite3* source) {
    QList<QPair<QString, QString>> tables;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(source,
                           "select name, coalesce(sql, '') from sqlite_master where type = 'table'"
                           " and name not like 'sqlite^_%' escape '^' order by name <> 'dvd', name",
                           -1, &stmt, nullptr) != SQLITE_OK) {
        return tables;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        tables.append(
            {QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))),
             QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)))});
    }
    sqlite3_finalize(stmt);
    return tables;
}

// The highest number each table's numbering ever reached, where readable.
QHash<QString, qint64> sequencesOf(sqlite3* source) {
    QHash<QString, qint64> sequences;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(source, "select name, seq from sqlite_sequence", -1, &stmt, nullptr) ==
        SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sequences.insert(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))),
                sqlite3_column_int64(stmt, 1));
        }
    }
    sqlite3_finalize(stmt);
    return sequences;
}

void makeTable(sqlite3* target, const QString& table, const QString& statement) {
    if (table == QLatin1String("dvd")) {
        exec(target, kCatalogueSchema);
    } else if (table == QLatin1String("cover")) {
        exec(target, CoverSchema::kTable);
        exec(target, CoverSchema::kTrigger);
    } else {
        exec(target, statement.toUtf8().constData());
    }
}

} // namespace

SalvageResult salvageRows(sqlite3* source, sqlite3* target) {
    SalvageResult result;
    sqlite3_exec(source, "PRAGMA cell_size_check=ON", nullptr, nullptr, nullptr);
    if (target) {
        exec(target, "begin");
    }
    try {
        QList<QPair<QString, QString>> tables = tablesOf(source);
        if (tables.isEmpty() || tables.constFirst().first != QLatin1String("dvd")) {
            tables.prepend({QStringLiteral("dvd"), QString()}); // a damaged list of tables
        }
        for (const auto& [table, statement] : tables) {
            if (target) {
                makeTable(target, table, statement);
            }
            QStringList columns = columnsOf(source, table);
            if (target) {
                const QStringList made = columnsOf(target, table);
                columns.erase(std::remove_if(columns.begin(), columns.end(),
                                             [&](const QString& c) { return !made.contains(c); }),
                              columns.end());
            }
            RowWalker rows(source, table, columns);
            if (!rows.readable()) {
                result.lostTables << table;
                continue;
            }
            RowCopier copier(target, table, columns);
            qint64& count = table == QLatin1String("dvd")     ? result.movies
                            : table == QLatin1String("cover") ? result.covers
                                                              : result.others;
            result.damagedPlaces += rows.walk([&](sqlite3_stmt* row) {
                copier.copy(row);
                ++count;
            });
        }
        if (target) {
            // Numbers once given are never given again, even those of lost rows.
            const QHash<QString, qint64> sequences = sequencesOf(source);
            for (auto it = sequences.begin(); it != sequences.end(); ++it) {
                sqlite3_stmt* stmt = nullptr;
                sqlite3_prepare_v2(target,
                                   "update sqlite_sequence set seq = max(seq, ?2) where name = ?1;",
                                   -1, &stmt, nullptr);
                const QByteArray name = it.key().toUtf8();
                sqlite3_bind_text(stmt, 1, name.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int64(stmt, 2, it.value());
                sqlite3_step(stmt);
                const bool updated = sqlite3_changes(target) > 0;
                sqlite3_finalize(stmt);
                if (!updated && sqlite3_prepare_v2(target,
                                                   "insert into sqlite_sequence (name, seq) select "
                                                   "?1, ?2 where exists (select 1 from "
                                                   "sqlite_master where name = ?1)",
                                                   -1, &stmt, nullptr) == SQLITE_OK) {
                    sqlite3_bind_text(stmt, 1, name.constData(), -1, SQLITE_TRANSIENT);
                    sqlite3_bind_int64(stmt, 2, it.value());
                    sqlite3_step(stmt);
                    sqlite3_finalize(stmt);
                }
            }
            exec(target, "commit");
        }
    } catch (...) {
        if (target) {
            sqlite3_exec(target, "rollback", nullptr, nullptr, nullptr);
        }
        throw;
    }
    return result;
}

QString describeSalvage(const SalvageResult& result, const QString& verb) {
    QString text = verb + QStringLiteral(" %1 movie(s)").arg(result.movies);
    if (result.covers > 0) {
        text += QStringLiteral(" and %1 cover(s)").arg(result.covers);
    }
    if (result.others > 0) {
        text += QStringLiteral(" and %1 other row(s)").arg(result.others);
    }
    return text;
}
