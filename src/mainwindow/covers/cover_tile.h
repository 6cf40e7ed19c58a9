#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

class CoverThumbnails;

// Draws one movie of the cover view as a tile: its cover (or a placeholder
// showing its title and year) with the row's tick box in the cover's
// corner, then its title wrapped at word boundaries over at most two lines
// and elided at the end, then its year. A click on the tick box ticks the
// row, as in the list.
class CoverTile : public QStyledItemDelegate {
public:
    CoverTile(CoverThumbnails& thumbnails, QObject* parent);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Where the tick box of the tile in `tile` sits.
    QRect checkRect(const QStyleOptionViewItem& option, QRect tile) const;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QRect coverRect(QRect tile) const;
    const QPixmap& placeholder() const;

    CoverThumbnails& m_thumbnails;
    mutable QPixmap m_placeholder;
};
