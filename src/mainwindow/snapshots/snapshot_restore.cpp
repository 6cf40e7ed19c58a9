#include "mainwindow/snapshots/snapshot_restore.h"

#include "core/catalogue/catalogue.h"
#include "core/report/counts.h"
#include "core/report/message_boxes.h"
#include "core/snapshots/snapshot_failure.h"
#include "desktop/window_pointer.h"
#include "mainwindow/snapshots/restore_dialog.h"
#include "mainwindow/snapshots/safety_snapshot.h"
#include "mainwindow/snapshots/startup_check.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QFileInfo>
#include <QTimer>

namespace {

const QString kRestoreEntry = QStringLiteral("&Restore a snapshot\u2026");
const QString kBackUpEntry = QStringLiteral("&Back up now");
const QString kCheckEntry = QStringLiteral("&Check the catalogue");
const QString kDamaged =
    QStringLiteral("The catalogue file %1 is damaged, so some movies may be missing or wrong.\r\n"
                   "(%2)");
const QString kSalvaged =
    QStringLiteral("\r\n\r\n%1 movie(s) could still be read and were saved into a sound "
                   "catalogue, which is in use now. The damaged file is kept as %2.");
const QString kNotSalvaged = QStringLiteral("\r\n\r\nNothing could be saved from it: %1");
const QString kOfferAfterSalvage =
    QStringLiteral("The catalogue now holds the %1 movie(s) read from the damaged file (first "
                   "row). To go back to a snapshot instead, choose it and press Restore; the "
                   "current movies are saved as a snapshot first.");
const QString kOfferAfterProblem =
    QStringLiteral("The catalogue has a fault: %1\nTo go back to a snapshot, choose it and press "
                   "Restore.");

// The damaged file's copy as a row of the snapshot list.
Snapshot damagedCopyRow(const SalvageResult& salvaged) {
    Snapshot copy;
    copy.path = salvaged.keptDamaged;
    copy.name.taken = QFileInfo(salvaged.keptDamaged).lastModified();
    copy.movies = salvaged.movies;
    return copy;
}

} // namespace

SnapshotRestore::SnapshotRestore(WindowContext& context)
    : WindowFeature(context, QStringLiteral("SnapshotRestore")), m_services(context.services()) {
    m_entries << addBarEntry(BarMenu::File, kBackUpEntry, {}, [this] { backUpNow(); });
    m_entries << addEntry(
        kRestoreEntry, {}, [this] { chooseSnapshotToRestore(); }, BarMenu::File);
    m_entries << addBarEntry(BarMenu::File, kCheckEntry, {}, [this] { checkNow(); });
    SnapshotRestore::updateEntries();
}

void SnapshotRestore::updateEntries() {
    // Nothing to snapshot, restore or check without a catalogue.
    for (QAction* entry : std::as_const(m_entries)) {
        entry->setEnabled(m_services.catalogue.isOpen());
    }
}

void SnapshotRestore::start() {
    // The window is painted and answering by then.
    QTimer::singleShot(StartupCheck::kDelayAfterShownMs, this, &SnapshotRestore::checkAfterShown);
}

void SnapshotRestore::refillList() {
    context().refill();
}

RestoreDialog& SnapshotRestore::restoreDialog() {
    if (!m_restoreDialog) {
        m_restoreDialog = new RestoreDialog(&context().window());
    }
    return *m_restoreDialog;
}

void SnapshotRestore::chooseSnapshotToRestore() {
    if (!m_services.catalogue.isOpen()) {
        return;
    }
    const SnapshotStore store(m_services.catalogue.fileName());
    RestoreDialog& dialog = restoreDialog();
    dialog.setSnapshots(store.list());
    if (dialog.exec() == QDialog::Accepted && !dialog.chosenFile().isEmpty()) {
        restoreSnapshot(dialog.chosenFile());
    }
}

bool SnapshotRestore::restoreSnapshot(const QString& file, bool damaged) {
    if (!m_services.catalogue.isOpen()) {
        return false;
    }
    const SnapshotStore store(m_services.catalogue.fileName());
    // Says what went wrong, except that the current contents could not be
    // saved first: that is left in `notMade` for the question below.
    const auto attempt = [&](SnapshotStore::SafetySnapshot safety, QString* notMade) {
        try {
            store.restore(file, m_services.catalogue, safety);
            return true;
        } catch (const SnapshotFailure& failure) {
            if (failure.kind() == SnapshotFailure::Kind::NotMade && notMade) {
                *notMade = failure.description();
                return false;
            }
            m_services.boxes.warn(failure.description());
        } catch (const Failure& failure) {
            m_services.boxes.warn(failure.description());
        }
        return false;
    };
    QString notMade;
    bool restored = attempt(damaged ? SnapshotStore::SafetySnapshot::IfPossible
                                    : SnapshotStore::SafetySnapshot::Required,
                            &notMade);
    if (!restored && !notMade.isEmpty() && goOnWithoutSnapshot(m_services.boxes, notMade)) {
        restored = attempt(SnapshotStore::SafetySnapshot::IfPossible, nullptr);
    }
    if (restored) {
        refillList();
    }
    return restored;
}

void SnapshotRestore::checkAfterShown() {
    if (m_startupCheck || !m_services.catalogue.isOpen()) {
        return;
    }
    m_startupCheck = new StartupCheck(m_services.catalogue.fileName(), this);
    connect(m_startupCheck, &StartupCheck::finished, this, &SnapshotRestore::reportStartupCheck);
    m_startupCheck->start();
}

void SnapshotRestore::reportStartupCheck() {
    const StartupFindings& findings = m_startupCheck->findings();
    if (findings.health.ok() || !m_services.catalogue.isOpen()) {
        return;
    }
    const SnapshotStore store(m_services.catalogue.fileName());
    const QString problem = findings.health.problems.constFirst();
    QString report = kDamaged.arg(store.catalogueFile(), problem);
    QString offer = kOfferAfterProblem.arg(problem);
    std::optional<Snapshot> damagedCopy;
    if (findings.health.damaged) {
        // Everything still readable is saved first; the damaged file is kept.
        try {
            const BusyPointer busy(context().pointer());
            const SalvageResult salvaged = store.salvage(m_services.catalogue);
            report += kSalvaged.arg(groupedNumber(salvaged.movies)).arg(salvaged.keptDamaged);
            offer = kOfferAfterSalvage.arg(groupedNumber(salvaged.movies));
            damagedCopy = damagedCopyRow(salvaged);
        } catch (const Failure& failure) {
            report += kNotSalvaged.arg(failure.description());
        }
        refillList();
    }
    m_services.boxes.warn(report);
    // The person chooses: nothing is restored on Enter alone.
    RestoreDialog dialog(&context().window(), RestoreDialog::Offer::AfterDamage);
    dialog.setSnapshotsAfterDamage(offer, store.list(), damagedCopy);
    if (dialog.exec() == QDialog::Accepted && !dialog.chosenFile().isEmpty()) {
        restoreSnapshot(dialog.chosenFile(), !damagedCopy);
    }
}
