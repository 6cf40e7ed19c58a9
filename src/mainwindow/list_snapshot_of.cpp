#include "mainwindow/list_snapshot_of.h"

#include "mainwindow/list_view.h"

ListSnapshot snapshotOfList(const ListView& list) {
    const MovieListModel& items = list.items();
    QStringList captions;
    for (int column = 0; column < list.columnHeaderCount(); ++column) {
        captions << items.columnText(column);
    }
    ListSnapshot snapshot(captions);
    snapshot.reserveRows(items.itemCount());
    for (int row = 0; row < items.itemCount(); ++row) {
        snapshot.beginRow(items.isTicked(row));
        for (int column = 0; column < snapshot.columnCount(); ++column) {
            snapshot.addCell(items.cell(row, column));
        }
    }
    return snapshot;
}
