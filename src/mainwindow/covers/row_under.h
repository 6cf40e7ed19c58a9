#pragma once

#include <QAbstractItemView>

// The row shown at `position` in an item view's viewport (the list's or
// the cover view's), or -1 when no row is there.
inline int rowUnder(QObject* viewport, QPoint position) {
    const auto* view = qobject_cast<const QAbstractItemView*>(viewport->parent());
    const QModelIndex index = view ? view->indexAt(position) : QModelIndex();
    return index.isValid() ? index.row() : -1;
}
