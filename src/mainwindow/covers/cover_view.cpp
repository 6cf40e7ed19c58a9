#include "mainwindow/covers/cover_view.h"

#include "mainwindow/covers/cover_thumbnails.h"
#include "mainwindow/covers/cover_tile.h"
#include "mainwindow/list_view.h"

#include <QKeyEvent>

namespace {

// The least room between two tiles; what the width leaves over is shared
// between the tiles, so that they spread over the whole width.
constexpr int kSpacing = 12;

} // namespace

CoverView::CoverView(ListView& list, CoverThumbnails& thumbnails) : QListView(&list), m_list(list) {
    setObjectName(QStringLiteral("CoverView"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new CoverTile(thumbnails, this));
    setModel(list.model());
    // One selection for both views: the selected movie is the same in each.
    QItemSelectionModel* own = selectionModel();
    setSelectionModel(list.selectionModel());
    delete own;
    setSelectionBehavior(QAbstractItemView::SelectRows);
    followCheckColumn();
    connect(&thumbnails, &CoverThumbnails::thumbnailReady, viewport(),
            qOverload<>(&QWidget::update));
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { Q_EMIT openRequested(index.row()); });
}

void CoverView::resizeEvent(QResizeEvent* event) {
    spreadTiles();
    QListView::resizeEvent(event);
}

void CoverView::spreadTiles() {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QSize tile = itemDelegate()->sizeHint(option, {});
    const int width = viewport()->width();
    const int columns = std::max(1, width / (tile.width() + kSpacing));
    const QSize grid(std::max(tile.width() + kSpacing, width / columns), tile.height() + kSpacing);
    if (gridSize() != grid) {
        setGridSize(grid);
    }
}

void CoverView::followCheckColumn() {
    setModelColumn(m_list.items().checkColumn());
}

void CoverView::keyPressEvent(QKeyEvent* event) {
    // The current index may sit in another column of the row (the list's).
    const QModelIndex current = currentIndex().siblingAtColumn(modelColumn());
    if (event->modifiers() == Qt::NoModifier && current.isValid()) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            Q_EMIT openRequested(current.row());
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Space) {
            const bool ticked = current.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            model()->setData(current, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            event->accept();
            return;
        }
    }
    QListView::keyPressEvent(event);
}
