#pragma once

#include "core/snapshots/snapshot_store.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// Lists a catalogue's snapshots, newest first, with the time each was taken,
// why it was made and how many movies it holds, and lets the user pick one
// to restore. The newest is selected, so Restore alone brings it back.
class RestoreDialog : public QDialog {
    Q_OBJECT
public:
    explicit RestoreDialog(QWidget* parent = nullptr);

    // Shows these snapshots (newest first) in place of any shown before.
    void setSnapshots(const QList<Snapshot>& snapshots);
    // The chosen snapshot's path; "" when none is selected.
    QString chosenFile() const;

    QTreeWidget& list() { return *m_list; }
    QPushButton& restoreButton() { return *m_restore; }

private:
    QTreeWidget* m_list = nullptr;
    QPushButton* m_restore = nullptr;
};
