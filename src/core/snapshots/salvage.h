#pragma once

#include <QString>
#include <QStringList>

class SqliteDatabase;

// What a salvage read from a damaged catalogue.
struct SalvageResult {
    qint64 movies = 0; // rows of dvd read (and written)
    qint64 covers = 0; // rows of cover read (and written)
    qint64 others = 0; // rows of any other table
    // Places where rows could not be read and were stepped past.
    qint64 damagedPlaces = 0;
    QStringList lostTables; // tables of which nothing could be read
    QString keptDamaged;    // where the damaged file was kept ("" for a count only)
};

// Reads every row that can still be read from the database `source`,
// table by table in the order of their row numbers, stepping past the rows
// and pages SQLite finds damaged. With a `target` (an empty database, no
// transaction open) the rows go into it in one transaction: dvd made as the
// template makes it, the cover table with its trigger, any other table by
// its own statement; the numbering of new movies carries on after the
// highest number ever used. Without one, only counts. Throws SnapshotFailure
// when the target refuses a row.
SalvageResult salvageRows(const SqliteDatabase& source, const SqliteDatabase* target);

// "Saved 12 movies and 3 covers": what a salvage recovered, in words.
QString describeSalvage(const SalvageResult& result, const QString& verb);
