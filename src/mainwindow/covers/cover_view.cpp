#include "mainwindow/covers/cover_view.h"

#include "mainwindow/covers/cover_thumbnails.h"
#include "mainwindow/list_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kTitleLines = 2;
constexpr int kSpacing = 12;

// Draws each movie as its cover (or a placeholder) above its title, with
// the row's tick box, through the style's own item painting.
class CoverDelegate : public QStyledItemDelegate {
public:
    CoverDelegate(CoverThumbnails& thumbnails, QObject* parent)
        : QStyledItemDelegate(parent), m_thumbnails(thumbnails) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const QSize cover = m_thumbnails.size();
        return {cover.width() + kSpacing,
                cover.height() + option.fontMetrics.lineSpacing() * kTitleLines + kSpacing};
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->decorationSize = m_thumbnails.size();
        option->decorationPosition = QStyleOptionViewItem::Top;
        option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
        option->features |= QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::WrapText;
        const qint64 id = index.siblingAtColumn(0).data().toLongLong();
        const QPixmap cover = m_thumbnails.thumbnail(id);
        option->icon = QIcon(cover.isNull() ? placeholder() : cover);
    }

private:
    const QPixmap& placeholder() const {
        if (m_placeholder.size() != m_thumbnails.size()) {
            m_placeholder = QPixmap(m_thumbnails.size());
            m_placeholder.fill(QColor(0xe4, 0xe4, 0xe4));
            QPainter painter(&m_placeholder);
            painter.setPen(QColor(0xb0, 0xb0, 0xb0));
            painter.drawRect(m_placeholder.rect().adjusted(0, 0, -1, -1));
        }
        return m_placeholder;
    }

    CoverThumbnails& m_thumbnails;
    mutable QPixmap m_placeholder;
};

} // namespace

CoverView::CoverView(ListView& list, CoverThumbnails& thumbnails) : QListView(&list), m_list(list) {
    setObjectName(QStringLiteral("CoverView"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setWordWrap(true);
    setSpacing(kSpacing / 2);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new CoverDelegate(thumbnails, this));
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
