// Putting a snapshot back into the catalogue.
#include "core/snapshots/durable_file.h"
#include "core/snapshots/foreign_schema.h"
#include "core/snapshots/snapshot_store.h"
#include "core/system/write_guard.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <optional>

namespace {

// Fails unless the snapshot open on `source` passes the full check and,
// unless allowed, holds no trigger or view the program did not make.
void requireSound(const SqliteDatabase& source, const QString& snapshotFile,
                  SnapshotStore::ForeignObjects foreign) {
    const CheckResult check = checkCatalogue(source, CheckDepth::Full);
    if (!check.ok()) {
        throw SnapshotFailure(SnapshotFailure::Kind::Damaged,
                              QStringLiteral("The snapshot %1 cannot be restored. %2")
                                  .arg(snapshotFile, check.problems.join(QLatin1Char(' '))));
    }
    const QList<ForeignObject> objects = foreignObjects(source);
    if (!objects.isEmpty() && foreign == SnapshotStore::ForeignObjects::Refuse) {
        throw SnapshotFailure(
            SnapshotFailure::Kind::Foreign,
            QStringLiteral("Nothing was restored: the snapshot %1 holds triggers or views the "
                           "program did not make (%2). A trigger runs by itself whenever movies "
                           "change and could remove or alter them unseen.")
                .arg(snapshotFile, describeForeignObjects(objects)));
    }
}

void requireNoOpenChange(const SqliteDatabase& catalogue) {
    if (catalogue.inTransaction()) {
        throw SnapshotFailure(
            SnapshotFailure::Kind::Failed,
            QStringLiteral("Could not restore while a change to the catalogue is open."));
    }
}

void requireOtherFile(const QString& snapshotFile, const QString& catalogueFile) {
    if (isSameFile(snapshotFile, catalogueFile)) {
        throw SnapshotFailure(SnapshotFailure::Kind::Failed,
                              QStringLiteral("Nothing was restored: %1 is the catalogue itself, "
                                             "not a snapshot of it.")
                                  .arg(snapshotFile));
    }
}

// A finished snapshot in the store's folder is read without a lock and
// without files beside it; any other file as SQLite reads it for anyone.
SqliteDatabase openSnapshot(const QString& file, const QString& folder) {
    return openSnapshotDatabase(file, QFileInfo(file).absolutePath() ==
                                              QFileInfo(folder).absoluteFilePath()
                                          ? SqliteDatabase::Access::Immutable
                                          : SqliteDatabase::Access::ReadOnly);
}

} // namespace

QString SnapshotStore::restore(const QString& snapshotFile, Catalogue& catalogue,
                               SafetySnapshot safety, ForeignObjects foreign) const {
    return restore(snapshotFile, databaseOf(catalogue), safety, foreign);
}

QString SnapshotStore::restore(const QString& snapshotFile, SqliteDatabase& catalogue,
                               SafetySnapshot safety, ForeignObjects foreign) const {
    requireNoOpenChange(catalogue);
    requireOtherFile(snapshotFile, m_catalogueFile);
    const SqliteDatabase source = openSnapshot(snapshotFile, m_folder);
    requireSound(source, snapshotFile, foreign);
    QString safetyCopy;
    try {
        safetyCopy = write(catalogue, SnapshotReason::Restore);
    } catch (const SnapshotFailure& failure) {
        if (safety == SafetySnapshot::Required) {
            throw SnapshotFailure(SnapshotFailure::Kind::NotMade,
                                  QStringLiteral("Nothing was restored, because the current "
                                                 "catalogue could not be saved first. %1")
                                      .arg(failure.description()));
        }
    }
    QString mode;
    try {
        mode = journalMode(catalogue);
    } catch (const SnapshotFailure&) {
        mode = QStringLiteral("delete"); // a damaged catalogue: the program's own default
    }
    copyDatabase(
        source, catalogue,
        QStringLiteral("Could not restore %1; the catalogue is unchanged").arg(snapshotFile));
    // The copy brings the snapshot's journal flag along; the catalogue keeps its own.
    keepJournalMode(catalogue, mode);
    prune();
    return safetyCopy;
}

