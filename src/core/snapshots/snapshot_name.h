#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// Why a snapshot was made; the file name ends with the reason's word.
enum class SnapshotReason { Manual, Clear, Import, Restore, Daily };

// "clear", "import", "restore", "daily"; "" for a snapshot made on request.
QString reasonWord(SnapshotReason reason);

// What a snapshot's file name says: when it was taken (local time, to the
// second), the how-many-th it was in that second, and why.
struct SnapshotName {
    QDateTime taken;
    int sequence = 1;
    SnapshotReason reason = SnapshotReason::Manual;

    // "dbDVD-20240131-235959-clear.mdb". A later one in the same second is
    // "dbDVD-20240131-235959_02-clear.mdb": '_' sorts after '-' and '.', so
    // sorting by name still sorts by age.
    QString fileName() const;

    // The parts of a snapshot's file name; nothing for any other file,
    // unfinished snapshots included.
    static std::optional<SnapshotName> parse(const QString& fileName);

    // Newer first: later time, then later in the same second.
    static bool newerFirst(const SnapshotName& a, const SnapshotName& b);
};
