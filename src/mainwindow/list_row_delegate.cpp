#include "mainwindow/list_row_delegate.h"

#include <QFontMetrics>

namespace {

// Letters that reach furthest above and below the line in the scripts the
// catalogue holds.
const QString kTallestInk = QStringLiteral("ÅÉÖÇÑŽgjpqy");
// Blank kept above and below the ink, in pixels.
constexpr int kInkMargin = 1;

} // namespace

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // The text is centred on its line, so the ink needs room on the side
    // where it goes furthest past the line.
    const QFontMetrics metrics(option.font);
    const QRect ink = metrics.tightBoundingRect(kTallestInk);
    const int above = std::max(-ink.top() - metrics.ascent(), 0);
    const int below = std::max(ink.bottom() + 1 - metrics.descent(), 0);
    const int needed = metrics.height() + 2 * (std::max(above, below) + kInkMargin);
    size.setHeight(std::max(size.height(), needed));
    return size;
}
