#include "mainwindow/covers/cover_tile.h"

#include "core/catalogue/movie_column.h"
#include "mainwindow/covers/cover_thumbnails.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

namespace {

constexpr int kPadding = 6;
constexpr int kTitleLines = 2;
// Lines of title a placeholder has room for, above its year.
constexpr int kPlaceholderLines = 6;
constexpr int kCheckInset = 4;

QString cellText(const QModelIndex& index, MovieColumn column) {
    return index.siblingAtColumn(columnIndex(column)).data().toString().simplified();
}

// The text broken into at most `maxLines` lines of at most `width` pixels,
// at word boundaries where a word fits (anywhere inside one that does not);
// the last line is elided when text is left over.
QStringList wrapped(const QString& text, const QFont& font, int width, int maxLines) {
    QStringList lines;
    QTextLayout layout(text, font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(wrapping);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            const QFontMetrics metrics(font);
            lines << metrics.elidedText(text.mid(line.textStart()), Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// Draws the lines centred from the top of `area`; returns where they end.
int drawLines(QPainter* painter, const QStringList& lines, QRect area) {
    const int spacing = painter->fontMetrics().lineSpacing();
    int y = area.top();
    for (const QString& line : lines) {
        painter->drawText(QRect(area.left(), y, area.width(), spacing), Qt::AlignHCenter, line);
        y += spacing;
    }
    return y;
}

} // namespace

CoverTile::CoverTile(CoverThumbnails& thumbnails, QObject* parent)
    : QStyledItemDelegate(parent), m_thumbnails(thumbnails) {}

QSize CoverTile::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    const QSize cover = m_thumbnails.size();
    return {cover.width() + 2 * kPadding,
            cover.height() + option.fontMetrics.lineSpacing() * (kTitleLines + 1) + 3 * kPadding};
}

QRect CoverTile::coverRect(QRect tile) const {
    const QSize cover = m_thumbnails.size();
    return {tile.left() + (tile.width() - cover.width()) / 2, tile.top() + kPadding, cover.width(),
            cover.height()};
}

QRect CoverTile::checkRect(const QStyleOptionViewItem& option, QRect tile) const {
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget));
    return {coverRect(tile).topLeft() + QPoint(kCheckInset, kCheckInset), size};
}

void CoverTile::paint(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    painter->save();
    const bool selected = item.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : item.state & QStyle::State_Active   ? QPalette::Normal
                                                                             : QPalette::Inactive;
    // The whole tile takes the selection's colour.
    if (selected) {
        painter->fillRect(item.rect, item.palette.brush(group, QPalette::Highlight));
    }

    const QString title = cellText(index, MovieColumn::Title);
    const QString year = cellText(index, MovieColumn::Year);
    const QRect cover = coverRect(item.rect);
    const QPixmap thumbnail = m_thumbnails.thumbnail(cellText(index, MovieColumn::Id).toLongLong());
    if (thumbnail.isNull()) {
        painter->drawPixmap(cover.topLeft(), placeholder());
        // The placeholder names the movie, its year below.
        painter->setPen(QColor(0x50, 0x50, 0x50));
        const QRect inside = cover.adjusted(kPadding, 0, -kPadding, 0);
        const int spacing = painter->fontMetrics().lineSpacing();
        QStringList lines = wrapped(title, painter->font(), inside.width(), kPlaceholderLines);
        if (!year.isEmpty()) {
            lines << QString() << year;
        }
        const int height = int(lines.size()) * spacing;
        drawLines(painter, lines, inside.adjusted(0, (inside.height() - height) / 2, 0, 0));
    } else {
        const QSize shown = thumbnail.size() / thumbnail.devicePixelRatio();
        painter->drawPixmap(QRect(cover.left() + (cover.width() - shown.width()) / 2,
                                  cover.bottom() + 1 - shown.height(), shown.width(),
                                  shown.height()),
                            thumbnail);
    }

    // The tick box, in the cover's corner.
    if (index.data(Qt::CheckStateRole).isValid()) {
        QStyleOptionViewItem check(item);
        check.rect = checkRect(item, item.rect);
        check.state &= ~QStyle::State_HasFocus;
        check.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On
                                                                             : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
    }

    // Title and year under the cover.
    const QColor text =
        item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QRect below(item.rect.left() + kPadding, cover.bottom() + 1 + kPadding,
                      item.rect.width() - 2 * kPadding, item.rect.bottom() - cover.bottom());
    painter->setPen(text);
    const int end =
        drawLines(painter, wrapped(title, painter->font(), below.width(), kTitleLines), below);
    QColor muted = text;
    muted.setAlphaF(0.7F);
    painter->setPen(muted);
    drawLines(painter, {year}, QRect(below.left(), end, below.width(), below.height()));
    painter->restore();
}

bool CoverTile::editorEvent(QEvent* event, QAbstractItemModel* model,
                            const QStyleOptionViewItem& option, const QModelIndex& index) {
    const bool mouse = event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseButtonRelease ||
                       event->type() == QEvent::MouseButtonDblClick;
    if (!mouse || !(index.flags() & Qt::ItemIsUserCheckable)) {
        return false;
    }
    const auto* click = static_cast<QMouseEvent*>(event);
    if (click->button() != Qt::LeftButton ||
        !checkRect(option, option.rect).contains(click->position().toPoint())) {
        return false;
    }
    // A press or double-click on the tick box does nothing more; the
    // release turns the tick.
    if (event->type() == QEvent::MouseButtonRelease) {
        const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    return true;
}

const QPixmap& CoverTile::placeholder() const {
    if (m_placeholder.size() != m_thumbnails.size()) {
        m_placeholder = QPixmap(m_thumbnails.size());
        m_placeholder.fill(QColor(0xe4, 0xe4, 0xe4));
        QPainter painter(&m_placeholder);
        painter.setPen(QColor(0xb0, 0xb0, 0xb0));
        painter.drawRect(m_placeholder.rect().adjusted(0, 0, -1, -1));
    }
    return m_placeholder;
}
