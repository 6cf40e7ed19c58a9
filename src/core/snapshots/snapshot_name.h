#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// Why a snapshot was made; the file name ends with the reason's word.
enum class SnapshotReason { Manual, Clear, Import, Restore, Daily };

// "clear", "import", "restore", "daily"; "" for a snapshot made on request.
QString reasonWord(SnapshotReason reason);

// The first part of the names of a catalogue's snapshots: the catalogue's
// own file name without its extension ("films" for films.mdb), so that
// catalogues sharing a folder keep their snapshots apart.
QString snapshotStem(const QString& catalogueFile);

// What a snapshot's file name says: whose it is, when it was taken (local
// time, to the second), the how-many-th it was in that second, and why.
struct SnapshotName {
    QDateTime taken;
    int sequence = 1;
    SnapshotReason reason = SnapshotReason::Manual;
    QString stem = QStringLiteral("dbDVD");

    // "dbDVD-20240131-235959-clear.mdb". A later one in the same second is
    // "dbDVD-20240131-235959_02-clear.mdb": '_' sorts after '-' and '.', so
    // sorting by name still sorts by age.
    QString fileName() const;

    // The parts of the file name of a snapshot of the catalogue whose stem
    // is `stem`; nothing for any other file, unfinished snapshots and other
    // catalogues' snapshots included ("films-2-..." is not one of "films").
    static std::optional<SnapshotName> parse(const QString& fileName, const QString& stem);

    // Newer first: later time, then later in the same second.
    static bool newerFirst(const SnapshotName& a, const SnapshotName& b);
};
