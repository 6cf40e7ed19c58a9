#include "mainwindow/restore_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Restore a Snapshot");
const QString kExplanation =
    QStringLiteral("Replace every movie in the catalogue with those of the snapshot chosen below. "
                   "The current movies are saved as a snapshot first, so this can be undone.");
const QString kNoSnapshots = QStringLiteral("There are no snapshots of this catalogue yet.");
const QString kRestoreButton = QStringLiteral("&Restore");

enum Column { Taken, Reason, Movies };

// The reason as a person reads it.
QString reasonText(SnapshotReason reason) {
    switch (reason) {
    case SnapshotReason::Manual:
        return QStringLiteral("Made on request");
    case SnapshotReason::Clear:
        return QStringLiteral("Before clearing the database");
    case SnapshotReason::Import:
        return QStringLiteral("Before an import");
    case SnapshotReason::Restore:
        return QStringLiteral("Before a restore");
    case SnapshotReason::Daily:
        return QStringLiteral("Daily");
    }
    return {};
}

} // namespace

RestoreDialog::RestoreDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RestoreDialog"));
    setWindowTitle(kTitle);
    auto* label = new QLabel(kExplanation, this);
    label->setWordWrap(true);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("snapshotList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels(
        {QStringLiteral("Taken"), QStringLiteral("Reason"), QStringLiteral("Movies")});
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_restore = buttons->addButton(kRestoreButton, QDialogButtonBox::AcceptRole);
    m_restore->setObjectName(QStringLiteral("restoreButton"));
    m_restore->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_restore->setEnabled(!chosenFile().isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(520, 320);
}

void RestoreDialog::setSnapshots(const QList<Snapshot>& snapshots) {
    m_list->clear();
    const QLocale locale;
    for (const Snapshot& snapshot : snapshots) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(Taken, locale.toString(snapshot.name.taken, QLocale::ShortFormat));
        item->setText(Reason, reasonText(snapshot.name.reason));
        item->setText(Movies, locale.toString(snapshot.movies));
        item->setTextAlignment(Movies, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(Taken, Qt::UserRole, snapshot.path);
        item->setToolTip(Taken, snapshot.path);
    }
    if (snapshots.isEmpty()) {
        auto* item = new QTreeWidgetItem(m_list, {kNoSnapshots});
        item->setFlags(Qt::NoItemFlags);
        item->setFirstColumnSpanned(true);
    } else {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    m_restore->setEnabled(!chosenFile().isEmpty());
}

QString RestoreDialog::chosenFile() const {
    const QList<QTreeWidgetItem*> chosen = m_list->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->data(Taken, Qt::UserRole).toString();
}
