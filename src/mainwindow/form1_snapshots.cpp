// The main window's safety net: restoring a snapshot, and the health check
// and daily snapshot after the window is shown.
#include "core/catalogue/catalogue.h"
#include "core/report/message_boxes.h"
#include "core/snapshots/snapshot_failure.h"
#include "mainwindow/form1.h"
#include "mainwindow/restore_dialog.h"
#include "mainwindow/safety_snapshot.h"
#include "mainwindow/startup_check.h"

#include <QLocale>

namespace {

const QString kDamaged =
    QStringLiteral("The catalogue file %1 is damaged, so some movies may be missing or wrong.\r\n"
                   "(%2)\r\n\r\n");
const QString kOfferRestore =
    QStringLiteral("The newest sound snapshot is from %1 with %2 movies. Restore it now? "
                   "The damaged contents are kept as a snapshot first.");
const QString kNoSoundSnapshot = QStringLiteral("There is no sound snapshot to restore it from.");

} // namespace

RestoreDialog& Form1::restoreDialog() {
    if (!m_restoreDialog) {
        m_restoreDialog = new RestoreDialog(this);
    }
    return *m_restoreDialog;
}

void Form1::chooseSnapshotToRestore() {
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

bool Form1::restoreSnapshot(const QString& file, bool damaged) {
    if (!m_services.catalogue.isOpen()) {
        return false;
    }
    const SnapshotStore store(m_services.catalogue.fileName());
    sqlite3* catalogue = m_services.catalogue.connection().handle();
    // Says what went wrong, except that the current contents could not be
    // saved first: that is left in `notMade` for the question below.
    const auto attempt = [&](SnapshotStore::SafetySnapshot safety, QString* notMade) {
        try {
            store.restore(file, catalogue, safety);
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

void Form1::checkAfterShown() {
    if (m_startupCheck || !m_services.catalogue.isOpen()) {
        return;
    }
    m_startupCheck = new StartupCheck(m_services.catalogue.fileName(), this);
    connect(m_startupCheck, &StartupCheck::finished, this, &Form1::reportStartupCheck);
    m_startupCheck->start();
}

void Form1::reportStartupCheck() {
    const StartupFindings& findings = m_startupCheck->findings();
    if (findings.health.ok()) {
        return;
    }
    const QString damaged =
        kDamaged.arg(m_services.catalogue.fileName(), findings.health.problems.constFirst());
    if (!findings.newestSound) {
        m_services.boxes.warn(damaged + kNoSoundSnapshot);
        return;
    }
    const QLocale locale;
    const QString offer =
        kOfferRestore.arg(locale.toString(findings.newestSound->name.taken, QLocale::ShortFormat),
                          locale.toString(findings.newestSound->movies));
    if (m_services.boxes.ask(damaged + offer) == Answer::Yes) {
        restoreSnapshot(findings.newestSound->path, true);
    }
}
