#pragma once

#include <QStyledItemDelegate>

// Draws the list's cells as the style does, in rows tall enough for the ink
// of every letter: accents on capitals ("Ö", "É", "Å") reach above the
// font's line, and a row only as tall as the line cuts them off.
class ListRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
