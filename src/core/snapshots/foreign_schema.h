#pragma once

#include <QStringList>

class SqliteDatabase;

// A trigger or view in a catalogue file that the program did not make.
struct ForeignObject {
    QString type; // "trigger" or "view"
    QString name;
};

// The triggers and views of the database `db` other than the
// program's own (the cover table's trigger), compared by name and by their
// statement. A trigger runs by itself when movies change, so one the
// program did not make can remove or alter movies unseen. Throws
// SnapshotFailure when the schema cannot be read.
QList<ForeignObject> foreignObjects(const SqliteDatabase& db);

// "trigger purge, view v": the objects as a person reads them.
QString describeForeignObjects(const QList<ForeignObject>& objects);
