#pragma once

#include "core/snapshots/snapshot_store.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

// Lists a catalogue's snapshots, newest first, with the time each was taken,
// why it was made and how many movies it holds, and lets the user pick one
// to restore. The newest is selected, so Restore alone brings it back.
// After a damaged catalogue was met it offers the same list more carefully:
// nothing is the default, so Enter alone does nothing.
class RestoreDialog : public QDialog {
    Q_OBJECT
public:
    // OnRequest: "Restore a snapshot…"; AfterDamage: the careful offer.
    enum class Offer { OnRequest, AfterDamage };

    explicit RestoreDialog(QWidget* parent = nullptr, Offer offer = Offer::OnRequest);

    // Shows these snapshots (newest first) in place of any shown before.
    void setSnapshots(const QList<Snapshot>& snapshots);
    // The careful offer (a dialog made with Offer::AfterDamage): `explanation` says what
    // happened; the damaged file's own copy, when kept, heads the list with
    // the number of movies read from it and is selected as the most recent
    // state (the catalogue holds those movies now, so it is not restorable).
    // No button is the default, so the person must choose.
    void setSnapshotsAfterDamage(const QString& explanation, const QList<Snapshot>& snapshots,
                                 const std::optional<Snapshot>& damagedCopy);
    // The chosen snapshot's path; "" when none is selected.
    QString chosenFile() const;

    QTreeWidget& list() { return *m_list; }
    QPushButton& restoreButton() { return *m_restore; }

private:
    void fill(const QList<Snapshot>& snapshots);

    QLabel* m_label = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_restore = nullptr;
    QPushButton* m_cancel = nullptr;
};
