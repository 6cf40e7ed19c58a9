// "Back up now" and "Check the catalogue" from the main window, as the
// command line's backup and check do.
#include "core/catalogue/catalogue.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/snapshots/catalogue_check.h"
#include "core/snapshots/snapshot_store.h"
#include "desktop/window_pointer.h"
#include "mainwindow/snapshots/snapshot_restore.h"
#include "mainwindow/window_context.h"

#include <QDir>

namespace {

const QString kBackedUp = QStringLiteral("A snapshot of the catalogue was saved as %1.");
const QString kNotBackedUp = QStringLiteral("No snapshot could be made.\n\n%1");
const QString kSound = QStringLiteral("The catalogue is sound: the check found nothing wrong.");
const QString kFindings = QStringLiteral("The check of the catalogue found:\n\n%1");
const QString kFutureDated =
    QStringLiteral("The snapshot %1 is dated in the future: the clock was wrong when it was made.");
const QString kNotChecked = QStringLiteral("The catalogue could not be checked.\n\n%1");

} // namespace

void SnapshotRestore::backUpNow() {
    if (!m_services.catalogue.isOpen()) {
        return;
    }
    QString file;
    try {
        const BusyPointer busy(context().pointer());
        file = SnapshotStore(m_services.catalogue.fileName())
                   .make(m_services.catalogue, SnapshotReason::Manual);
    } catch (const Failure& failure) {
        m_services.boxes.warn(kNotBackedUp.arg(failure.description()));
        return;
    }
    m_services.boxes.tell(kBackedUp.arg(QDir::toNativeSeparators(file)));
}

void SnapshotRestore::checkNow() {
    if (!m_services.catalogue.isOpen()) {
        return;
    }
    CheckResult result;
    try {
        const BusyPointer busy(context().pointer());
        const SnapshotStore store(m_services.catalogue.fileName());
        result = checkCatalogue(store.catalogueFile(), CheckDepth::Full);
        for (const QString& name : store.futureDated()) {
            result.cautions << kFutureDated.arg(name);
        }
    } catch (const Failure& failure) {
        m_services.boxes.warn(kNotChecked.arg(failure.description()));
        return;
    }
    if (result.clean()) {
        m_services.boxes.tell(kSound);
    } else if (result.ok()) {
        m_services.boxes.tell(kFindings.arg(result.text()));
    } else {
        m_services.boxes.warn(kFindings.arg(result.text()));
    }
}
