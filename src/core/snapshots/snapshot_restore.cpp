// Putting a snapshot back into the catalogue.
#include "core/snapshots/durable_file.h"
#include "core/snapshots/snapshot_store.h"
#include "core/snapshots/sqlite_file.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <sqlite3.h>

namespace {

// Fails unless the snapshot open on `source` passes the full check.
void requireSound(const SqliteFile& source, const QString& snapshotFile) {
    const CheckResult check = checkCatalogue(source.handle(), CheckDepth::Full);
    if (!check.ok()) {
        throw SnapshotFailure(SnapshotFailure::Kind::Damaged,
                              QStringLiteral("The snapshot %1 cannot be restored. %2")
                                  .arg(snapshotFile, check.problems.join(QLatin1Char(' '))));
    }
}

void requireNoOpenChange(sqlite3* catalogue) {
    if (!sqlite3_get_autocommit(catalogue)) {
        throw SnapshotFailure(
            SnapshotFailure::Kind::Failed,
            QStringLiteral("Could not restore while a change to the catalogue is open."));
    }
}

} // namespace

QString SnapshotStore::restore(const QString& snapshotFile, sqlite3* catalogue,
                               SafetySnapshot safety) const {
    requireNoOpenChange(catalogue);
    const SqliteFile source(snapshotFile, SqliteFile::Access::ReadOnly);
    requireSound(source, snapshotFile);
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
    copyDatabase(
        source.handle(), catalogue,
        QStringLiteral("Could not restore %1; the catalogue is unchanged").arg(snapshotFile));
    prune();
    return safetyCopy;
}

QString SnapshotStore::restore(const QString& snapshotFile, SafetySnapshot safety) const {
    std::optional<SqliteFile> catalogue;
    try {
        catalogue.emplace(m_catalogueFile, SqliteFile::Access::ReadWrite);
    } catch (const SnapshotFailure& failure) {
        if (failure.kind() != SnapshotFailure::Kind::Damaged) {
            throw;
        }
        return replaceDamagedCatalogue(snapshotFile, safety);
    }
    // The catalogue is the user's only copy: full sync, as the program's own connection.
    sqlite3_exec(catalogue->handle(), "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    return restore(snapshotFile, catalogue->handle(), safety);
}

QString SnapshotStore::replaceDamagedCatalogue(const QString& snapshotFile,
                                               SafetySnapshot safety) const {
    const SqliteFile source(snapshotFile, SqliteFile::Access::ReadOnly);
    requireSound(source, snapshotFile);
    prepareFolder();

    // Kept for whoever wants to look into it; never listed, never pruned.
    const QString kept =
        m_folder + QStringLiteral("/damaged-") + SnapshotName{m_clock(), 1, {}}.fileName();
    if (!QFile::copy(m_catalogueFile, kept) && safety == SafetySnapshot::Required) {
        throw SnapshotFailure(SnapshotFailure::Kind::NotMade,
                              QStringLiteral("Nothing was restored, because the damaged "
                                             "catalogue could not be kept as %1.")
                                  .arg(kept));
    }

    const QString what =
        QStringLiteral("Could not restore %1; the catalogue is unchanged").arg(snapshotFile);
    const std::unique_ptr<QTemporaryFile> temp = unfinishedFile(what);
    copyToNewFile(source.handle(), temp->fileName(), what);
    // A journal left beside the damaged file must never be played into the new one.
    QFile::remove(m_catalogueFile + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(temp->fileName()).constData(),
                    QFile::encodeName(m_catalogueFile).constData()) != 0) {
        throw SnapshotFailure(SnapshotFailure::Kind::Failed, what + QStringLiteral(": ") +
                                                                 describeSystemError(errno) +
                                                                 QLatin1Char('.'));
    }
    temp->setAutoRemove(false);
    syncToDisk(QFileInfo(m_catalogueFile).absolutePath());
    return QFileInfo::exists(kept) ? kept : QString();
}
