#include "mainwindow/lookup/field_review.h"

#include <QHeaderView>

namespace {

const QStringList kHeaders = {QStringLiteral("Field"), QStringLiteral("In the editor"),
                              QStringLiteral("Found")};
enum Column { Name, Typed, Found };
// The row's field number, kept on its first cell.
constexpr int kFieldRole = Qt::UserRole;

} // namespace

FieldReview::FieldReview(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("FieldReview"));
    setHeaderLabels(kHeaders);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(true);
    header()->setSectionResizeMode(QHeaderView::Interactive);
}

void FieldReview::setFields(const QStringList& names, const DvdRecord& typed,
                            const DvdRecord& found) {
    clear();
    for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
        const QString& mine = typed.field(field);
        const QString& theirs = found.field(field);
        auto* row = new QTreeWidgetItem(this, {names.value(field), mine, theirs});
        row->setData(Name, kFieldRole, field);
        row->setToolTip(Found, theirs);
        row->setToolTip(Typed, mine);
        if (theirs.isEmpty() || theirs == mine) {
            // Nothing to take: the database has no value, or the same one.
            row->setFlags(row->flags() & ~Qt::ItemIsUserCheckable);
            continue;
        }
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(Name, mine.trimmed().isEmpty() ? Qt::Checked : Qt::Unchecked);
    }
    resizeColumnToContents(Name);
    setColumnWidth(Typed, qMax(columnWidth(Typed), 180));
    setCurrentItem(topLevelItem(0));
}

QList<std::pair<int, QString>> FieldReview::ticked() const {
    QList<std::pair<int, QString>> values;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = topLevelItem(i);
        if ((row->flags() & Qt::ItemIsUserCheckable) && row->checkState(Name) == Qt::Checked) {
            values.append({row->data(Name, kFieldRole).toInt(), row->text(Found)});
        }
    }
    return values;
}

void FieldReview::setTicked(int field, bool ticked) {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = topLevelItem(i);
        if (row->data(Name, kFieldRole).toInt() == field &&
            (row->flags() & Qt::ItemIsUserCheckable)) {
            row->setCheckState(Name, ticked ? Qt::Checked : Qt::Unchecked);
        }
    }
}
