#include "mainwindow/find/list_finder.h"

#include "desktop/pointer_feedback.h"
#include "mainwindow/find/find_bar.h"
#include "mainwindow/list_view.h"
#include "mainwindow/window_context.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QShortcut>
#include <algorithm>

namespace {
const QString kFindEntry = QStringLiteral("&Find\u2026");
// Rows folded ahead at a time: a millisecond or two, short enough for a key
// pressed meanwhile not to wait.
constexpr int kFoldAheadRows = 4000;
} // namespace

ListFinder::ListFinder(WindowContext& context)
    : WindowFeature(context, QStringLiteral("ListFinder")), m_list(context.list()) {
    ListView& list = m_list;
    QWidget* window = &context.window();
    m_bar = new FindBar(window);
    m_bar->hide();
    // The arrow over the bar, as over the list.
    (new PointerFeedback(context.pointer(), *window))->arrow(*m_bar);
    // In the tab order the text comes right after the list; hidden, it is skipped.
    QWidget::setTabOrder(&list, &m_bar->field());

    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &ListFinder::close);

    m_pass.setSingleShot(true);
    m_pass.setInterval(0);
    connect(&m_pass, &QTimer::timeout, this, &ListFinder::applyText);
    m_foldAhead.setInterval(0);
    connect(&m_foldAhead, &QTimer::timeout, this, [this] {
        if (!m_list.items().foldAhead(kFoldAheadRows)) {
            m_foldAhead.stop();
        }
    });
    m_readAhead.setSingleShot(true);
    m_readAhead.setInterval(0);
    connect(&m_readAhead, &QTimer::timeout, this,
            [this] { m_list.items().readExtrasNamed(m_text); });
    connect(m_bar, &FindBar::textChanged, this, &ListFinder::textChanged);
    connect(m_bar, &FindBar::listWanted, this, &ListFinder::goToList);

    const MovieListModel* model = &list.items();
    connect(model, &QAbstractItemModel::modelReset, this, &ListFinder::showCount);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_started) {
            m_foldAhead.start();
        }
    });
    connect(model, &QAbstractItemModel::layoutChanged, this, &ListFinder::showCount);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ListFinder::showCount);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ListFinder::showCount);
    list.installEventFilter(this);
    list.viewport()->installEventFilter(this);
    addEntry(
        kFindEntry, QKeySequence::Find, [this] { open(); }, BarMenu::Edit);
}

void ListFinder::start() {
    m_started = true;
    m_foldAhead.start();
}

bool ListFinder::isOpen() const {
    return !m_bar->isHidden();
}

void ListFinder::open() {
    if (!isOpen()) {
        m_area = m_list.geometry();
        m_bar->show();
        fitIntoArea();
        m_escape->setEnabled(true);
        showCount();
    }
    m_bar->field().setFocus(Qt::ShortcutFocusReason);
    m_bar->field().selectAll();
}

void ListFinder::close() {
    if (!isOpen()) {
        return;
    }
    m_pass.stop();
    {
        const QSignalBlocker quiet(m_bar);
        m_bar->field().clear();
    }
    m_text.clear();
    m_list.items().setFilterText(m_text);
    const bool hadFocus = m_bar->isAncestorOf(QApplication::focusWidget());
    m_escape->setEnabled(false);
    m_bar->hide();
    m_list.setGeometry(m_area);
    if (hadFocus) {
        m_list.setFocus(Qt::ShortcutFocusReason);
    }
}

void ListFinder::textChanged(const QString& text) {
    m_text = text;
    if (!m_pass.isActive()) {
        m_pass.start();
    }
}

void ListFinder::applyText() {
    m_list.items().setFilterText(m_text);
    m_readAheadDue = true;
    const QModelIndex current = m_list.currentIndex();
    if (current.isValid()) {
        m_list.scrollTo(current);
    }
    showCount();
}

void ListFinder::showCount() {
    if (isOpen()) {
        const MovieListModel& model = m_list.items();
        if (model.filterError().isEmpty()) {
            m_bar->setCount(model.itemCount(), model.totalCount());
        } else {
            m_bar->setError(model.filterError());
        }
    }
}

void ListFinder::fitIntoArea() {
    const int height = std::min(m_bar->sizeHint().height(), m_area.height());
    m_listRect = QRect(m_area.left(), m_area.top(), m_area.width(), m_area.height() - height);
    m_bar->setGeometry(m_area.left(), m_listRect.bottom() + 1, m_area.width(), height);
    m_list.setGeometry(m_listRect);
}

void ListFinder::goToList() {
    m_list.setFocus(Qt::OtherFocusReason);
    if (m_list.selectionModel()->selectedRows().isEmpty() && m_list.items().itemCount() > 0) {
        m_list.selectRow(0);
    }
}

void ListFinder::refit() {
    m_refitDue = false;
    if (isOpen() && m_list.geometry() != m_listRect) {
        m_area = m_list.geometry();
        fitIntoArea();
    }
}

bool ListFinder::eventFilter(QObject* watched, QEvent* event) {
    // Once the list shows what a key found, a column the text names
    // (`format:` before its value) is read, so the next key finds it read.
    if (watched == m_list.viewport() && event->type() == QEvent::Paint && m_readAheadDue) {
        m_readAheadDue = false;
        m_readAhead.start();
    }
    // The window placed the list anew while the bar is open (its layout
    // changed): that is the list's whole rectangle now. The bar takes its
    // share once the window has finished placing the list.
    const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Resize;
    if (watched == &m_list && placed && isOpen() && !m_refitDue &&
        m_list.geometry() != m_listRect) {
        m_refitDue = true;
        QMetaObject::invokeMethod(this, &ListFinder::refit, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
