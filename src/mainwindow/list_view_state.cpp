#include "mainwindow/list_view_state.h"

#include "mainwindow/list_view.h"

#include <QScrollBar>
#include <algorithm>

namespace {

constexpr int kIdColumn = 0;

QString idOfRow(const ListView& list, int row) {
    return row < 0 ? QString() : list.items().cell(row, kIdColumn);
}

// The shown row of a movie, or -1.
int rowOfId(const ListView& list, const QString& id) {
    if (id.isEmpty()) {
        return -1;
    }
    const MovieListModel& items = list.items();
    for (int row = 0; row < items.itemCount(); ++row) {
        if (items.cellView(row, kIdColumn) == id) {
            return row;
        }
    }
    return -1;
}

} // namespace

ListViewState::ListViewState(const ListView& list)
    : m_ticked(list.items().tickedIds()), m_currentId(idOfRow(list, list.currentIndex().row())),
      m_currentColumn(std::max(list.currentIndex().column(), 0)),
      m_highlighted(list.selectedRow() >= 0),
      m_topId(idOfRow(list, list.indexAt(QPoint(0, 0)).row())),
      m_verticalScroll(list.verticalScrollBar()->value()),
      m_horizontalScroll(list.horizontalScrollBar()->value()) {
    if (m_highlighted) {
        m_currentId = idOfRow(list, list.selectedRow());
    }
}

bool ListViewState::restore(ListView& list) const {
    list.items().tickIds(m_ticked);
    const int current = rowOfId(list, m_currentId);
    if (current >= 0) {
        const QModelIndex index = list.items().index(current, m_currentColumn);
        QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::NoUpdate;
        if (m_highlighted) {
            flags = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        }
        list.selectionModel()->setCurrentIndex(index, flags);
    }
    // After the current row, which scrolls the list to itself.
    const int top = rowOfId(list, m_topId);
    if (top >= 0) {
        list.scrollTo(list.items().index(top, 0), QAbstractItemView::PositionAtTop);
    } else {
        list.verticalScrollBar()->setValue(m_verticalScroll);
    }
    list.horizontalScrollBar()->setValue(m_horizontalScroll);
    return !m_highlighted || current >= 0;
}
