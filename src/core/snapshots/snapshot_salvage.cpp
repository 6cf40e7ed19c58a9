// Saving what can still be read from a damaged catalogue.
#include "core/snapshots/durable_file.h"
#include "core/snapshots/snapshot_store.h"
#include "core/snapshots/sqlite_file.h"

#include <QTemporaryFile>
#include <optional>
#include <sqlite3.h>

namespace {

// Writes the rows readable from `damagedFile` into `emptyFile`, a new file
// flagged for the rollback journal and forced onto the disk.
SalvageResult salvageIntoNewFile(const QString& damagedFile, const QString& emptyFile) {
    const SqliteFile source(damagedFile, SqliteFile::Access::Immutable);
    SqliteFile target(emptyFile, SqliteFile::Access::ReadWrite);
    sqlite3_exec(target.handle(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr,
                 nullptr, nullptr);
    SalvageResult result = salvageRows(source.handle(), target.handle());
    sqlite3_exec(target.handle(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    target.close();
    syncToDisk(emptyFile);
    return result;
}

} // namespace

SalvageResult SnapshotStore::salvage(sqlite3* catalogue) const {
    if (!sqlite3_get_autocommit(catalogue)) {
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
    const SqliteFile salvaged(temp->fileName(), SqliteFile::Access::Immutable);
    copyDatabase(salvaged.handle(), catalogue, what);
    keepJournalMode(catalogue, mode);
    return result;
}

SalvageResult SnapshotStore::salvage() const {
    const std::unique_ptr<SqliteFile> catalogue = openCatalogueForWriting();
    if (catalogue) {
        return salvage(catalogue->handle());
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
    const SqliteFile source(m_catalogueFile, SqliteFile::Access::Immutable);
    return salvageRows(source.handle(), nullptr);
}
