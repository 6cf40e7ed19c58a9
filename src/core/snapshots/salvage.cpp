#include "core/snapshots/salvage.h"

#include "core/catalogue/catalogue_schema.h"
#include "core/catalogue/side_tables.h"
#include "core/report/counts.h"
#include "core/snapshots/snapshot_failure.h"
#include "core/sqlite/sqlite_database.h"
#include "core/sqlite/sqlite_statement.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kLowest = std::numeric_limits<qint64>::min();
constexpr qint64 kHighest = std::numeric_limits<qint64>::max();

QString quoted(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// Steps `query` on, taking a failure for the end of what can be read.
enum class Read { Row, Done, Failed };
Read readOn(SqliteStatement& query) {
    try {
        return query.step() ? Read::Row : Read::Done;
    } catch (const SqliteFailure&) {
        return Read::Failed;
    }
}

// A statement on `db`, or none when SQLite refuses it.
std::optional<SqliteStatement> prepared(const SqliteDatabase& db, const QByteArray& sql) {
    std::optional<SqliteStatement> query;
    try {
        query.emplace(db, sql);
    } catch (const SqliteFailure&) {
        query.reset();
    }
    return query;
}

// The columns of a table other than the one that is its row number.
QStringList columnsOf(const SqliteDatabase& db, const QString& table) {
    QStringList columns;
    std::optional<SqliteStatement> info =
        prepared(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)).toUtf8());
    if (!info) {
        return columns;
    }
    QString rowNumber;
    int keys = 0;
    while (readOn(*info) == Read::Row) {
        const QString name = info->text(1);
        const QString type = info->text(2);
        if (info->integer(5) > 0) {
            ++keys;
            if (type.compare(QLatin1String("integer"), Qt::CaseInsensitive) == 0) {
                rowNumber = name;
            }
        }
        columns << name;
    }
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
    RowWalker(const SqliteDatabase& db, const QString& table, const QStringList& columns) {
        QStringList selected{QStringLiteral("rowid")};
        for (const QString& column : columns) {
            selected << quoted(column);
        }
        m_query = prepared(db, QStringLiteral("select %1 from %2 where rowid >= ?1 order by rowid")
                                   .arg(selected.join(QLatin1Char(',')), quoted(table))
                                   .toUtf8());
    }

    bool readable() const { return m_query.has_value(); }

    // Calls `row` with the statement on every readable row; returns the
    // number of damaged places stepped past.
    qint64 walk(const std::function<void(const SqliteStatement&)>& row) {
        qint64 damaged = 0;
        qint64 next = kLowest;
        for (;;) {
            Read read = start(next);
            for (; read == Read::Row; read = readOn(*m_query)) {
                const qint64 id = m_query->integer(0);
                if (id < next) { // a damaged tree leading backwards
                    read = Read::Failed;
                    break;
                }
                row(*m_query);
                if (id == kHighest) {
                    return damaged;
                }
                next = id + 1;
            }
            if (read == Read::Done) {
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
    Read start(qint64 from) {
        m_query->reset();
        m_query->bind(1, from);
        return readOn(*m_query);
    }
    bool readsFrom(qint64 from) { return start(from) != Read::Failed; }
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

    std::optional<SqliteStatement> m_query;
};

[[noreturn]] void failToWrite(const SqliteFailure& failure) {
    throw SnapshotFailure(
        SnapshotFailure::Kind::Failed,
        QStringLiteral("Could not write the salvaged catalogue: %1.").arg(failure.message()));
}

void exec(const SqliteDatabase& db, const char* sql) {
    try {
        db.execute(sql);
    } catch (const SqliteFailure& failure) {
        failToWrite(failure);
    }
}

// Where a table's rows go in the target.
class RowCopier {
public:
    RowCopier(const SqliteDatabase* target, const QString& table, const QStringList& columns) {
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
        try {
            m_insert.emplace(*target, sql);
        } catch (const SqliteFailure& failure) {
            failToWrite(failure);
        }
    }

    void copy(const SqliteStatement& row) {
        if (!m_insert) {
            return;
        }
        m_insert->reset();
        for (int i = 0; i < row.columnCount(); ++i) {
            m_insert->bindColumn(i + 1, row, i);
        }
        try {
            m_insert->step();
        } catch (const SqliteFailure& failure) {
            failToWrite(failure);
        }
    }

private:
    std::optional<SqliteStatement> m_insert;
};

// The tables of the source (other than SQLite's own) with their statements,
// dvd first; nothing when even the list of tables is damaged.
QList<QPair<QString, QString>> tablesOf(const SqliteDatabase& source) {
    QList<QPair<QString, QString>> tables;
    std::optional<SqliteStatement> query =
        prepared(source, "select name, coalesce(sql, '') from sqlite_master where type = 'table'"
                         " and name not like 'sqlite^_%' escape '^' order by name <> 'dvd', name");
    while (query && readOn(*query) == Read::Row) {
        tables.append({query->text(0), query->text(1)});
    }
    return tables;
}

// The highest number each table's numbering ever reached, where readable.
QHash<QString, qint64> sequencesOf(const SqliteDatabase& source) {
    QHash<QString, qint64> sequences;
    std::optional<SqliteStatement> query =
        prepared(source, "select name, seq from sqlite_sequence");
    while (query && readOn(*query) == Read::Row) {
        sequences.insert(query->text(0), query->integer(1));
    }
    return sequences;
}

void makeTable(const SqliteDatabase& target, const QString& table, const QString& statement) {
    if (table == QLatin1String("dvd")) {
        exec(target, kCatalogueSchema);
    } else if (const SideSchema* schema = sideSchemaOf(table)) {
        for (const char* sideStatement : schema->statements) {
            exec(target, sideStatement);
        }
    } else {
        exec(target, statement.toUtf8().constData());
    }
}

// Numbers once given are never given again, even those of lost rows.
void keepSequence(const SqliteDatabase& target, const QString& table, qint64 highest) {
    bool updated = false;
    if (std::optional<SqliteStatement> update =
            prepared(target, "update sqlite_sequence set seq = max(seq, ?2) where name = ?1;")) {
        update->bind(1, table).bind(2, highest);
        updated = readOn(*update) != Read::Failed && target.changes() > 0;
    }
    if (updated) {
        return;
    }
    if (std::optional<SqliteStatement> insert =
            prepared(target, "insert into sqlite_sequence (name, seq) select ?1, ?2 where exists "
                             "(select 1 from sqlite_master where name = ?1)")) {
        insert->bind(1, table).bind(2, highest);
        readOn(*insert);
    }
}

} // namespace

SalvageResult salvageRows(const SqliteDatabase& source, const SqliteDatabase* target) {
    SalvageResult result;
    source.executeIgnoringFailure("PRAGMA cell_size_check=ON");
    if (target) {
        exec(*target, "begin");
    }
    try {
        QList<QPair<QString, QString>> tables = tablesOf(source);
        if (tables.isEmpty() || tables.constFirst().first != QLatin1String("dvd")) {
            tables.prepend({QStringLiteral("dvd"), QString()}); // a damaged list of tables
        }
        for (const auto& [table, statement] : tables) {
            if (target) {
                makeTable(*target, table, statement);
            }
            QStringList columns = columnsOf(source, table);
            if (target) {
                const QStringList made = columnsOf(*target, table);
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
            result.damagedPlaces += rows.walk([&](const SqliteStatement& row) {
                copier.copy(row);
                ++count;
            });
        }
        if (target) {
            const QHash<QString, qint64> sequences = sequencesOf(source);
            for (auto it = sequences.begin(); it != sequences.end(); ++it) {
                keepSequence(*target, it.key(), it.value());
            }
            exec(*target, "commit");
        }
    } catch (...) {
        if (target) {
            target->executeIgnoringFailure("rollback");
        }
        throw;
    }
    return result;
}

QString describeSalvage(const SalvageResult& result, const QString& verb) {
    QString text = verb + QStringLiteral(" %1 movie(s)").arg(groupedNumber(result.movies));
    if (result.covers > 0) {
        text += QStringLiteral(" and %1 cover(s)").arg(result.covers);
    }
    if (result.others > 0) {
        text += QStringLiteral(" and %1 other row(s)").arg(result.others);
    }
    return text;
}