QString SnapshotStore::restore(const QString& snapshotFile, SafetySnapshot safety,
                               ForeignObjects foreign) const {
    requireOtherFile(snapshotFile, m_catalogueFile);
    std::optional<SqliteDatabase> catalogue = openCatalogueForWriting();
    if (!catalogue) {
        const SqliteDatabase source = openSnapshot(snapshotFile, m_folder);
        requireSound(source, snapshotFile, foreign);
        return replaceDamagedCatalogue(snapshotFile, safety);
    }
    return restore(snapshotFile, *catalogue, safety, foreign);
}

std::optional<SqliteDatabase> SnapshotStore::openCatalogueForWriting() const {
    std::optional<SqliteDatabase> catalogue;
    try {
        catalogue = openSnapshotDatabase(m_catalogueFile, SqliteDatabase::Access::ReadWrite);
    } catch (const SnapshotFailure& failure) {
        if (failure.kind() != SnapshotFailure::Kind::Damaged) {
            throw;
        }
        return std::nullopt;
    }
    // The catalogue is the user's only copy: full sync, as the program's own connection.
    catalogue->executeIgnoringFailure("PRAGMA synchronous=FULL");
    return catalogue;
}

QString SnapshotStore::keepDamagedCopy() const {
    prepareFolder();
    QString kept = damagedCopyPath();
    const QString file = QFileInfo(m_catalogueFile).canonicalFilePath();
    if (file.isEmpty() || !QFile::copy(file, kept)) {
        throw SnapshotFailure(
            SnapshotFailure::Kind::NotMade,
            QStringLiteral("The damaged catalogue could not be kept as %1.").arg(kept));
    }
    // A journal beside it holds what an interrupted change overwrote.
    QFile::copy(file + QStringLiteral("-journal"), kept + QStringLiteral("-journal"));
    syncToDisk(kept);
    return kept;
}

void SnapshotStore::replaceCatalogueFile(const std::function<void(const QString&)>& writeNewFile,
                                         const QString& what) const {
    const QFileInfo info(m_catalogueFile);
    const QString file =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QFileInfo real(file);
    // Beside the real file, so that the rename stays on its file system.
    QTemporaryFile temp(real.absolutePath() + QLatin1String("/.") + real.fileName() +
                        QStringLiteral("-XXXXXX.partial"));
    if (!temp.open()) {
        throw SnapshotFailure(SnapshotFailure::Kind::Failed, what + QStringLiteral(": ") +
                                                                 describeSystemError(errno) +
                                                                 QLatin1Char('.'));
    }
    temp.close(); // SQLite opens it by name
    writeNewFile(temp.fileName());
    if (real.exists()) {
        QFile::setPermissions(temp.fileName(), QFile::permissions(file));
    }
    // A journal left beside the damaged file must never be played into the new one.
    QFile::remove(file + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(file).constData()) != 0) {
        throw SnapshotFailure(SnapshotFailure::Kind::Failed, what + QStringLiteral(": ") +
                                                                 describeSystemError(errno) +
                                                                 QLatin1Char('.'));
    }
    temp.setAutoRemove(false);
    syncToDisk(real.absolutePath());
}

QString SnapshotStore::replaceDamagedCatalogue(const QString& snapshotFile,
                                               SafetySnapshot safety) const {
    const SqliteDatabase source = openSnapshot(snapshotFile, m_folder);
    // Kept for whoever wants to look into it; never listed, never pruned.
    QString kept;
    try {
        kept = keepDamagedCopy();
    } catch (const SnapshotFailure& failure) {
        if (safety == SafetySnapshot::Required) {
            throw SnapshotFailure(
                SnapshotFailure::Kind::NotMade,
                QStringLiteral("Nothing was restored. %1").arg(failure.description()));
        }
    }
    const QString what =
        QStringLiteral("Could not restore %1; the catalogue is unchanged").arg(snapshotFile);
    replaceCatalogueFile([&](const QString& newFile) { copyToNewFile(source, newFile, what); },
                         what);
    return kept;
}
