#include "mainwindow/snapshots/safety_snapshot.h"

#include "core/catalogue/catalogue.h"
#include "core/report/message_boxes.h"
#include "core/snapshots/snapshot_failure.h"
#include "core/snapshots/snapshot_store.h"

namespace {

const QString kNoSnapshotQuestion =
    QStringLiteral("No snapshot of the catalogue could be made, so this cannot be undone:\r\n"
                   "%1\r\n\r\nGo on anyway?");

} // namespace

bool goOnWithoutSnapshot(MessageBoxes& boxes, const QString& why) {
    return boxes.askDefaultNo(kNoSnapshotQuestion.arg(why)) == Answer::Yes;
}

bool snapshotBeforeChange(Catalogue& catalogue, MessageBoxes& boxes, SnapshotReason reason) {
    if (!catalogue.isOpen()) {
        return true; // nothing to save; the command reports the closed catalogue itself
    }
    try {
        SnapshotStore(catalogue.fileName()).make(catalogue, reason);
        return true;
    } catch (const Failure& failure) {
        return goOnWithoutSnapshot(boxes, failure.description());
    }
}
