#include "mainwindow/snapshots/restore_dialog.h"

#include "core/report/counts.h"

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
const QString kKeepButton = QStringLiteral("&Keep the Catalogue as It Is");
const QString kDamagedCopy =
    QStringLiteral("The damaged file (its readable movies are in use now)");
// Marks the row of the damaged file's copy.
constexpr int kDamagedRole = Qt::UserRole + 1;

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

RestoreDialog::RestoreDialog(QWidget* parent, Offer offer)
    : QDialog(parent), m_label(new QLabel(kExplanation, this)), m_list(new QTreeWidget(this)) {
    setObjectName(offer == Offer::OnRequest ? QStringLiteral("RestoreDialog")
                                            : QStringLiteral("RestoreDialogAfterDamage"));
    setWindowTitle(kTitle);
    m_label->setObjectName(QStringLiteral("restoreExplanation"));
    m_label->setWordWrap(true);

    m_list->setObjectName(QStringLiteral("snapshotList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels(
        {QStringLiteral("Taken"), QStringLiteral("Reason"), QStringLiteral("Movies")});
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    if (offer == Offer::OnRequest) {
        m_restore = buttons->addButton(kRestoreButton, QDialogButtonBox::AcceptRole);
        m_restore->setDefault(true);
    } else {
        // No default and no button that becomes one on focus or show (the
        // box makes its first accepting button the default): Enter does nothing.
        m_restore = buttons->addButton(kRestoreButton, QDialogButtonBox::ActionRole);
        connect(m_restore, &QPushButton::clicked, this, &QDialog::accept);
        m_cancel->setText(kKeepButton);
        m_cancel->setAutoDefault(false);
        m_restore->setAutoDefault(false);
    }
    const QSize size = offer == Offer::OnRequest ? QSize(520, 320) : QSize(680, 340);
    m_restore->setObjectName(QStringLiteral("restoreButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_restore->setEnabled(!chosenFile().isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(size);
}

void RestoreDialog::setSnapshots(const QList<Snapshot>& snapshots) {
    fill(snapshots);
    if (!snapshots.isEmpty()) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    m_restore->setEnabled(!chosenFile().isEmpty());
}

void RestoreDialog::setSnapshotsAfterDamage(const QString& explanation,
                                            const QList<Snapshot>& snapshots,
                                            const std::optional<Snapshot>& damagedCopy) {
    m_label->setText(explanation);
    QList<Snapshot> rows = snapshots;
    if (damagedCopy) {
        rows.prepend(*damagedCopy);
    }
    fill(rows);
    if (damagedCopy) {
        QTreeWidgetItem* item = m_list->topLevelItem(0);
        item->setText(Reason, kDamagedCopy);
        item->setData(Taken, kDamagedRole, true);
    }
    if (!rows.isEmpty()) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    m_restore->setEnabled(!chosenFile().isEmpty());
}

void RestoreDialog::fill(const QList<Snapshot>& snapshots) {
    m_list->clear();
    const QLocale locale;
    for (const Snapshot& snapshot : snapshots) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(Taken, locale.toString(snapshot.name.taken, QLocale::ShortFormat));
        item->setText(Reason, reasonText(snapshot.name.reason));
        item->setText(Movies, groupedNumber(snapshot.movies));
        item->setTextAlignment(Movies, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(Taken, Qt::UserRole, snapshot.path);
        item->setToolTip(Taken, snapshot.path);
    }
    if (snapshots.isEmpty()) {
        auto* item = new QTreeWidgetItem(m_list, {kNoSnapshots});
        item->setFlags(Qt::NoItemFlags);
        item->setFirstColumnSpanned(true);
    }
}

QString RestoreDialog::chosenFile() const {
    const QList<QTreeWidgetItem*> chosen = m_list->selectedItems();
    if (chosen.isEmpty() || chosen.first()->data(Taken, kDamagedRole).toBool()) {
        return {};
    }
    return chosen.first()->data(Taken, Qt::UserRole).toString();
}
