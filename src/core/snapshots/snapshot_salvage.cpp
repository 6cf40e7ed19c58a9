// Saving what can still be read from a damaged catalogue.
#include "core/snapshots/durable_file.h"
#include "core/snapshots/snapshot_store.h"

#include <QTemporaryFile>
#include <optional>

namespace {

// Writes the rows readable from `damagedFile` into `emptyFile`, a new file
// flagged for the rollback journal and forced onto the disk.
SalvageResult salvageIntoNewFile(const QString& damagedFile, const QString& emptyFile) {
    const SqliteDatabase source =
        openSnapshotDatabase(damagedFile, SqliteDatabase::Access::Immutable);
    SqliteDatabase target = openSnapshotDatabase(emptyFile, SqliteDatabase::Access::ReadWrite);
    target.executeIgnoringFailure("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
    SalvageResult result = salvageRows(source, &target);
    target.executeIgnoringFailure("PRAGMA journal_mode=DELETE");
    closeSnapshotDatabase(target);
    syncToDisk(emptyFile);
    return result;
}

} // namespace

SalvageResult SnapshotStore::salvage(Catalogue& catalogue) const {
    return salvage(databaseOf(catalogue));
}

SalvageResult SnapshotStore::salvage(SqliteDatabase& catalogue) const {
    if (catalogue.inTransaction()) {
        throw SnapshotFailure(
            SnapshotFailure::Kind::Failed,
            QStringLiteral("Could not salvage while a change to the catalogue is open."));
    }
    const QString kept = keepDamagedCopy();
    const QString what =
        QStringLiteral("Could not put the salvaged movies into the catalogue; it is unchanged");
    const std::unique_ptr<QTemporaryFile> temp = unfinishedFile(what);
    SalvageResult result = salvageIntoNewFile(kept, temp->fileName());
    result.keptDamaged = kept;
    QString mode;
    try {
        mode = journalMode(catalogue);
    } catch (const SnapshotFailure&) {
        mode = QStringLiteral("delete");
    }
    const SqliteDatabase salvaged =
        openSnapshotDatabase(temp->fileName(), SqliteDatabase::Access::Immutable);
    copyDatabase(salvaged, catalogue, what);
    keepJournalMode(catalogue, mode);
    return result;
}

SalvageResult SnapshotStore::salvage() const {
    std::optional<SqliteDatabase> catalogue = openCatalogueForWriting();
    if (catalogue) {
        return salvage(*catalogue);
    }
    // SQLite cannot open it at all: a new file takes its place.
    const QString kept = keepDamagedCopy();
    SalvageResult result;
    replaceCatalogueFile(
        [&](const QString& newFile) { result = salvageIntoNewFile(kept, newFile); },
        QStringLiteral("Could not put the salvaged movies in place of %1").arg(m_catalogueFile));
    result.keptDamaged = kept;
    return result;
}

SalvageResult SnapshotStore::salvageable() const {
    const SqliteDatabase source =
        openSnapshotDatabase(m_catalogueFile, SqliteDatabase::Access::Immutable);
    return salvageRows(source, nullptr);
}
